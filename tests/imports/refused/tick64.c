/* Imports GetTickCount64, which Windows before Vista lacks: the import check must refuse it. */
#include <windows.h>

__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);

int main(void) {
    return (int)(GetTickCount64() & 1);
}
