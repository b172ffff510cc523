#include "startup/configuration.h"
#include "system_files.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace warizan;

// The suite launcher is started as a real separate process: a stub launcher records its arguments.
class LauncherTest final : public QObject {
    Q_OBJECT
private slots:
    void startsLauncherWith001();
    void missingLauncherIsHarmless();
};

void LauncherTest::startsLauncherWith001() {
    QTemporaryDir root;
    const QString programFolder = root.filePath(QStringLiteral("drill"));
    QDir().mkpath(programFolder);
    QDir().mkpath(root.filePath(QStringLiteral("起動")));
    const QString launcher = root.filePath(QStringLiteral("起動/ハコブネ"));
    const QString record = root.filePath(QStringLiteral("arguments.txt"));
    QFile script(launcher);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(record)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Configuration config;
    config.programFolder = programFolder;
    const QString sep = QDir::separator();
    QCOMPARE(launcherPath(programFolder), programFolder + sep + QStringLiteral("..") + sep +
                                              QStringLiteral("起動") + sep +
                                              executableFileName(QStringLiteral("ハコブネ")));
    if (const QString why = test::cannotRunScripts(); !why.isEmpty())
        QSKIP(qPrintable(why));
    SystemProcessStarter starter;
    QVERIFY(startLauncher(config, starter));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QCOMPARE(test::readBytes(record), QByteArray("1|001|"));
}

void LauncherTest::missingLauncherIsHarmless() {
    QTemporaryDir root;
    Configuration config;
    config.programFolder = root.filePath(QStringLiteral("drill"));
    SystemProcessStarter starter;
    QVERIFY(!startLauncher(config, starter));
}

QTEST_GUILESS_MAIN(LauncherTest)
#include "tst_launcher.moc"
