// The personal report as a PDF, exactly as the level menu prints it, for a parent or teacher without the
// program open.

#include "menu_figures.h"

#include "answers/fact_map.h"
#include "report/pages/fact_map_page.h"
#include "report/pages/report_document.h"

#include <QPdfWriter>

namespace warizan::tool {

namespace {

// "1,2,3": levels of the content, each once, in the order given.
std::optional<std::vector<int>> levelsOption(const CommandLine& line, int levelCount) {
    std::vector<int> levels;
    if (!line.has(QStringLiteral("levels"))) {
        for (int level = 1; level <= std::min(3, levelCount); ++level)
            levels.push_back(level);
        return levels;
    }
    for (const QString& word : line.value(QStringLiteral("levels")).split(u',')) {
        bool ok = false;
        const int level = word.trimmed().toInt(&ok);
        if (!ok || level < 1 || level > levelCount ||
            std::find(levels.begin(), levels.end(), level) != levels.end()) {
            err() << QStringLiteral(
                         "--levels には 1 から %1 までのレベルを「1,2,3」のように重ならずに指定してください")
                         .arg(levelCount)
                  << Qt::endl;
            return std::nullopt;
        }
        levels.push_back(level);
    }
    return levels;
}

int run(const CommandLine& line, ToolContext& tool) {
    const ProgramState& state = *tool.state;
    const int pupil = state.pupil.currentPupil;
    if (state.roster.pupilName[pupil].trimmed().isEmpty()) {
        err() << QStringLiteral("番号 %1 の人は名簿にいません").arg(pupil) << Qt::endl;
        return 1;
    }
    const auto levels = levelsOption(line, state.levels.levelCount);
    if (!levels)
        return 2;

    ReportRequest request;
    request.pupil = pupil;
    request.levels = *levels;
    request.gradeFilter = gradeFilterOption(line);
    request.today = tool.clock.today();
    ReportDocument report;
    QString error;
    if (!buildReport(state, request, &report, &error)) {
        err() << error << Qt::endl;
        return 1;
    }
    const QString path = line.value(QStringLiteral("pdf"));
    QPdfWriter writer(path);
    writer.setTitle(state.config.contentHeading + QStringLiteral(" ") + report.pupilName);
    writer.setCreator(state.config.contentHeading);
    // Like the printed report of the level menu, it ends with the pupil's fact map.
    FactMap map;
    std::vector<ReportPagePainter> closingPages;
    if (readFactMap(state.config.programDataFolder, pupil, 0, &map, &error)) {
        const FactMapHeading heading = factMapHeading(report.pupilName, QString(), request.today);
        closingPages.push_back([map, heading](QPainter& painter, QSizeF page) {
            paintFactMapPage(painter, page, map, heading);
        });
    }
    if (!printReport(writer, report, closingPages)) {
        err() << QStringLiteral("PDF を書けません: %1").arg(path) << Qt::endl;
        return 1;
    }
    err() << QStringLiteral("%1 さんのレポートを %2 に書きました").arg(report.pupilName, path) << Qt::endl;
    return 0;
}

} // namespace

const Command& reportCommand() {
    static const Command command{
        .name = QStringLiteral("report"),
        .summary =
            QStringLiteral("個人のレポート（グラフと成績）を、プログラムが印刷するのと同じ形の PDF にします"),
        .details = QStringLiteral("レベルごとに、10年分のタイムのグラフと、回数・順位・最高・平均・ポイントを"
                                  "全体とくらべて書きます。"),
        .options = {programFolderOption(),
                    pupilOption(QStringLiteral("レポートを作る人の番号"), true),
                    {QStringLiteral("levels"), QStringLiteral("1,2,3"),
                     QStringLiteral("レポートに入れるレベル（省略すると 1,2,3）")},
                    {QStringLiteral("pdf"), QStringLiteral("FILE"), QStringLiteral("書き出す PDF ファイル"),
                     true},
                    filterOption(),
                    todayOption()},
        .needs = Needs::MenuFigures,
        .run = run};
    return command;
}

} // namespace warizan::tool
