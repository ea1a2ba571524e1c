#pragma once
// What the connection monitor sees of a lamp: its fill colour and its caption.
#include <cstdint>
#include <string>

namespace gk {

// OLE colour: 0x00BBGGRR, or with the top bit set a system colour (0x8000000F is the button face).
using OleColor = uint32_t;

class Lamp {
  public:
    virtual OleColor FillColor() const = 0;
    virtual void SetFillColor(OleColor color) = 0; // repaints
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0; // repaints

  protected:
    ~Lamp() = default;
};

} // namespace gk
