// A copy of the program ending the kept drill (drill_end_fixture.h), stopped dead at one step of the drill's
// end as a power cut or a kill would stop it: the process leaves at once (_exit), nothing flushed or cleaned
// up. Arguments: the program folder, the list of kept runs, and the step ("kept", "scores", "log-begun",
// "inside-log-write", "log", "removed", or "none" to end normally). Exit code 42 when stopped, 0 when the
// drill's end went through, 1 when it failed.
//
// "inside-log-write" stops inside SQLite's commit of the answer log, at its first write to the database file:
// the journal is complete and the file part-written, as a kill in the middle of the write leaves them. A
// shim over SQLite's own file system layer sees that write.

#include "answers/kept_answers.h"
#include "drill_end_fixture.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

namespace {

bool stopAtNextDatabaseWrite = false;
sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs shimVfs;

// A file of the shim: the real file of SQLite's own layer behind it, and whether it is a database's.
struct ShimFile {
    sqlite3_file base;
    sqlite3_io_methods methods;
    sqlite3_file* real;
    bool database;
};

sqlite3_file* realOf(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

int shimWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    const int code = realOf(file)->pMethods->xWrite(realOf(file), data, amount, offset);
    if (stopAtNextDatabaseWrite && reinterpret_cast<ShimFile*>(file)->database)
        _exit(warizan::test::kStoppedExitCode);
    return code;
}

int shimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->database = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    const int code = realVfs->xOpen(realVfs, name, shim->real, flags, outFlags);
    if (!shim->real->pMethods) {
        shim->base.pMethods = nullptr;
        return code;
    }
    // Every method of the real file; only a write may stop the process.
    sqlite3_io_methods& m = shim->methods;
    m = *shim->real->pMethods;
    m.iVersion =
        1; // shared memory and memory mapping belong to write-ahead logging, which the log does not use
    m.xClose = [](sqlite3_file* f) { return realOf(f)->pMethods->xClose(realOf(f)); };
    m.xRead = [](sqlite3_file* f, void* d, int n, sqlite3_int64 o) {
        return realOf(f)->pMethods->xRead(realOf(f), d, n, o);
    };
    m.xWrite = shimWrite;
    m.xTruncate = [](sqlite3_file* f, sqlite3_int64 s) {
        return realOf(f)->pMethods->xTruncate(realOf(f), s);
    };
    m.xSync = [](sqlite3_file* f, int flags) { return realOf(f)->pMethods->xSync(realOf(f), flags); };
    m.xFileSize = [](sqlite3_file* f, sqlite3_int64* s) {
        return realOf(f)->pMethods->xFileSize(realOf(f), s);
    };
    m.xLock = [](sqlite3_file* f, int l) { return realOf(f)->pMethods->xLock(realOf(f), l); };
    m.xUnlock = [](sqlite3_file* f, int l) { return realOf(f)->pMethods->xUnlock(realOf(f), l); };
    m.xCheckReservedLock = [](sqlite3_file* f, int* r) {
        return realOf(f)->pMethods->xCheckReservedLock(realOf(f), r);
    };
    m.xFileControl = [](sqlite3_file* f, int op, void* a) {
        return realOf(f)->pMethods->xFileControl(realOf(f), op, a);
    };
    m.xSectorSize = [](sqlite3_file* f) { return realOf(f)->pMethods->xSectorSize(realOf(f)); };
    m.xDeviceCharacteristics = [](sqlite3_file* f) {
        return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
    };
    shim->base.pMethods = &m;
    return code;
}

void installShim() {
    realVfs = sqlite3_vfs_find(nullptr);
    shimVfs = *realVfs;
    shimVfs.zName = "stopping";
    shimVfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + realVfs->szOsFile;
    shimVfs.xOpen = shimOpen;
    sqlite3_vfs_register(&shimVfs, 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    using namespace warizan;
    const QString stopAt = args[3];
    const std::optional<DrillEndStep> step = test::drillEndStepNamed(stopAt);
    if (!step && stopAt != u"none")
        return 2;
    installShim();
    test::TestContext t;
    t.clock.setNow(test::kKeptDrillEnd);
    if (!test::startedOn(t, args[1], args[2], test::kKeptPupil, test::kKeptLevel, test::kKeptResult))
        return 2;
    const DrillEndProbe probe = [&](DrillEndStep reached) {
        if (!step || reached != *step)
            return;
        if (stopAt == u"inside-log-write")
            stopAtNextDatabaseWrite = true;
        else
            _exit(test::kStoppedExitCode);
    };
    const Configuration& config = t.state->config;
    const bool ended = recordDrillResult(t.context, test::kKeptLevel,
                                         answerLogPart(config, t.clock.now(), test::keptDrill()), probe);
    if (!ended || !t.dialogs.messages.empty()) {
        for (const auto& message : t.dialogs.messages)
            std::fprintf(stderr, "%s\n", qPrintable(message.text));
        return 1;
    }
    return 0;
}
