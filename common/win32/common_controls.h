#pragma once
#include <windows.h>

namespace corvane {

// Registers the common-control classes a program asks for (ICC_* flags) before its first window.
// The common controls of version 4.70 and later take the classes they should register; those
// before 6 may refuse a flag they do not know (ICC_STANDARD_CLASSES), so ICC_WIN95_CLASSES alone
// is asked next; a bare NT 4 has only the older call, which registers them all.
void InitCommonControlClasses(DWORD classes);

} // namespace corvane
