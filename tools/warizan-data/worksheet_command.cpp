#include "tool_support.h"

#include "answers/fact_map.h"
#include "drill/question.h"
#include "report/pages/worksheet_document.h"
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

// A sheet is drawn for a level, or from a pupil's weak pairs; the pupil's number counts only for the latter.
bool checkTogether(const CommandLine& line) {
    const bool weak = line.has(QStringLiteral("weak"));
    if (!line.has(QStringLiteral("level")) && !weak) {
        err() << QStringLiteral("--level か、--pupil と --weak を指定してください") << Qt::endl;
        return false;
    }
    if (!weak)
        return true;
    if (!line.has(QStringLiteral("pupil"))) {
        err() << QStringLiteral("--weak には --pupil が必要です") << Qt::endl;
        return false;
    }
    const QString complaint =
        wholeNumber(1, kMaxPupil)(QStringLiteral("pupil"), line.value(QStringLiteral("pupil")));
    if (!complaint.isEmpty())
        err() << complaint << Qt::endl;
    return complaint.isEmpty();
}

// The sheet on standard output, one question a line.
int printSheet(const QList<Question>& questions) {
    for (const Question& question : questions)
        out() << worksheetLine(question) << '\n';
    out().flush();
    return 0;
}

int run(const CommandLine& line, ToolContext& tool) {
    const bool weak = line.has(QStringLiteral("weak"));
    const int level = line.number(QStringLiteral("level"));
    const int count = line.number(QStringLiteral("count"), kDefaultCount);
    seedRandom(line, tool);
    if (weak) {
        // A level given with --weak keeps the sheet to the pairs that level asks.
        FactMap map;
        QString error;
        if (!readFactMap(tool.state->config.programDataFolder, line.number(QStringLiteral("pupil")), level,
                         &map, &error)) {
            err() << error << Qt::endl;
            return 1;
        }
        const QList<Question> questions = drawWeakSheet(map, count, tool.random);
        if (line.has(QStringLiteral("pdf")))
            return writeSheet(line.value(QStringLiteral("pdf")), *tool.state, 0, questions,
                              weakSheetNote(map));
        return printSheet(questions);
    }
    qint32 previousQuotient = 0;
    qint32 previousDivisor = 0;
    const QList<Question> questions =
        drawQuestions(level, count, tool.random, previousQuotient, previousDivisor);
    if (line.has(QStringLiteral("pdf")))
        return writeSheet(line.value(QStringLiteral("pdf")), *tool.state, level, questions);
    return printSheet(questions);
}

} // namespace

const Command& worksheetCommand() {
    static const Command command{
        .name = QStringLiteral("worksheet"),
        .summary = QStringLiteral("練習用の問題を、練習と同じ決まりで作って表示します（1行に1問）"),
        .details = QStringLiteral(
            "各行は「わられる数<TAB>わる数<TAB>商<TAB>あまり」です。同じ --seed なら同じ問題になります。\n"
            "--level か、--pupil と --weak のどちらかが必要です。"),
        .options =
            {programFolderOption(),
             {QStringLiteral("level"), QStringLiteral("L"),
              QStringLiteral("レベル（1 から 4）。--weak と一緒なら、そのレベルで出る組だけから作ります"),
              false, wholeNumber(1, kContentLevelCount)},
             {QStringLiteral("pupil"), QStringLiteral("P"),
              QStringLiteral("--weak で使う、解答記録の人の番号")},
             {QStringLiteral("weak"), QString(),
              QStringLiteral("その人の苦手な組を多めに（苦手 4、練習中 2、まだ 1 の割合で）出します")},
             {QStringLiteral("count"), QStringLiteral("N"),
              QStringLiteral("問題の数（1 から 1000。省略すると 20）"), false, wholeNumber(1, kMaxCount)},
             {QStringLiteral("seed"), QStringLiteral("S"),
              QStringLiteral("乱数の種（0 以上の整数。省略すると今の時刻から）"), false,
              [](const QString&, const QString& value) {
                  bool ok = false;
                  value.toULongLong(&ok);
                  return ok ? QString() : QStringLiteral("--seed には 0 以上の整数を指定してください");
              }},
             {QStringLiteral("pdf"), QStringLiteral("FILE"),
              QStringLiteral(
                  "問題と答えのページを A4 の PDF にして FILE に書きます（省略すると1行に1問を表示）")}},
        .run = run,
        .checkTogether = checkTogether};
    return command;
}

} // namespace warizan::tool
