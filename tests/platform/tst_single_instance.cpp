#include "platform/single_instance.h"
#include "test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace warizan;

// Two copies of the program are two processes: the guard is tested with a real second process.
class SingleInstanceTest final : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefusedWhileFirstRuns();
    void lockOfAKilledCopyIsTakenOver();
    void otherProgramFoldersDoNotInterfere();

private:
    static bool startHolder(QProcess& process, const QString& folder, const QByteArray& expected);
};

bool SingleInstanceTest::startHolder(QProcess& process, const QString& folder, const QByteArray& expected) {
    process.start(QStringLiteral(SINGLE_INSTANCE_CHILD), {folder});
    if (!process.waitForStarted(10000) || !process.waitForReadyRead(10000))
        return false;
    return process.readLine().trimmed() == expected;
}

void SingleInstanceTest::secondCopyIsRefusedWhileFirstRuns() {
    QTemporaryDir dir;
    QProcess first;
    QVERIFY(startHolder(first, dir.path(), "held"));

    SingleInstance here(dir.path());
    QVERIFY(!here.acquire());
    QProcess second;
    QVERIFY(startHolder(second, dir.path(), "refused"));
    QVERIFY(test::finishedWithin(second, 10000));
    QCOMPARE(second.exitCode(), 1);

    first.closeWriteChannel();
    QVERIFY(test::finishedWithin(first, 10000));
    QVERIFY(here.acquire());
}

void SingleInstanceTest::lockOfAKilledCopyIsTakenOver() {
    QTemporaryDir dir;
    QProcess first;
    QVERIFY(startHolder(first, dir.path(), "held"));
    first.kill();
    QVERIFY(test::finishedWithin(first, 10000));
    SingleInstance here(dir.path());
    QVERIFY(here.acquire());
}

void SingleInstanceTest::otherProgramFoldersDoNotInterfere() {
    QTemporaryDir a, b;
    SingleInstance first(a.path());
    QVERIFY(first.acquire());
    SingleInstance other(b.path());
    QVERIFY(other.acquire());
    QVERIFY(first.lockPath() != other.lockPath());
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
