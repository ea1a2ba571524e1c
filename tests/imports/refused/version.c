/* Imports version.dll, which the loader would look for beside the program first: the import
   check must refuse it. */
#include <windows.h>

int main(void) {
    DWORD ignored = 0;
    return (int)GetFileVersionInfoSizeA("refused.exe", &ignored);
}
