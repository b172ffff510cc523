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

const QString kTimeMode = QStringLiteral("time");
const QString kPointsModeWord = QStringLiteral("points");

// The working pupil when --pupil is left out: a number no record or roster entry holds, so that nobody is
// marked, not even the runs filed under pupil 0.
constexpr qint16 kNobodyWorking = -1;

void markNobodyUnlessAsked(const CommandLine& line, ProgramState& state) {
    if (!line.has(QStringLiteral("pupil")))
        state.pupil.currentPupil = kNobodyWorking;
}

std::optional<int> modeOption(const CommandLine& line, int fallback) {
    if (!line.has(QStringLiteral("mode")))
        return fallback;
    const QString mode = line.value(QStringLiteral("mode"));
    if (mode == kTimeMode)
        return kTimesMode;
    if (mode == kPointsModeWord)
        return kPointsMode;
    err() << QStringLiteral("--mode には time か points を指定してください") << Qt::endl;
    return std::nullopt;
}

int runRanking(const CommandLine& line) {
    const auto mode = modeOption(line, kTimesMode);
    if (!mode)
        return 2;
    int order = kByPointsSoFar;
    if (line.has(QStringLiteral("order"))) {
        const auto value = intOption(line, QStringLiteral("order"), 1, 2);
        if (!value)
            return 2;
        order = *value;
    }
    const auto level = intOption(line, QStringLiteral("level"), 1, kContentLevelCount);
    if (!level)
        return 2;
    ToolContext tool;
    RankingChoice choice;
    if (const auto code = prepareMenuFigures(line, tool, &choice.gradeFilter))
        return *code;
    markNobodyUnlessAsked(line, *tool.state);
    choice.displayMode = *mode;
    choice.pointsOrder = order;
    for (const QString& text : rankingLines(*tool.state, *level, choice))
        out() << text << '\n';
    out().flush();
    return 0;
}

int runList(const CommandLine& line) {
    ScoreListChoice choice;
    const QString kind = line.argument();
    if (kind == u"today") {
        choice.kind = ScoreListKind::Today;
    } else if (kind == u"period") {
        choice.kind = ScoreListKind::Period;
    } else if (kind == u"personal") {
        choice.kind = ScoreListKind::Personal;
        if (!line.has(QStringLiteral("pupil"))) {
            err() << QStringLiteral("personal には --pupil を指定してください") << Qt::endl;
            return 2;
        }
    } else {
        err() << QStringLiteral("一覧の種類は today、period、personal のどれかです: %1").arg(kind)
              << Qt::endl;
        return 2;
    }
    const auto mode = modeOption(line, kTimesMode);
    if (!mode)
        return 2;
    if (line.has(QStringLiteral("period"))) {
        const auto value = intOption(line, QStringLiteral("period"), 1, 5);
        if (!value)
            return 2;
        choice.period = *value;
    }
    ToolContext tool;
    if (const auto code = prepareMenuFigures(line, tool, &choice.gradeFilter))
        return *code;
    markNobodyUnlessAsked(line, *tool.state);
    choice.displayMode = *mode;
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
        QStringLiteral("ranking"),
        QStringLiteral("レベル選びの画面の、1つのレベルの順位表を1行ずつ表示します"),
        QStringLiteral("名前の並びは名簿の順、成績は --today の日の時点で数えます。"),
        {programFolderOption(),
         {QStringLiteral("level"), QStringLiteral("L"), QStringLiteral("レベルの番号（1〜4）"), true},
         {QStringLiteral("mode"), QStringLiteral("time|points"),
          QStringLiteral("time 最高タイムの順、points ポイントの順"), true},
         {QStringLiteral("order"), QStringLiteral("1|2"),
          QStringLiteral("ポイントの順の種類: 1 今までの合計、2 今日の合計（省略すると 1）")},
         filterOption(),
         pupilOption(QStringLiteral("●を付ける、いま使っている人の番号（省略するとだれにも付けません）")),
         todayOption()},
        runRanking};
    return command;
}

const Command& listCommand() {
    static const Command command{
        QStringLiteral("list"),
        QStringLiteral("今日の成績・期間の成績・個人別タイムの一覧を「レベル<TAB>行」で表示します"),
        QStringLiteral("today は最後の1000件、period と personal は最後の20000件の記録から作ります。"),
        {programFolderOption(),
         {QStringLiteral("mode"), QStringLiteral("time|points"),
          QStringLiteral("period の行の形: time タイムを先に、points ポイントを先に（省略すると time）")},
         {QStringLiteral("period"), QStringLiteral("1-5"),
          QStringLiteral("期間: 1 今週、2 今週と先週、3 30日、4 1年、5 10年（省略すると 5）")},
         pupilOption(
             QStringLiteral("いま使っている人の番号: ●の印と personal の一覧の人（personal では必須）")),
         filterOption(),
         todayOption()},
        runList,
        QStringLiteral("today|period|personal")};
    return command;
}

} // namespace warizan::tool
