// Another program holding the answer log, as a parent's export or another copy of the program does:
// "reader" reads inside an open transaction (SQLite's shared lock: writers cannot commit), "writer" holds
// the log for writing (its exclusive lock: nobody else may read or write). Prints "held" once it holds the
// log, and lets go when its standard input closes.

#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>
#ifdef _WIN32
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>
#endif

namespace {

// The log's path in UTF-8, as SQLite takes it. Windows hands main() its arguments in the ANSI code page,
// which cannot hold the log's Japanese name: there the path is taken from the wide command line.
std::string logPathArgument(char** argv) {
#ifdef _WIN32
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string path;
    if (wide && count > 1) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[1], -1, nullptr, 0, nullptr, nullptr);
        path.resize(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0));
        WideCharToMultiByte(CP_UTF8, 0, wide[1], -1, path.data(), bytes, nullptr, nullptr);
    }
    LocalFree(wide);
    return path;
#else
    return argv[1];
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(logPathArgument(argv).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", db ? sqlite3_errmsg(db) : "cannot open");
        return 1;
    }
    const bool reader = std::strcmp(argv[2], "reader") == 0;
    const char* hold = reader ? "BEGIN; SELECT count(*) FROM answers;" : "BEGIN EXCLUSIVE;";
    if (sqlite3_exec(db, hold, nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}
