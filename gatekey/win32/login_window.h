#pragma once
// The login window: a plain Win32 window whose controls follow the layout table and whose events
// go to the login form's handlers.
#include <windows.h>

namespace gk::win32 {

// Creates the window, runs the load step, shows it and pumps messages until it closes.
int RunLoginWindow(HINSTANCE instance, int show);

} // namespace gk::win32
