// The planted DLL's positive control: a program that imports VERSION.dll,
// as kestrova.exe once did. Run beside the planted DLL, it must load it;
// otherwise the planted test would prove nothing.
#include <windows.h>

#include <cstdio>

int main() {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD ignored = 0;
    std::printf("version resource size: %lu\n",
                static_cast<unsigned long>(GetFileVersionInfoSizeW(self, &ignored)));
    return 0;
}
