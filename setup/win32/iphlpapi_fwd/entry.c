/* The forwarding libraries hold no code of their own: the loader resolves every export in the
   system's IP Helper, so the entry point only has to agree to be loaded. */
#include <windows.h>

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
