#include "tool_support.h"

#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "startup/configuration.h"

#include <QDir>
#include <QFileInfo>
#include <QTime>

namespace warizan::tool {

QDateTime ToolClock::now() const {
    QDateTime current = m_system.now();
    if (m_today)
        current.setDate(*m_today);
    if (m_time)
        current.setTime(*m_time);
    return current;
}

void ConsoleDialogs::showMessage(const QString& title, const QString& text, Icon) {
    err() << title << ": " << text << Qt::endl;
}

ToolContext::ToolContext()
    : state(std::make_unique<ProgramState>())
    , context{*state, clock, dialogs, sound, starter, random} {}

QTextStream& out() {
    static QTextStream stream(stdout);
    stream.setEncoding(QStringConverter::Utf8);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    stream.setEncoding(QStringConverter::Utf8);
    return stream;
}

bool loadConfiguration(const CommandLine& line, ToolContext& tool) {
    QString folder = QDir::cleanPath(QFileInfo(line.value(programFolderOption().name)).absoluteFilePath());
    folder = QDir::toNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    ConfigurationError error;
    if (!StartUpConfiguration(*tool.state, folder, &error, &tool.sources)) {
        err() << error.message << Qt::endl;
        return false;
    }
    return true;
}

QString gradeFilterOption(const CommandLine& line) {
    return line.has(QStringLiteral("filter")) ? line.value(QStringLiteral("filter"))
                                              : QStringLiteral("全学年");
}

void applyDateOptions(const CommandLine& line, ToolClock& clock) {
    if (line.has(QStringLiteral("today")))
        clock.setToday(QDate::fromString(line.value(QStringLiteral("today")), Qt::ISODate));
    if (line.has(QStringLiteral("now")))
        clock.setTime(QTime::fromString(line.value(QStringLiteral("now")), QStringLiteral("HH:mm:ss")));
}

bool recoverRoster(const Configuration& config) {
    RosterFileError error;
    if (名簿ファイル処理(config, &error) != RosterRecovery::Failed)
        return true;
    err() << rosterFailureText(rosterPath(config), error, kRosterStageOpen) << Qt::endl;
    return false;
}

void sayRosterWait(const RosterWait& wait) {
    err() << QStringLiteral("名簿を読めません（%1）: %2\n%3 秒待って、もう一度読みます（%4 回目）。")
                 .arg(wait.path, wait.reason)
                 .arg(wait.waitMs / 1000)
                 .arg(wait.failures)
          << Qt::endl;
}

QString rosterNameOf(const Configuration& config, int pupil) {
    std::vector<RosterEntry> entries;
    TextEncoding encoding;
    RosterFileError error;
    if (readRosterFile(rosterPath(config), &entries, &encoding, &error))
        for (const RosterEntry& e : entries)
            if (e.number == pupil)
                return e.name.trimmed();
    return {};
}

void seedRandom(const CommandLine& line, ToolContext& tool) {
    tool.random.seed(line.has(QStringLiteral("seed"))
                         ? line.value(QStringLiteral("seed")).toULongLong()
                         : static_cast<quint64>(QTime::currentTime().msecsSinceStartOfDay()));
}

} // namespace warizan::tool
