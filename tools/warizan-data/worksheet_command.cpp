#include "tool_support.h"

#include "answers/fact_map.h"
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
int writeSheet(const QString& path, ProgramState& state, int level, const QList<Question>& questions,
               const QString& note = {}) {
    PrepareContent(state.levels);
    WorksheetDocument sheet;
    sheet.title = state.config.contentHeading + QStringLiteral("　") +
                  (level > 0 ? state.levels.levelName[level] : QStringLiteral("苦手な組の練習"));
    sheet.date = QDate::currentDate();
    sheet.withRemainder = level == 0 || levelHasRemainder(level);
    sheet.questions = questions;
    sheet.note = note;
    QPdfWriter writer(path);
    writer.setTitle(sheet.title);
    writer.setCreator(state.config.contentHeading);
    if (!printWorksheet(writer, sheet)) {
        err() << QStringLiteral("PDF を書けません: %1").arg(path) << Qt::endl;
        return 1;
    }
    err() << QStringLiteral("%1 問の練習プリントを %2 に書きました（答えのページつき）")
                 .arg(questions.size())
                 .arg(path)
          << Qt::endl;
    return 0;
}

int run(const CommandLine& line) {
    const bool weak = line.has(QStringLiteral("weak"));
    if (!line.has(QStringLiteral("level")) && !weak) {
        err() << QStringLiteral("--level か、--pupil と --weak を指定してください") << Qt::endl;
        return 2;
    }
    if (weak && !line.has(QStringLiteral("pupil"))) {
        err() << QStringLiteral("--weak には --pupil が必要です") << Qt::endl;
        return 2;
    }
    std::optional<int> level = 0;
    if (line.has(QStringLiteral("level")))
        level = intOption(line, QStringLiteral("level"), 1, kContentLevelCount);
    if (!level)
        return 2;
    std::optional<int> pupil = 0;
    if (weak)
        pupil = intOption(line, QStringLiteral("pupil"), 1, kMaxPupil);
    if (!pupil)
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
    if (weak) {
        // A level given with --weak keeps the sheet to the pairs that level asks.
        FactMap map;
        QString error;
        if (!readFactMap(tool.state->config.programDataFolder, *pupil, *level, &map, &error)) {
            err() << error << Qt::endl;
            return 1;
        }
        const QList<Question> questions = drawWeakSheet(map, count, tool.random);
        if (line.has(QStringLiteral("pdf")))
            return writeSheet(line.value(QStringLiteral("pdf")), *tool.state, 0, questions,
                              weakSheetNote(map));
        for (const Question& question : questions)
            out() << worksheetLine(question) << '\n';
        out().flush();
        return 0;
    }
    qint32 previousQuotient = 0;
    qint32 previousDivisor = 0;
    const QList<Question> questions =
        drawQuestions(*level, count, tool.random, previousQuotient, previousDivisor);
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
            "各行は「わられる数<TAB>わる数<TAB>商<TAB>あまり」です。同じ --seed なら同じ問題になります。\n"
            "--level か、--pupil と --weak のどちらかが必要です。"),
        {programFolderOption(),
         {QStringLiteral("level"), QStringLiteral("L"),
          QStringLiteral("レベル（1 から 4）。--weak と一緒なら、そのレベルで出る組だけから作ります")},
         {QStringLiteral("pupil"), QStringLiteral("P"), QStringLiteral("--weak で使う、解答記録の人の番号")},
         {QStringLiteral("weak"), QString(),
          QStringLiteral("その人の苦手な組を多めに（苦手 4、練習中 2、まだ 1 の割合で）出します")},
         {QStringLiteral("count"), QStringLiteral("N"),
          QStringLiteral("問題の数（1 から 1000。省略すると 20）")},
         {QStringLiteral("seed"), QStringLiteral("S"),
          QStringLiteral("乱数の種（0 以上の整数。省略すると今の時刻から）")},
         {QStringLiteral("pdf"), QStringLiteral("FILE"),
          QStringLiteral(
              "問題と答えのページを A4 の PDF にして FILE に書きます（省略すると1行に1問を表示）")}},
        run};
    return command;
}

} // namespace warizan::tool
