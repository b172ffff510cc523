#include "tool_support.h"

#include "drill/question.h"
#include "report/worksheet_document.h"
#include "state/content_levels.h"

#include <QDateTime>
#include <QPdfWriter>

namespace warizan::tool {

namespace {

constexpr int kDefaultCount = 20;
constexpr int kMaxCount = 1000;

// The sheet and its answers as an A4 PDF, headed with the level's name and today's date.
int writeSheet(const QString& path, ProgramState& state, int level, const QList<Question>& questions) {
    PrepareContent(state.levels);
    WorksheetDocument sheet;
    sheet.title = state.config.contentHeading + QStringLiteral("　") + state.levels.levelName[level];
    sheet.date = QDate::currentDate();
    sheet.withRemainder = levelHasRemainder(level);
    sheet.questions = questions;
    QPdfWriter writer(path);
    writer.setTitle(sheet.title);
    writer.setCreator(state.config.contentHeading);
    if (!printWorksheet(writer, sheet)) {
        err() << QStringLiteral("PDF を書けません: %1").arg(path) << Qt::endl;
        return 1;
    }
    err() << QStringLiteral("%1 問の練習プリントを %2 に書きました（答えのページつき）").arg(questions.size()).arg(path)
          << Qt::endl;
    return 0;
}

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
    const QList<Question> questions = drawQuestions(*level, count, tool.random, previousQuotient, previousDivisor);
    if (line.has(QStringLiteral("pdf")))
        return writeSheet(line.value(QStringLiteral("pdf")), *tool.state, *level, questions);
    for (const Question& question : questions)
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
          QStringLiteral("乱数の種（0 以上の整数。省略すると今の時刻から）")},
         {QStringLiteral("pdf"), QStringLiteral("FILE"),
          QStringLiteral("問題と答えのページを A4 の PDF にして FILE に書きます（省略すると1行に1問を表示）")}},
        run};
    return command;
}

} // namespace warizan::tool
