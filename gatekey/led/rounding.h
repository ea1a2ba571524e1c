#pragma once
// The lamp's layout rounds halves to the even neighbour, whatever the FPU's rounding mode is.
#include <cmath>
#include <cstdint>

namespace gk {

inline int32_t RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5) {
        result = floor + 1;
    } else if (fraction == 0.5) {
        result = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
    }
    return static_cast<int32_t>(result);
}

} // namespace gk
