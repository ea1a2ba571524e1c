#pragma once
// Procedures that catch their own unexpected failures report them by number and description,
// with the numbers the program has always used (6 Overflow, 7 Out of memory, 9 Subscript out of
// range, 13 Type mismatch).
#include <cstdint>
#include <exception>
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

inline constexpr int32_t kErrInvalidCall = 5;
inline constexpr int32_t kErrOverflow = 6;
inline constexpr int32_t kErrOutOfMemory = 7;
inline constexpr int32_t kErrSubscript = 9;
inline constexpr int32_t kErrTypeMismatch = 13;
inline constexpr int32_t kErrInternal = 51;

struct InternalError {
    int32_t number;
    std::string description;
};

// A failure's number and description, the same wherever it is caught: a system error and a
// NumberedError keep their own, other failures get the number of their kind, and a failure of no
// known kind is `otherwise`. The description lives as long as the failure does.
struct FailureKind {
    int32_t number;
    const char* description;
};
FailureKind KindOf(const std::exception_ptr& failure, FailureKind otherwise) noexcept;

// Call only inside a catch block: describes the exception being handled.
InternalError CurrentInternalError();

} // namespace ww
