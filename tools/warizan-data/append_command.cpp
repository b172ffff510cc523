#include "tool_support.h"

#include "records/score_file.h"

namespace warizan::tool {

namespace {

int run(const CommandLine& line) {
    const auto pupil = intOption(line, QStringLiteral("pupil"), 1, kMaxPupil);
    const auto level = intOption(line, QStringLiteral("level"), 1, kMaxLevel);
    const auto result = intOption(line, QStringLiteral("result"), 0, kNoResult);
    if (!pupil || !level || !result)
        return 2;
    ToolContext tool;
    if (!applyDateOptions(line, tool.clock))
        return 2;
    if (!loadConfiguration(line, *tool.state))
        return 1;
    tool.state->pupil.currentPupil = static_cast<qint16>(*pupil);
    tool.state->pupil.currentLevel = static_cast<qint16>(*level);
    tool.state->drill.finalTime = *result;
    return writeScoreRecords(tool.context) ? 0 : 1;
}

} // namespace

const Command& appendCommand() {
    static const Command command{
        QStringLiteral("append"),
        QStringLiteral("1回分の成績を書き足します（練習の終わりと同じく、両方の成績ファイルに）"),
        QStringLiteral("保存待ちの成績（書けなかった練習の成績）があれば、先に書き足します。"
                       "どちらかのファイルに書けないときは、どちらにも書きません。"),
        {programFolderOption(),
         {QStringLiteral("pupil"), QStringLiteral("P"), QStringLiteral("名簿の番号（1 から 5000）"), true},
         {QStringLiteral("level"), QStringLiteral("L"), QStringLiteral("レベル（1 から 35）"), true},
         {QStringLiteral("result"), QStringLiteral("SECONDS"),
          QStringLiteral("かかった秒数（0 から 99999。99999 は時間切れ）"), true},
         todayOption(),
         nowOption()},
        run};
    return command;
}

} // namespace warizan::tool
