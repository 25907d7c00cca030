// Waiting on the user-interface thread without looking hung.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

// Waits until `handle` is signalled or GetTickCount64() reaches `deadline`;
// true when it was signalled. Meanwhile the thread's windows answer what
// other threads and processes send them and repaint, but take no input and
// no timer: see the definition for why.
bool WaitAnswering(HANDLE handle, ULONGLONG deadline);

}  // namespace kestrova::win32
