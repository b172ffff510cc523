// The practice sheet the program would draw for a pupil, one question a line, for scripts and checks.

#include "tool_support.h"

#include "answers/practice_sheet.h"
#include "state/content_levels.h"

namespace warizan::tool {

namespace {

int run(const CommandLine& line, ToolContext& tool) {
    const int pupil = line.number(QStringLiteral("pupil"));
    PracticeBasis basis;
    QString error;
    if (!readPracticeBasis(tool.state->config.programDataFolder, pupil, line.number(QStringLiteral("level")),
                           &basis, &error)) {
        err() << error << Qt::endl;
        return 1;
    }
    seedRandom(line, tool);
    const PracticeSheet sheet(basis, tool.random);
    int n = 0;
    for (const PracticeQuestion& asked : sheet.questions())
        out() << QStringLiteral("%1\t%2\t%3\n")
                     .arg(++n)
                     .arg(worksheetLine(asked.question), practiceRoleName(asked.role));
    out().flush();
    return 0;
}

} // namespace

const Command& practiceCommand() {
    static const Command command{
        .name = QStringLiteral("practice"),
        .summary =
            QStringLiteral("ひとりの「苦手れんしゅう」（苦手な組を覚えた組にまぜた10問）を、プログラムと"
                           "同じように作って出します"),
        .details = QStringLiteral(
            "各行は「番号<TAB>わられる数<TAB>わる数<TAB>商<TAB>あまり<TAB>役目」で、役目は\n"
            "target（れんしゅうする組。2回ずつ）、known（覚えた組）、fill（覚えた組が足りないときの、まだ覚え"
            "て\n"
            "いない組）です。まちがえたときに最後に出る問題は含みません。--level "
            "を省略すると、その人の記録の\n"
            "ある一番上のレベル（記録がなければ 1）です。同じ --seed なら同じ問題になります。"),
        .options = {programFolderOption(),
                    {QStringLiteral("pupil"), QStringLiteral("P"), QStringLiteral("れんしゅうする人の番号"),
                     true, wholeNumber(1, kMaxPupil)},
                    {QStringLiteral("level"), QStringLiteral("L"),
                     QStringLiteral(
                         "このレベルの組で作ります（1 から 4。省略すると記録のある一番上のレベル）"),
                     false, wholeNumber(1, kContentLevelCount)},
                    {QStringLiteral("seed"), QStringLiteral("S"),
                     QStringLiteral("乱数の種（0 以上の整数。省略すると今の時刻から）"), false,
                     [](const QString&, const QString& value) {
                         bool ok = false;
                         value.toULongLong(&ok);
                         return ok ? QString() : QStringLiteral("--seed には 0 以上の整数を指定してください");
                     }}},
        .run = run};
    return command;
}

} // namespace warizan::tool
