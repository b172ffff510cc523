#include "tool_support.h"

#include "roster/roster_display.h"
#include "roster/roster_file.h"

namespace warizan::tool {

namespace {

// Points today and in all, as the selection screen first shows the list.
constexpr int kDefaultMode = 1;

int run(const CommandLine& line) {
    int mode = kDefaultMode;
    if (line.has(QStringLiteral("mode"))) {
        const auto value = intOption(line, QStringLiteral("mode"), 0, 3);
        if (!value)
            return 2;
        mode = *value;
    }
    const QString filter =
        line.has(QStringLiteral("filter")) ? line.value(QStringLiteral("filter")) : QStringLiteral("全学年");
    if (!isGradeFilter(filter)) {
        err() << QStringLiteral("--filter には次のどれかを指定してください: %1")
                     .arg(gradeFilterNames().join(QStringLiteral("、")))
              << Qt::endl;
        return 2;
    }
    ToolContext tool;
    if (!applyDateOptions(line, tool.clock))
        return 2;
    if (!loadConfiguration(line, *tool.state))
        return 1;
    RosterFileError error;
    if (名簿ファイル処理(tool.state->config, &error) == RosterRecovery::Failed) {
        err() << rosterFailureText(rosterPath(tool.state->config), error, kRosterStageOpen) << Qt::endl;
        return 1;
    }
    PupilList list;
    if (!名簿表示(tool.context, mode, filter, &list, sayRosterWait))
        return 1;
    for (const QString& line : list.visible)
        out() << line << '\n';
    out().flush();
    return 0;
}

} // namespace

const Command& pupilsCommand() {
    static const Command command{
        QStringLiteral("pupils"),
        QStringLiteral("選ぶ画面の名前の一覧を、1行に1項目ずつ表示します"),
        QStringLiteral("成績ファイルがまだなければ空のファイルを作ります。"),
        {programFolderOption(),
         todayOption(),
         {QStringLiteral("mode"), QStringLiteral("0-3"),
          QStringLiteral("表示の種類: 0 今日と全部の回数、1 今日と全部のポイント、2 今日のポイントと回数、"
                         "3 全部のポイントと回数（省略すると 1）")},
         {QStringLiteral("filter"), QStringLiteral("GRADE"),
          QStringLiteral("全学年、小学生全体、中学生全体、小１〜小６、中１〜中３（省略すると 全学年）")}},
        run};
    return command;
}

} // namespace warizan::tool
