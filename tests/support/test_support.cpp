#include "test_support.h"

#include "system_files.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace warizan::test {

bool finishedWithin(QProcess& process, int ms) {
    return process.state() == QProcess::NotRunning || process.waitForFinished(ms);
}

void writeTextFile(const QString& path, const QString& text, TextEncoding encoding) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(encodeText(crlf, encoding));
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

SoundDevice::Outcome ScriptedSoundDevice::play(const QString& path) {
    played.append(path);
    if (whilePlaying)
        whilePlaying(path);
    if (script.empty())
        return {true, {}};
    Outcome next = script.front();
    script.pop_front();
    return next;
}

void ScriptedSoundDevice::failNext(const QString& errorText, int times) {
    for (int i = 0; i < times; ++i)
        script.push_back({false, errorText});
}

TempSuite::TempSuite(int layoutMode)
    : m_layoutMode(layoutMode) {
    QDir(root()).mkpath(QStringLiteral("drill"));
    if (layoutMode == 1)
        QDir(root()).mkpath(QStringLiteral("files"));
    else
        QDir(root()).mkpath(QStringLiteral("音フォルダ"));
    writeSettings(QStringLiteral("%1,0,0,0,0,0,0,0,0,0\n").arg(layoutMode));
    writeCommon(QStringLiteral("4,\"12345テスト家\",0,0,0,0,0,0,0,0\n"));
    writeDefaultLevelTable();
    writeSoundTable(QStringLiteral("正解音2\nseikai1\nseikai2\n*\n間違い音2\nmachigai1\n*\n"
                                   "自己最高音2\njiko1\n*\n不合格音1\nfugoukaku1\n*\n"));
}

QString TempSuite::programFolder() const {
    return root() + QStringLiteral("/drill");
}
QString TempSuite::commonFolder() const {
    return m_layoutMode == 1 ? root() + QStringLiteral("/files/") : root() + u'/';
}
QString TempSuite::programDataFolder() const {
    return programFolder() + u'/';
}
QString TempSuite::soundFolder() const {
    return m_layoutMode == 1 ? root() + QStringLiteral("/files/") : root() + QStringLiteral("/音フォルダ/");
}

void TempSuite::writeSettings(const QString& text) {
    writeTextFile(programFolder() + QStringLiteral("/設定.txt"), text);
}
void TempSuite::writeCommon(const QString& text) {
    writeTextFile(commonFolder() + QStringLiteral("共通データ.txt"), text);
}
void TempSuite::writeDefaultLevelTable() {
    QString text;
    for (int level = 0; level <= 4; ++level)
        text += QStringLiteral("%1,%2,100,10,1,0,0,7,30,0,0,0\n").arg(60 * (level + 1)).arg(90 * (level + 1));
    writeLevelTable(text);
}
void TempSuite::writeLevelTable(const QString& text) {
    writeTextFile(programDataFolder() + QStringLiteral("タイム回数データ.txt"), text);
}
void TempSuite::writeSoundTable(const QString& text) {
    writeTextFile(soundFolder() + QStringLiteral("新音ファイル.txt"), text);
}
void TempSuite::writeRoster(const QString& text, TextEncoding encoding) {
    writeTextFile(commonFolder() + QStringLiteral("生徒用名簿.txt"), text, encoding);
}

TestContext::TestContext()
    : state(std::make_unique<ProgramState>())
    , context{*state, clock, dialogs, sound, starter, random} {}

namespace {

bool runQuietly(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QString fillerPath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("filler"));
}

} // namespace

SmallDisk::SmallDisk(const QString& folder)
    : m_folder(folder) {
    m_mounted = runningAsSuperUser() &&
                runQuietly(QStringLiteral("mount"),
                           {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=64k"), QStringLiteral("tmpfs"), m_folder});
}

SmallDisk::~SmallDisk() {
    if (m_mounted)
        runQuietly(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
}

bool SmallDisk::setReadOnly(bool readOnly) {
    return runQuietly(QStringLiteral("mount"),
                      {QStringLiteral("-o"),
                       readOnly ? QStringLiteral("remount,ro") : QStringLiteral("remount,rw"), m_folder});
}

void SmallDisk::fill() {
    QFile filler(fillerPath(m_folder));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
}

bool SmallDisk::empty() {
    return QFile::remove(fillerPath(m_folder));
}

} // namespace warizan::test
