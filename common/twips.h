#pragma once
// Both windows are laid out in twips (1440 to the inch), as their forms were drawn, and placed in
// pixels at the screen's dots per inch.

namespace corvane {

struct TwipsRect {
    int left, top, width, height;
};

// Twips to pixels at the given dots per inch, rounded to the nearest pixel (halves away from
// zero, as MulDiv rounds).
int TwipsToPixels(int twips, int dpi);

} // namespace corvane
