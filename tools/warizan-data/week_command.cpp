// A pupil's week from the answer log, as lines for scripts or as the printed page the level menu makes.

#include "tool_support.h"

#include "answers/week_summary.h"
#include "report/pages/week_page.h"
#include "state/content_levels.h"

#include <QPdfWriter>

namespace warizan::tool {

namespace {

int run(const CommandLine& line, ToolContext& tool) {
    const int pupil = line.number(QStringLiteral("pupil"));
    ProgramState& state = *tool.state;
    const QDate day = line.has(QStringLiteral("week-of"))
                          ? QDate::fromString(line.value(QStringLiteral("week-of")), Qt::ISODate)
                          : tool.clock.today();
    WeekSummary summary;
    QString error;
    if (!readWeekSummary(state.config.programDataFolder, pupil, day, &summary, &error)) {
        err() << error << Qt::endl;
        return 1;
    }
    if (line.has(QStringLiteral("pdf"))) {
        PrepareContent(state.levels);
        WeekPage page;
        page.summary = summary;
        page.pupilName = rosterNameOf(state.config, pupil);
        for (int level = 0; level <= state.levels.levelCount; ++level)
            page.levelNames << (level > 0 ? state.levels.levelName[level] : QString());
        page.madeOn = tool.clock.today();
        const QString path = line.value(QStringLiteral("pdf"));
        QPdfWriter writer(path);
        writer.setTitle(weekHeading(page.pupilName));
        writer.setCreator(state.config.contentHeading);
        if (!printWeek(writer, page)) {
            err() << QStringLiteral("PDF を書けません: %1").arg(path) << Qt::endl;
            return 1;
        }
        err() << QStringLiteral("今週のまとめを %1 に書きました").arg(path) << Qt::endl;
        return 0;
    }
    for (const QString& text : weekSummaryLines(summary))
        out() << text << '\n';
    out().flush();
    return 0;
}

} // namespace

const Command& weekCommand() {
    static const Command command{
        .name = QStringLiteral("week"),
        .summary = QStringLiteral("解答記録から、ひとりの1週間（月曜日から日曜日）のまとめを出します"),
        .details = QStringLiteral(
            "行の順は week（その週の月曜日）, days, drills, practice, answers, wrong, "
            "median_ms（答えのない週は空）,\n"
            "became_known と weak（「商,わる数」を空白で区切って）, まちがえた答えごとの\n"
            "missed<TAB>日付<TAB>わられる数<TAB>わる数<TAB>書いた商<TAB>書いたあまり（新しい順）, そして\n"
            "trend<TAB>月曜日<TAB>答えた数<TAB>まちがい<TAB>median_ms の8行（古い週から）です。\n"
            "答えはドリルを始めた日のものとして数えます。中央値は、数が偶数のとき小さい方のまん中です。"),
        .options = {programFolderOption(),
                    {QStringLiteral("pupil"), QStringLiteral("P"), QStringLiteral("調べる人の番号"), true,
                     wholeNumber(1, kMaxPupil)},
                    {QStringLiteral("week-of"), QStringLiteral("YYYY-MM-DD"),
                     QStringLiteral("この日をふくむ週を見ます（省略すると今週）"), false,
                     [](const QString&, const QString& value) {
                         return QDate::fromString(value, Qt::ISODate).isValid()
                                    ? QString()
                                    : QStringLiteral("--week-of は日付を YYYY-MM-DD の形で指定してください");
                     }},
                    {QStringLiteral("pdf"), QStringLiteral("FILE"),
                     QStringLiteral("まとめを A4 1枚の PDF にして FILE に書きます（省略すると行で表示）")}},
        .run = run};
    return command;
}

} // namespace warizan::tool
