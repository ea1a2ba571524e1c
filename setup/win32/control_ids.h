#pragma once
// Child-window identifiers of the setup window. Automation finds the controls by these numbers.
namespace ww::ids {

inline constexpr int kLabel2 = 101;
inline constexpr int kCboNic = 102;
inline constexpr int kChkConnected = 103;
inline constexpr int kCmdWrite = 104;
inline constexpr int kCmdToggle = 105;
inline constexpr int kFrame1 = 106;
inline constexpr int kChkGates = 107;
inline constexpr int kChkIEAuto = 108;

} // namespace ww::ids
