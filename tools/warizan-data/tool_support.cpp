#include "tool_support.h"

#include "app/configuration.h"

#include <QDir>
#include <QFileInfo>

namespace warizan::tool {

std::optional<Options> Options::parse(const QStringList& args, const QStringList& known, QString* error) {
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!arg.startsWith(QStringLiteral("--")) || !known.contains(arg.mid(2))) {
            *error = QStringLiteral("知らないオプションです: %1").arg(arg);
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("%1 に値がありません").arg(arg);
            return std::nullopt;
        }
        options.m_values[arg.mid(2)] = args.at(++i);
    }
    return options;
}

std::optional<Options> parseOrComplain(const QStringList& args, const QStringList& known) {
    QString error;
    auto options = Options::parse(args, known, &error);
    if (!options)
        err() << error << Qt::endl;
    return options;
}

QString Options::value(const QString& name) const {
    const auto it = m_values.find(name);
    return it == m_values.end() ? QString() : it->second;
}

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

bool loadConfiguration(const Options& options, ProgramState& state) {
    if (!options.has(kProgramFolderOption)) {
        err() << QStringLiteral("--program-folder が必要です") << Qt::endl;
        return false;
    }
    QString folder = QDir::cleanPath(QFileInfo(options.value(kProgramFolderOption)).absoluteFilePath());
    folder = QDir::toNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    ConfigurationError error;
    if (!StartUpConfiguration(state, folder, &error)) {
        err() << error.message << Qt::endl;
        return false;
    }
    return true;
}

bool applyDateOptions(const Options& options, ToolClock& clock) {
    if (options.has(QStringLiteral("today"))) {
        const QDate date = QDate::fromString(options.value(QStringLiteral("today")), Qt::ISODate);
        if (!date.isValid()) {
            err() << QStringLiteral("--today は YYYY-MM-DD の形で指定してください") << Qt::endl;
            return false;
        }
        clock.setToday(date);
    }
    if (options.has(QStringLiteral("now"))) {
        const QTime time = QTime::fromString(options.value(QStringLiteral("now")), Qt::ISODate);
        if (!time.isValid()) {
            err() << QStringLiteral("--now は HH:MM:SS の形で指定してください") << Qt::endl;
            return false;
        }
        clock.setTime(time);
    }
    return true;
}

} // namespace warizan::tool
