#include "tool_support.h"

#include "records/score_file.h"

namespace warizan::tool {

namespace {

int run(const CommandLine& line, ToolContext& tool) {
    tool.state->pupil.currentPupil = static_cast<qint16>(line.number(QStringLiteral("pupil")));
    tool.state->pupil.currentLevel = static_cast<qint16>(line.number(QStringLiteral("level")));
    tool.state->drill.finalTime = line.number(QStringLiteral("result"));
    return writeScoreRecords(tool.context) ? 0 : 1;
}

} // namespace

const Command& appendCommand() {
    static const Command command{
        .name = QStringLiteral("append"),
        .summary = QStringLiteral("1回分の成績を書き足します（練習の終わりと同じく、両方の成績ファイルに）"),
        .details = QStringLiteral("保存待ちの成績（書けなかった練習の成績）があれば、先に書き足します。"
                                  "どちらかのファイルに書けないときは、どちらにも書きません。"),
        .options = {programFolderOption(),
                    {QStringLiteral("pupil"), QStringLiteral("P"),
                     QStringLiteral("名簿の番号（1 から 5000）"), true, wholeNumber(1, kMaxPupil)},
                    {QStringLiteral("level"), QStringLiteral("L"), QStringLiteral("レベル（1 から 35）"),
                     true, wholeNumber(1, kMaxLevel)},
                    {QStringLiteral("result"), QStringLiteral("SECONDS"),
                     QStringLiteral("かかった秒数（0 から 99999。99999 は時間切れ）"), true,
                     wholeNumber(0, kNoResult)},
                    todayOption(),
                    nowOption()},
        .run = run};
    return command;
}

} // namespace warizan::tool
