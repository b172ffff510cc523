// Another copy of the program in the middle of an append, as far as the score loader can tell: takes the
// exclusive whole-file lock a writer takes on the file given, prints "locked", and keeps the lock until its
// standard input closes or the timeout (seconds) runs out, so a test that goes wrong cannot hang. The
// Windows twin of lock_holder.cpp, with the system's own calls rather than the program's code.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <windows.h>

// After windows.h, whose types it uses.
#include <shellapi.h>

int main() {
    // The wide command line: the path may hold Japanese, which the narrow arguments could not carry.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 3)
        return 2;
    const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED whole{};
    if (file == INVALID_HANDLE_VALUE ||
        !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
        return 3;
    std::puts("locked");
    std::fflush(stdout);
    // Standard input is read on a thread of its own: a pipe on Windows cannot be waited on with a timeout.
    std::atomic<bool> closed = false;
    std::thread([&closed] {
        char buffer[64];
        while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
        }
        closed = true;
    }).detach();
    for (int waited = 0; !closed && waited < _wtoi(argv[2]) * 1000; waited += 20)
        Sleep(20);
    UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(file);
    std::fflush(stdout);
    std::_Exit(0); // the reading thread may still be blocked
}
