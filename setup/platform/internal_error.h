#pragma once
// Procedures that catch their own unexpected failures report them by number and description,
// with the numbers the program has always used (6 Overflow, 7 Out of memory, 13 Type mismatch).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ww {

// An internal failure that carries its own number.
class NumberedError : public std::runtime_error {
  public:
    NumberedError(int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int32_t number() const { return number_; }

  private:
    int32_t number_;
};

inline constexpr int32_t kErrOverflow = 6;
inline constexpr int32_t kErrOutOfMemory = 7;
inline constexpr int32_t kErrTypeMismatch = 13;
inline constexpr int32_t kErrInternal = 51;

struct InternalError {
    int32_t number;
    std::string description;
};

// Call only inside a catch block: describes the exception being handled.
InternalError CurrentInternalError();

} // namespace ww
