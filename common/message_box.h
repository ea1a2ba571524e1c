#pragma once
// MessageBoxA styles and answers by their Win32 numbers, for code that is built without
// <windows.h> as well.
#include <cstdint>

namespace corvane {

inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbYesNo = 0x4;
inline constexpr uint32_t kMbIconHand = 0x10;
inline constexpr uint32_t kMbIconQuestion = 0x20;
inline constexpr uint32_t kMbIconExclamation = 0x30;
inline constexpr uint32_t kMbIconAsterisk = 0x40;
inline constexpr uint32_t kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

} // namespace corvane
