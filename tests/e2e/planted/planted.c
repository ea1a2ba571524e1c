/* A library planted beside a program under the name of a system library (version.dll,
   icmp.dll...), as a file in the user's Downloads folder could be. Loaded, it adds its own path
   as a line to C:\e2e\planted.log, so that a case can tell that the program loaded it. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH + 2];
    DWORD length, written;
    HANDLE log;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    length = GetModuleFileNameA(instance, path, MAX_PATH);
    path[length] = '\r';
    path[length + 1] = '\n';
    log = CreateFileA("C:\\e2e\\planted.log", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log != INVALID_HANDLE_VALUE) {
        SetFilePointer(log, 0, NULL, FILE_END);
        WriteFile(log, path, length + 2, &written, NULL);
        CloseHandle(log);
    }
    return TRUE;
}
