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
    void aLockLeftBehindNeverBlocks_data();
    void aLockLeftBehindNeverBlocks();
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

void SingleInstanceTest::aLockLeftBehindNeverBlocks_data() {
    QTest::addColumn<QString>("left");
    // A copy killed with -9 (TerminateProcess on Windows) while it held the guard.
    QTest::newRow("killed copy") << u"kill"_qs;
    // A lock file naming a process that is running, as a pid handed out again after a killed copy or a
    // restart does (the id, program name and host of this test process, in the form lock files of
    // process ids take): no reason to refuse.
    QTest::newRow("file naming a running process") << u"pid"_qs;
    QTest::newRow("file with other bytes") << u"junk"_qs;
}

void SingleInstanceTest::aLockLeftBehindNeverBlocks() {
    QFETCH(QString, left);
    QTemporaryDir dir;
    const QString path = SingleInstance(dir.path()).lockPath();
    QFile::remove(path);
    if (left == u"kill") {
        QProcess first;
        QVERIFY(startHolder(first, dir.path(), "held"));
        first.kill();
        QVERIFY(test::finishedWithin(first, 10000));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (left == u"pid")
            file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                       QCoreApplication::applicationName().toUtf8() + '\n' +
                       QSysInfo::machineHostName().toUtf8() + "\n");
        else
            file.write(QByteArray(1, '\0') + "\xff garbage\n");
    }
    // The next copy starts, and the one after it is refused while it runs.
    QProcess next;
    QVERIFY(startHolder(next, dir.path(), "held"));
    QProcess another;
    QVERIFY(startHolder(another, dir.path(), "refused"));
    QVERIFY(test::finishedWithin(another, 10000));
    next.closeWriteChannel();
    QVERIFY(test::finishedWithin(next, 10000));
    QFile::remove(path);
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
