#include "roster/roster_file.h"
#include "roster/roster_save.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

// A save of the roster killed at any instant must leave a roster that reads back whole: the old content or
// the new one, never a mixture, a cut-short file or none at all.
class RosterKilledSaveTest final : public QObject {
    Q_OBJECT
private slots:
    void killedSaveLeavesAWholeRoster();
};

namespace {

constexpr int kKills = 100;
// Entries beyond the editor's rows make each save long enough for the kills to land inside the writing.
constexpr int kExtraEntries = 400;

} // namespace

void RosterKilledSaveTest::killedSaveLeavesAWholeRoster() {
    TempSuite suite;
    QString text;
    for (int n = 1; n <= 3 + kExtraEntries; ++n)
        text += QStringLiteral("%1,2010,0,0,\"もとのなまえ%1\",0,\"よびのらん\",\"\"\n").arg(n);
    suite.writeRoster(text);
    const QString path = suite.commonFolder() + kRosterFileName;

    // How long one save takes here, so the kills can be spread over the whole of a save.
    QElapsedTimer clock;
    clock.start();
    RosterSaveError error;
    for (int i = 0; i < 3; ++i)
        QVERIFY2(saveRosterEdits(path, {}, &error), qPrintable(error.message));
    const qint64 saveNs = std::max<qint64>(clock.nsecsElapsed() / 3, 1000);

    // The seed is printed so a failure can be repeated.
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u, one save about %lld microseconds", seed, saveNs / 1000);
    QRandomGenerator random(seed);
    int savesSeen = 0;
    QMap<QChar, int> found; // which content each kill left: the first one, an "A" save or a "B" save
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess child;
        child.start(QStringLiteral(SAVE_CHILD), {path});
        QVERIFY(child.waitForStarted(10000));
        // Let one or two saves begin, then kill at a random instant of up to two saves' length, so the
        // kills fall at every point of a save: while the roster is read, the temporary file written or
        // flushed, or the rename done.
        const int saves = random.bounded(1, 3);
        QByteArray out;
        while (out.count('\n') < saves && child.waitForReadyRead(10000))
            out += child.readAllStandardOutput();
        QVERIFY2(out.count('\n') >= saves, child.readAllStandardError().constData());
        savesSeen += int(out.count('\n'));
        const qint64 killAt = clock.nsecsElapsed() + qint64(random.bounded(double(2 * saveNs)));
        while (clock.nsecsElapsed() < killAt) {
        }
        child.kill();
        child.waitForFinished(10000);
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        std::vector<RosterEntry> entries;
        RosterFileError error;
        QVERIFY2(readRosterFile(path, &entries, nullptr, &error), qPrintable(error.description));
        QCOMPARE(entries.size(), size_t(3 + kExtraEntries));
        const QChar round = entries[0].name.front();
        QVERIFY(round == u'A' || round == u'B' || round == u'も');
        ++found[round];
        for (int row = 0; row < 3; ++row) {
            const QString expected = round == u'も'
                                         ? QStringLiteral("もとのなまえ%1").arg(row + 1)
                                         : QString(round) + QStringLiteral("なまえ%1").arg(row + 1);
            QCOMPARE(entries[size_t(row)].name.trimmed(), expected);
        }
        const RosterEntry& last = entries.back();
        QCOMPARE(last.number, 3 + kExtraEntries);
        QCOMPARE(last.name.trimmed(), QStringLiteral("もとのなまえ%1").arg(3 + kExtraEntries));
        QCOMPARE(last.reserved7.trimmed(), QStringLiteral("よびのらん"));
    }
    QVERIFY(savesSeen >= kKills);
    qInfo("rosters left: %d first, %d A, %d B", found.value(u'も'), found.value(u'A'), found.value(u'B'));
}

QTEST_GUILESS_MAIN(RosterKilledSaveTest)
#include "tst_roster_killed_save.moc"
