// A pupil's fact map from the answer log, as lines for scripts or as the printed page.

#include "tool_support.h"

#include "answers/fact_map.h"
#include "report/pages/fact_map_page.h"
#include "state/content_levels.h"

#include <QPdfWriter>

namespace warizan::tool {

namespace {

int run(const CommandLine& line, ToolContext& tool) {
    const int pupil = line.number(QStringLiteral("pupil"));
    const int level = line.number(QStringLiteral("level"));
    ProgramState& state = *tool.state;
    FactMap map;
    QString error;
    if (!readFactMap(state.config.programDataFolder, pupil, level, &map, &error)) {
        err() << error << Qt::endl;
        return 1;
    }
    if (line.has(QStringLiteral("pdf"))) {
        PrepareContent(state.levels);
        const QString path = line.value(QStringLiteral("pdf"));
        QPdfWriter writer(path);
        const FactMapHeading heading =
            factMapHeading(rosterNameOf(state.config, pupil),
                           level > 0 ? state.levels.levelName[level] : QString(), tool.clock.today());
        writer.setTitle(heading.title);
        writer.setCreator(state.config.contentHeading);
        if (!printFactMap(writer, map, heading)) {
            err() << QStringLiteral("PDF を書けません: %1").arg(path) << Qt::endl;
            return 1;
        }
        err() << QStringLiteral("苦手チェックを %1 に書きました").arg(path) << Qt::endl;
        return 0;
    }
    for (const auto& row : map.cells) {
        for (const FactCell& cell : row) {
            QStringList fields{QString::number(cell.quotient), QString::number(cell.divisor)};
            if (cell.drawn)
                fields << factStateName(cell.state) << QString::number(cell.answers)
                       << QString::number(cell.wrong)
                       << (cell.medianMs ? QString::number(*cell.medianMs) : QString());
            else
                fields << QString() << QString() << QString() << QString(); // the level never asks it
            out() << fields.join(u'\t') << '\n';
        }
    }
    out().flush();
    return 0;
}

} // namespace

const Command& factsCommand() {
    static const Command command{
        .name = QStringLiteral("facts"),
        .summary = QStringLiteral(
            "解答記録から、ひとりの「苦手チェック」（商と わる数 の組ごとの覚えぐあい）を出します"),
        .details = QStringLiteral(
            "各行は「商<TAB>わる数<TAB>状態<TAB>回数<TAB>まちがい<TAB>最近3回の中央値(ミリ秒)」で、\n"
            "状態は unseen（まだ）, weak（苦手）, learning（練習中）, known（覚えた）です。\n"
            "--level を指定すると、そのレベルで出ない組は状態から後ろが空になります。"),
        .options = {programFolderOption(),
                    {QStringLiteral("pupil"), QStringLiteral("P"), QStringLiteral("調べる人の番号"), true,
                     wholeNumber(1, kMaxPupil)},
                    {QStringLiteral("level"), QStringLiteral("L"),
                     QStringLiteral("このレベルで出る組だけを見ます（1 から 4。省略するとすべての組）"),
                     false, wholeNumber(1, kContentLevelCount)},
                    {QStringLiteral("pdf"), QStringLiteral("FILE"),
                     QStringLiteral("表を A4 の PDF にして FILE に書きます（省略すると1行に1組を表示）")}},
        .run = run};
    return command;
}

} // namespace warizan::tool
