#include "command.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace warizan::tool {

// The tool's commands, in the order the help lists them.
//
// To add a command: write <name>_command.cpp in this folder (CMake picks up every source here) that
// defines `const Command& <name>Command()` returning a static Command (see config_command.cpp): its
// options with the checks of their values, what it needs loaded, and the function that runs on it. Then
// add its line below, and its row to the README's table of the data tool (a test compares the two).
#define WARIZAN_DATA_COMMANDS(COMMAND)                                                                       \
    COMMAND(config)                                                                                          \
    COMMAND(figures)                                                                                         \
    COMMAND(pupils)                                                                                          \
    COMMAND(append)                                                                                          \
    COMMAND(export)                                                                                          \
    COMMAND(import)                                                                                          \
    COMMAND(check)                                                                                           \
    COMMAND(ranking)                                                                                         \
    COMMAND(list)                                                                                            \
    COMMAND(worksheet)                                                                                       \
    COMMAND(facts)                                                                                           \
    COMMAND(practice)                                                                                        \
    COMMAND(report)                                                                                          \
    COMMAND(week)

#define WARIZAN_DECLARE_COMMAND(name) const Command& name##Command();
WARIZAN_DATA_COMMANDS(WARIZAN_DECLARE_COMMAND)
#undef WARIZAN_DECLARE_COMMAND

const std::vector<const Command*>& commandTable() {
#define WARIZAN_LIST_COMMAND(name) &name##Command(),
    static const std::vector<const Command*> table{WARIZAN_DATA_COMMANDS(WARIZAN_LIST_COMMAND)};
#undef WARIZAN_LIST_COMMAND
    return table;
}

ValueCheck wholeNumber(int low, int high) {
    return [low, high](const QString& name, const QString& value) {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (ok && number >= low && number <= high)
            return QString();
        return QStringLiteral("--%1 には %2 から %3 までの整数を指定してください")
            .arg(name)
            .arg(low)
            .arg(high);
    };
}

OptionSpec programFolderOption() {
    return {QStringLiteral("program-folder"), QStringLiteral("DIR"),
            QStringLiteral("プログラムと 設定.txt のあるフォルダ"), true};
}

OptionSpec todayOption() {
    return {QStringLiteral("today"), QStringLiteral("YYYY-MM-DD"),
            QStringLiteral("今日として使う日付（1899-12-30 以降。省略すると本当の今日）"), false,
            [](const QString&, const QString& value) {
                const QDate date = QDate::fromString(value, Qt::ISODate);
                // Records dated before the score files' first day are passed over by every reader.
                return date.isValid() && date >= QDate(1899, 12, 30)
                           ? QString()
                           : QStringLiteral(
                                 "--today は 1899-12-30 以降の日付を YYYY-MM-DD の形で指定してください");
            }};
}

OptionSpec nowOption() {
    return {QStringLiteral("now"), QStringLiteral("HH:MM:SS"),
            QStringLiteral("記録の時刻（00:00:00 から 23:59:59。省略すると今の時刻）"), false,
            [](const QString&, const QString& value) {
                // Exactly HH:MM:SS within one day: the ISO form would also take "24:00:00" and fractions.
                static const QRegularExpression form(
                    QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
                return form.match(value).hasMatch() &&
                               QTime::fromString(value, QStringLiteral("HH:mm:ss")).isValid()
                           ? QString()
                           : QStringLiteral("--now は HH:MM:SS の形で指定してください");
            }};
}

QString optionText(const OptionSpec& option) {
    return option.valueName.isEmpty() ? QStringLiteral("--%1").arg(option.name)
                                      : QStringLiteral("--%1 %2").arg(option.name, option.valueName);
}

QString synopsis(const Command& command) {
    QString text = command.name;
    if (!command.argument.isEmpty())
        text += u' ' + command.argument;
    for (const OptionSpec& o : command.options) {
        const QString option = optionText(o);
        text += o.required ? u' ' + option : QStringLiteral(" [%1]").arg(option);
    }
    return text;
}

} // namespace warizan::tool
