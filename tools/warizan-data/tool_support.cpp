#include "tool_support.h"

#include "roster/roster_file.h"

#include "app/configuration.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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

bool loadConfiguration(const CommandLine& line, ProgramState& state, StartUpSources* sources) {
    QString folder = QDir::cleanPath(QFileInfo(line.value(programFolderOption().name)).absoluteFilePath());
    folder = QDir::toNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    ConfigurationError error;
    if (!StartUpConfiguration(state, folder, &error, sources)) {
        err() << error.message << Qt::endl;
        return false;
    }
    return true;
}

bool applyDateOptions(const CommandLine& line, ToolClock& clock) {
    if (line.has(QStringLiteral("today"))) {
        const QDate date = QDate::fromString(line.value(QStringLiteral("today")), Qt::ISODate);
        // Records dated before the score files' first day are passed over by every reader.
        if (!date.isValid() || date < QDate(1899, 12, 30)) {
            err() << QStringLiteral("--today は 1899-12-30 以降の日付を YYYY-MM-DD の形で指定してください")
                  << Qt::endl;
            return false;
        }
        clock.setToday(date);
    }
    if (line.has(QStringLiteral("now"))) {
        // Exactly HH:MM:SS within one day: the ISO form would also take "24:00:00" and fractions.
        static const QRegularExpression form(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
        const QString text = line.value(QStringLiteral("now"));
        const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
        if (!form.match(text).hasMatch() || !time.isValid()) {
            err() << QStringLiteral("--now は HH:MM:SS の形で指定してください") << Qt::endl;
            return false;
        }
        clock.setTime(time);
    }
    return true;
}

std::optional<int> intOption(const CommandLine& line, const QString& name, int low, int high) {
    bool ok = false;
    const int value = line.value(name).toInt(&ok);
    if (!line.has(name) || !ok || value < low || value > high) {
        err() << QStringLiteral("--%1 には %2 から %3 までの整数を指定してください")
                     .arg(name)
                     .arg(low)
                     .arg(high)
              << Qt::endl;
        return std::nullopt;
    }
    return value;
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

} // namespace warizan::tool
