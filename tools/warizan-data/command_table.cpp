#include "command.h"

namespace warizan::tool {

// The tool's commands, in the order the help lists them.
//
// To add a command: write <name>_command.cpp in this folder (CMake picks up every source here) that
// defines `const Command& <name>Command()` returning a static Command (see config_command.cpp), add its
// line below, and its row to the README's table of the data tool (a test compares the two).
#define WARIZAN_DATA_COMMANDS(COMMAND)                                                                       \
    COMMAND(config)                                                                                          \
    COMMAND(figures)                                                                                         \
    COMMAND(pupils)                                                                                          \
    COMMAND(append)                                                                                          \
    COMMAND(export)                                                                                          \
    COMMAND(check)                                                                                           \
    COMMAND(ranking)                                                                                         \
    COMMAND(list)                                                                                            \
    COMMAND(worksheet)                                                                                       \
    COMMAND(facts)                                                                                           \
    COMMAND(report)

#define WARIZAN_DECLARE_COMMAND(name) const Command& name##Command();
WARIZAN_DATA_COMMANDS(WARIZAN_DECLARE_COMMAND)
#undef WARIZAN_DECLARE_COMMAND

const std::vector<const Command*>& commandTable() {
#define WARIZAN_LIST_COMMAND(name) &name##Command(),
    static const std::vector<const Command*> table{WARIZAN_DATA_COMMANDS(WARIZAN_LIST_COMMAND)};
#undef WARIZAN_LIST_COMMAND
    return table;
}

OptionSpec programFolderOption() {
    return {QStringLiteral("program-folder"), QStringLiteral("DIR"),
            QStringLiteral("プログラムと 設定.txt のあるフォルダ"), true};
}

OptionSpec todayOption() {
    return {QStringLiteral("today"), QStringLiteral("YYYY-MM-DD"),
            QStringLiteral("今日として使う日付（1899-12-30 以降。省略すると本当の今日）")};
}

OptionSpec nowOption() {
    return {QStringLiteral("now"), QStringLiteral("HH:MM:SS"),
            QStringLiteral("記録の時刻（00:00:00 から 23:59:59。省略すると今の時刻）")};
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
