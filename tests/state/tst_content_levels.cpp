#include "state/content_levels.h"

#include <QtTest>

using namespace warizan;

class ContentLevelsTest final : public QObject {
    Q_OBJECT
private slots:
    void fillsFourTimedLevels();
    void startsEmpty();
};

void ContentLevelsTest::fillsFourTimedLevels() {
    auto state = std::make_unique<ProgramState>();
    state->levels.levelGoal[2] = 120; // loaded at start-up; preparing must not touch it
    for (int round = 0; round < 2; ++round) {
        PrepareContent(state->levels);
        QCOMPARE(state->levels.levelCount, qint16(4));
        QCOMPARE(state->levels.goalLevel, 4);
        const QStringList names{"あまりなし", "あまりその１", "あまりその２", "あまりその３"};
        for (int level = 1; level <= 4; ++level) {
            QCOMPARE(state->levels.levelName[level], names[level - 1]);
            QCOMPARE(state->levels.levelKind[level], qint16(1));
        }
        QVERIFY(state->levels.levelName[0].isEmpty());
        QVERIFY(state->levels.levelName[5].isEmpty());
        QCOMPARE(state->levels.levelGoal[2], 120);
    }
}

void ContentLevelsTest::startsEmpty() {
    auto state = std::make_unique<ProgramState>();
    QCOMPARE(state->pupil.currentPupil, qint16(0));
    QVERIFY(state->pupil.currentPupilName.isEmpty());
    QCOMPARE(state->figures.bestResult.at(35, 5000), 0);
    state->figures.bestResult.at(35, 5000) = 7;
    QCOMPARE(state->figures.bestResult.levelRow(35)[5000], 7);
    QCOMPARE(state->figures.bestResult.levelRow(0)[35 * 5001 + 5000], 7); // slot = level x 5001 + pupil
}

QTEST_GUILESS_MAIN(ContentLevelsTest)
#include "tst_content_levels.moc"
