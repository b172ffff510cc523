// The level menu's lists on the command line: the family's ranking of one level, and the lists of runs,
// line for line as the menu shows them.

#include "menu_figures.h"
#include "tool_support.h"

#include "lists/list_text.h"
#include "lists/rankings.h"
#include "lists/score_lists.h"
#include "roster/pupil_list.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "state/content_levels.h"

namespace warizan::tool {

namespace {

const QString kTimeModeWord = QStringLiteral("time");
const QString kPointsModeWord = QStringLiteral("points");

// The working pupil when --pupil is left out: a number no record or roster entry holds, so that nobody is
// marked, not even the runs filed under pupil 0.
constexpr qint16 kNobodyWorking = -1;

void markNobodyUnlessAsked(const CommandLine& line, ProgramState& state) {
    if (!line.has(QStringLiteral("pupil")))
        state.pupil.currentPupil = kNobodyWorking;
}

// The display mode a --mode word names; `fallback` when it is left out.
int displayMode(const CommandLine& line, int fallback) {
    if (!line.has(QStringLiteral("mode")))
        return fallback;
    return line.value(QStringLiteral("mode")) == kPointsModeWord ? kPointsMode : kTimesMode;
}

QString checkModeWord(const QString&, const QString& value) {
    return value == kTimeModeWord || value == kPointsModeWord
               ? QString()
               : QStringLiteral("--mode には time か points を指定してください");
}

int runRanking(const CommandLine& line, ToolContext& tool) {
    markNobodyUnlessAsked(line, *tool.state);
    RankingChoice choice;
    choice.gradeFilter = gradeFilterOption(line);
    choice.displayMode = displayMode(line, kTimesMode);
    choice.pointsOrder = line.number(QStringLiteral("order"), kByPointsSoFar);
    for (const QString& text : rankingLines(*tool.state, line.number(QStringLiteral("level")), choice))
        out() << text << '\n';
    out().flush();
    return 0;
}

// The list's kind, and the pupil whose own times the personal list shows.
bool checkListKind(const CommandLine& line) {
    const QString kind = line.argument();
    if (kind != u"today" && kind != u"period" && kind != u"personal") {
        err() << QStringLiteral("一覧の種類は today、period、personal のどれかです: %1").arg(kind)
              << Qt::endl;
        return false;
    }
    if (kind == u"personal" && !line.has(QStringLiteral("pupil"))) {
        err() << QStringLiteral("personal には --pupil を指定してください") << Qt::endl;
        return false;
    }
    return true;
}

int runList(const CommandLine& line, ToolContext& tool) {
    markNobodyUnlessAsked(line, *tool.state);
    ScoreListChoice choice;
    const QString kind = line.argument();
    choice.kind = kind == u"today"    ? ScoreListKind::Today
                  : kind == u"period" ? ScoreListKind::Period
                                      : ScoreListKind::Personal;
    choice.period = line.number(QStringLiteral("period"), choice.period);
    choice.gradeFilter = gradeFilterOption(line);
    choice.displayMode = displayMode(line, kTimesMode);
    choice.today = tool.clock.today();
    const ScoreLists lists = buildScoreLists(*tool.state, choice);
    if (!lists.error.isEmpty()) {
        err() << lists.error << Qt::endl;
        return 1;
    }
    for (size_t level = 1; level < lists.byLevel.size(); ++level)
        for (const QString& text : lists.byLevel[level])
            out() << level << '\t' << text << '\n';
    out().flush();
    return 0;
}

} // namespace

const Command& rankingCommand() {
    static const Command command{
        .name = QStringLiteral("ranking"),
        .summary = QStringLiteral("レベル選びの画面の、1つのレベルの順位表を1行ずつ表示します"),
        .details = QStringLiteral("名前の並びは名簿の順、成績は --today の日の時点で数えます。"),
        .options = {programFolderOption(),
                    {QStringLiteral("level"), QStringLiteral("L"), QStringLiteral("レベルの番号（1〜4）"),
                     true, wholeNumber(1, kContentLevelCount)},
                    {QStringLiteral("mode"), QStringLiteral("time|points"),
                     QStringLiteral("time 最高タイムの順、points ポイントの順"), true, checkModeWord},
                    {QStringLiteral("order"), QStringLiteral("1|2"),
                     QStringLiteral("ポイントの順の種類: 1 今までの合計、2 今日の合計（省略すると 1）"),
                     false, wholeNumber(1, 2)},
                    filterOption(),
                    pupilOption(
                        QStringLiteral("●を付ける、いま使っている人の番号（省略するとだれにも付けません）")),
                    todayOption()},
        .needs = Needs::MenuFigures,
        .run = runRanking};
    return command;
}

const Command& listCommand() {
    static const Command command{
        .name = QStringLiteral("list"),
        .summary =
            QStringLiteral("今日の成績・期間の成績・個人別タイムの一覧を「レベル<TAB>行」で表示します"),
        .details =
            QStringLiteral("today は最後の1000件、period と personal は最後の20000件の記録から作ります。"),
        .options = {programFolderOption(),
                    {QStringLiteral("mode"), QStringLiteral("time|points"),
                     QStringLiteral(
                         "period の行の形: time タイムを先に、points ポイントを先に（省略すると time）"),
                     false, checkModeWord},
                    {QStringLiteral("period"), QStringLiteral("1-5"),
                     QStringLiteral("期間: 1 今週、2 今週と先週、3 30日、4 1年、5 10年（省略すると 5）"),
                     false, wholeNumber(1, 5)},
                    pupilOption(QStringLiteral(
                        "いま使っている人の番号: ●の印と personal の一覧の人（personal では必須）")),
                    filterOption(),
                    todayOption()},
        .needs = Needs::MenuFigures,
        .run = runList,
        .argument = QStringLiteral("today|period|personal"),
        .checkTogether = checkListKind};
    return command;
}

} // namespace warizan::tool
