#include "tool_support.h"

#include "roster/roster_display.h"
#include "roster/roster_file.h"

namespace warizan::tool {

namespace {

// Points today and in all, as the selection screen first shows the list.
constexpr int kDefaultMode = 1;

int run(const CommandLine& line, ToolContext& tool) {
    if (!recoverRoster(tool.state->config))
        return 1;
    PupilList list;
    if (!名簿表示(tool.context, line.number(QStringLiteral("mode"), kDefaultMode), gradeFilterOption(line),
                  &list, sayRosterWait))
        return 1;
    for (const QString& line : list.visible)
        out() << line << '\n';
    out().flush();
    return 0;
}

} // namespace

const Command& pupilsCommand() {
    static const Command command{
        .name = QStringLiteral("pupils"),
        .summary = QStringLiteral("選ぶ画面の名前の一覧を、1行に1項目ずつ表示します"),
        .details = QStringLiteral("成績ファイルがまだなければ空のファイルを作ります。"),
        .options = {programFolderOption(),
                    todayOption(),
                    {QStringLiteral("mode"), QStringLiteral("0-3"),
                     QStringLiteral(
                         "表示の種類: 0 今日と全部の回数、1 今日と全部のポイント、2 今日のポイントと回数、"
                         "3 全部のポイントと回数（省略すると 1）"),
                     false, wholeNumber(0, 3)},
                    {QStringLiteral("filter"), QStringLiteral("GRADE"),
                     QStringLiteral(
                         "全学年、小学生全体、中学生全体、小１〜小６、中１〜中３（省略すると 全学年）"),
                     false,
                     [](const QString&, const QString& value) {
                         return isGradeFilter(value)
                                    ? QString()
                                    : QStringLiteral("--filter には次のどれかを指定してください: %1")
                                          .arg(gradeFilterNames().join(QStringLiteral("、")));
                     }}},
        .run = run};
    return command;
}

} // namespace warizan::tool
