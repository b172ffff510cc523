// Another program holding the answer log, as a parent's export or another copy of the program does:
// "reader" reads inside an open transaction (SQLite's shared lock: writers cannot commit), "writer" holds
// the log for writing (its exclusive lock: nobody else may read or write). Prints "held" once it holds the
// log, and lets go when its standard input closes.

#include <cstdio>
#include <cstring>
#include <sqlite3.h>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
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
