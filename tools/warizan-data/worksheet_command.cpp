#include "tool_support.h"

#include "drill/question.h"
#include "state/content_levels.h"

#include <QDateTime>

namespace warizan::tool {

namespace {

constexpr int kDefaultCount = 20;
constexpr int kMaxCount = 1000;

int run(const CommandLine& line) {
    const auto level = intOption(line, QStringLiteral("level"), 1, kContentLevelCount);
    if (!level)
        return 2;
    int count = kDefaultCount;
    if (line.has(QStringLiteral("count"))) {
        const auto given = intOption(line, QStringLiteral("count"), 1, kMaxCount);
        if (!given)
            return 2;
        count = *given;
    }
    // Without a seed the sheet is seeded from the time of day, as the drill is.
    quint64 seed = static_cast<quint64>(QTime::currentTime().msecsSinceStartOfDay());
    if (line.has(QStringLiteral("seed"))) {
        bool ok = false;
        seed = line.value(QStringLiteral("seed")).toULongLong(&ok);
        if (!ok) {
            err() << QStringLiteral("--seed には 0 以上の整数を指定してください") << Qt::endl;
            return 2;
        }
    }
    ToolContext tool;
    if (!loadConfiguration(line, *tool.state))
        return 1;
    tool.random.seed(seed);
    qint32 previousQuotient = 0;
    qint32 previousDivisor = 0;
    for (const Question& question :
         drawQuestions(*level, count, tool.random, previousQuotient, previousDivisor))
        out() << worksheetLine(question) << '\n';
    out().flush();
    return 0;
}

} // namespace

const Command& worksheetCommand() {
    static const Command command{
        QStringLiteral("worksheet"),
        QStringLiteral("練習用の問題を、練習と同じ決まりで作って表示します（1行に1問）"),
        QStringLiteral(
            "各行は「わられる数<TAB>わる数<TAB>商<TAB>あまり」です。同じ --seed なら同じ問題になります。"),
        {programFolderOption(),
         {QStringLiteral("level"), QStringLiteral("L"), QStringLiteral("レベル（1 から 4）"), true},
         {QStringLiteral("count"), QStringLiteral("N"),
          QStringLiteral("問題の数（1 から 1000。省略すると 20）")},
         {QStringLiteral("seed"), QStringLiteral("S"),
          QStringLiteral("乱数の種（0 以上の整数。省略すると今の時刻から）")}},
        run};
    return command;
}

} // namespace warizan::tool
