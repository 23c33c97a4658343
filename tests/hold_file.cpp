// Test helper: holds a file open the way a running program holds its
// executable (reading, sharing reads only) until told to let go.
//
//   hold_file PATH READY-EVENT QUIT-EVENT
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE quit = ::OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (!ready || !quit) return 4;
    ::SetEvent(ready);
    ::WaitForSingleObject(quit, 60000);
    ::CloseHandle(file);
    return 0;
}
