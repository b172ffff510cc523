// Another copy of the program finishing drills: appends `runs` results for one pupil to the score files of
// the folders given, through the same routine a finished drill uses, with the real clock. The results are
// 1, 2, ... runs, so the test can tell every record apart. Exit code 0 when every append succeeded.

#include "records/score_file.h"
#include "test_support.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    warizan::test::TestContext t;
    warizan::SystemClock clock;
    warizan::AppContext context{*t.state, clock, t.dialogs, t.sound, t.starter, t.random};
    t.state->config.programDataFolder = args[1];
    t.state->config.commonFolder = args[2];
    t.state->config.programFolderName = QStringLiteral("drill");
    t.state->config.schoolCode = QStringLiteral("1学校");
    t.state->pupil.currentPupil = static_cast<qint16>(args[3].toInt());
    t.state->pupil.currentLevel = 2;
    const int runs = args[4].toInt();
    for (int i = 1; i <= runs; ++i) {
        t.state->drill.finalTime = i;
        if (!warizan::writeScoreRecords(context)) {
            std::fprintf(stderr, "%s\n", qPrintable(t.dialogs.messages.back().text));
            return 1;
        }
    }
    return 0;
}
