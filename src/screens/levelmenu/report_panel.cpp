#include "screens/levelmenu/report_panel.h"

#include "answers/fact_map.h"
#include "platform/gui/display.h"
#include "platform/gui/document_opener.h"
#include "platform/shown_path.h"
#include "report/pages/fact_map_page.h"
#include "report/pages/report_document.h"
#include "report/pages/report_output.h"
#include "report/pages/week_page.h"
#include "report/pages/worksheet_document.h"
#include "screens/control_names.h"
#include "screens/design_form.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPagedPaintDevice>
#include <QPushButton>
#include <algorithm>

namespace warizan {

namespace {

// Questions on a practice sheet made from the map: one page.
constexpr int kWeakSheetQuestions = 20;

void fillPanel(QWidget* panel, const QColor& colour) {
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
}

std::vector<int> chosenLevels(const QListWidget* levels) {
    std::vector<int> chosen;
    for (int row = 0; row < levels->count(); ++row)
        if (levels->item(row)->isSelected())
            chosen.push_back(row + 1);
    return chosen;
}

} // namespace

ReportPanel::ReportPanel(FormContext& context, const DesignForm& form, QWidget* parent)
    : QWidget(parent)
    , m_forms(context)
    , m_context(context.app)
    , m_form(form) {
    setObjectName(QStringLiteral("Picture11"));
    // Tall enough that the report's sections stay legible: the panel covers the lists while it is open.
    setGeometry(display::rect(16, 130, 992, 636));
    fillPanel(this, QColor(192, 192, 192));
    Picture12 = named(new QWidget(this), "Picture12");
    Picture12->setGeometry(display::rect(8, 8, 700, 614));
    fillPanel(Picture12, Qt::white);
    List2 = named(new QListWidget(this), "List2");
    List2->setGeometry(display::rect(716, 8, 268, 180));
    List2->setSelectionMode(QAbstractItemView::MultiSelection);
    List2->hide();
    List3 = named(new QListWidget(this), "List3");
    List3->setGeometry(display::rect(716, 192, 268, 100));
    List3->setSelectionMode(QAbstractItemView::MultiSelection);
    List4 = named(new QListWidget(this), "List4");
    List4->hide();
    Command25 = named(new QPushButton(QStringLiteral("他の人のデータを見る"), this), "Command25");
    Command25->setGeometry(display::rect(716, 300, 268, 30));
    const QStringList pair = {QStringLiteral("表示"), QStringLiteral("印刷")};
    for (int k = 0; k < 2; ++k) {
        Command21[k] = named(new QPushButton(pair[k], this), "Command21", k);
        Command21[k]->setGeometry(display::rect(716 + 136 * k, 336, 132, 30));
        Command24[k] = named(new QPushButton(pair[k], this), "Command24", k);
        Command24[k]->setGeometry(display::rect(716 + 136 * k, 372, 132, 30));
    }
    connect(Command25, &QPushButton::clicked, List2, &QWidget::show);
    for (int k = 0; k < 2; ++k) {
        const bool toPrinter = k == 1;
        connect(Command21[k], &QPushButton::clicked, this, [this, toPrinter] { runReport(toPrinter); });
        connect(Command24[k], &QPushButton::clicked, this,
                [this, toPrinter] { runReportsOfChosen(toPrinter); });
    }
    Label20 = named(new QLabel(QStringLiteral("苦手チェック"), this), "Label20");
    Label20->setGeometry(display::rect(716, 414, 268, 22));
    Label20->setFont(display::font(display::Face::PGothic, 11, true));
    Combo3 = named(new QComboBox(this), "Combo3");
    Combo3->setGeometry(display::rect(716, 438, 268, 26));
    for (int k = 0; k < 2; ++k) {
        Command26[k] = named(new QPushButton(pair[k], this), "Command26", k);
        Command26[k]->setGeometry(display::rect(716 + 136 * k, 468, 132, 30));
    }
    Command27 = named(new QPushButton(QStringLiteral("練習プリント"), this), "Command27");
    Command27->setGeometry(display::rect(716, 504, 268, 30));
    connect(Command26[0], &QPushButton::clicked, this, &ReportPanel::showFactMap);
    connect(Command26[1], &QPushButton::clicked, this, &ReportPanel::printFactMap);
    connect(Command27, &QPushButton::clicked, this, &ReportPanel::printWeakSheet);
    Command31 = named(new QPushButton(QStringLiteral("今週のまとめ"), this), "Command31");
    Command31->setGeometry(display::rect(716, 542, 268, 28));
    const QStringList weekButtons = {QStringLiteral("前の週"), QStringLiteral("次の週"),
                                     QStringLiteral("印刷")};
    for (int k = 0; k < 3; ++k) {
        Command32[k] = named(new QPushButton(weekButtons[k], this), "Command32", k);
        Command32[k]->setGeometry(display::rect(716 + 91 * k, 574, 86, 28));
    }
    connect(Command31, &QPushButton::clicked, this, [this] { showWeek(true); });
    connect(Command32[0], &QPushButton::clicked, this, [this] { moveWeek(-1); });
    connect(Command32[1], &QPushButton::clicked, this, [this] { moveWeek(1); });
    connect(Command32[2], &QPushButton::clicked, this, &ReportPanel::printWeek);
    reportPicture = named(new QLabel(Picture12), "reportPicture");
    reportPicture->setGeometry(QRect(QPoint(0, 0), Picture12->size()));
    Command18 = named(new QPushButton(QStringLiteral("戻る"), this), "Command18");
    Command18->setGeometry(display::rect(716, 606, 268, 26));
    connect(Command18, &QPushButton::clicked, this, &QWidget::hide);
    hide();
}

void ReportPanel::open(int levelCount) {
    const ProgramState& state = m_context.state;
    reportPupil = state.pupil.currentPupil;
    List2->hide();
    List2->clear();
    // One entry per listed pupil; the number after the last "/" says whose report it is.
    for (int k = 1; k <= state.roster.listedCount; ++k) {
        const int pupil = state.roster.rosterPupilNumber[static_cast<size_t>(k)];
        List2->addItem(state.roster.pupilName[pupil].trimmed() + u'/' + QString::number(pupil));
    }
    Command25->show();
    List3->clear();
    for (int level = 1; level <= levelCount; ++level)
        List3->addItem(state.levels.levelName[level]);
    for (int row = 0; row < std::min(3, List3->count()); ++row)
        List3->item(row)->setSelected(true);
    Combo3->clear();
    Combo3->addItem(QStringLiteral("すべての組"));
    for (int level = 1; level <= levelCount; ++level)
        Combo3->addItem(state.levels.levelName[level]);
    reportBaseFontSize = kReportBaseFontPoints;
    setWeekShown(false);
    show();
    raise();
    runReport(false);
}

void ReportPanel::showTeacherButtons(bool shown) {
    Command24[1]->setVisible(shown);
}

void ReportPanel::runReportsOfChosen(bool toPrinter) {
    const QList<QListWidgetItem*> chosen = List2->selectedItems();
    if (chosen.isEmpty()) {
        runReport(toPrinter);
        return;
    }
    if (toPrinter && chosenLevels(List3).empty()) {
        runReport(toPrinter); // says once that a level must be chosen
        return;
    }
    // In list order, whatever order they were picked in.
    for (int row = 0; row < List2->count(); ++row) {
        const QString text = List2->item(row)->text();
        if (!List2->item(row)->isSelected())
            continue;
        reportPupil = text.mid(text.lastIndexOf(u'/') + 1).toInt();
        runReport(toPrinter);
        // A message about this report let events run: the menu may have gone meanwhile.
        if (!m_form.isFrontPage())
            return;
    }
}

void ReportPanel::runReport(bool toPrinter) {
    const ProgramState& state = m_context.state;
    ReportRequest request;
    request.pupil = reportPupil;
    request.levels = chosenLevels(List3);
    // A report of no level would be a blank sheet of paper.
    if (toPrinter && request.levels.empty()) {
        m_context.dialogs.showMessage(state.config.contentHeading, QStringLiteral("レベルを選んでください"),
                                      Dialogs::Icon::Information);
        return;
    }
    request.gradeFilter = state.levelMenu.gradeFilter;
    request.pointsOrder = state.levelMenu.pointsOrder;
    request.today = m_context.clock.today();
    ReportDocument report;
    QString error;
    if (!buildReport(state, request, &report, &error)) {
        m_context.dialogs.showMessage(state.config.contentHeading, error, Dialogs::Icon::Warning);
        return;
    }
    if (!toPrinter) {
        setWeekShown(false);
        reportPicture->setPixmap(QPixmap::fromImage(reportScreenImage(
            report, Picture12->size(), reportBaseFontSize, nullptr, reportPicture->devicePixelRatioF())));
        return;
    }
    const QString documentName = state.config.contentHeading + u' ' + report.pupilName;
    // The printed report ends with the pupil's fact map; a log that cannot be read leaves the report whole.
    FactMap map;
    QString mapError;
    std::vector<ReportPagePainter> closingPages;
    if (readFactMap(state.config.programDataFolder, reportPupil, mapLevel(), &map, &mapError)) {
        const FactMapHeading heading = mapHeading(reportPupil);
        closingPages.push_back([map, heading](QPainter& painter, QSizeF page) {
            paintFactMapPage(painter, page, map, heading);
        });
    }
    const PrintOutcome outcome =
        printOrSaveReport(m_forms.printer, report, documentName,
                          keptPdfPath(state.config.keptDocumentsFolder, QStringLiteral("成績レポート"),
                                      report.pupilName, request.today),
                          closingPages);
    tellOutcome(outcome.error, outcome.pdfPath, QStringLiteral("レポート"), reportPupil);
}

int ReportPanel::mapPupil() const {
    for (int row = 0; row < List2->count(); ++row) {
        const QString text = List2->item(row)->text();
        if (List2->item(row)->isSelected())
            return text.mid(text.lastIndexOf(u'/') + 1).toInt();
    }
    return reportPupil;
}

int ReportPanel::mapLevel() const {
    return std::max(0, Combo3->currentIndex());
}

FactMapHeading ReportPanel::mapHeading(int pupil) const {
    const ProgramState& state = m_context.state;
    const int level = mapLevel();
    return factMapHeading(state.roster.pupilName[pupil],
                          level > 0 ? state.levels.levelName[level] : QString(), m_context.clock.today());
}

bool ReportPanel::loadFactMap(int pupil, FactMap* map) {
    const ProgramState& state = m_context.state;
    QString error;
    if (readFactMap(state.config.programDataFolder, pupil, mapLevel(), map, &error))
        return true;
    m_context.dialogs.showMessage(state.config.contentHeading,
                                  QStringLiteral("解答記録を読めません。\n%1").arg(error),
                                  Dialogs::Icon::Warning);
    return false;
}

void ReportPanel::showFactMap() {
    const int pupil = mapPupil();
    FactMap map;
    if (!loadFactMap(pupil, &map))
        return;
    setWeekShown(false);
    reportPicture->setPixmap(QPixmap::fromImage(
        factMapImage(map, Picture12->size(), mapHeading(pupil), reportPicture->devicePixelRatioF())));
}

void ReportPanel::printFactMap() {
    const ProgramState& state = m_context.state;
    const int pupil = mapPupil();
    FactMap map;
    if (!loadFactMap(pupil, &map))
        return;
    const FactMapHeading heading = mapHeading(pupil);
    const PrintOutcome outcome = printOrSavePages(
        m_forms.printer, state.config.contentHeading + u' ' + heading.title,
        keptPdfPath(state.config.keptDocumentsFolder, QStringLiteral("苦手チェック"),
                    state.roster.pupilName[pupil], m_context.clock.today()),
        [&](QPagedPaintDevice& device) { return warizan::printFactMap(device, map, heading); });
    tellOutcome(outcome.error, outcome.pdfPath, QStringLiteral("苦手チェック"), pupil);
}

void ReportPanel::printWeakSheet() {
    const ProgramState& state = m_context.state;
    const int pupil = mapPupil();
    FactMap map;
    if (!loadFactMap(pupil, &map))
        return;
    WorksheetDocument sheet;
    sheet.title = state.config.contentHeading + QStringLiteral("　苦手な組の練習");
    sheet.date = m_context.clock.today();
    sheet.note = weakSheetNote(map);
    sheet.questions = drawWeakSheet(map, kWeakSheetQuestions, m_context.random);
    const QString name = state.roster.pupilName[pupil];
    const PrintOutcome outcome =
        printOrSavePages(m_forms.printer, sheet.title + u' ' + name.trimmed(),
                         keptPdfPath(state.config.keptDocumentsFolder, QStringLiteral("練習プリント"), name,
                                     m_context.clock.today()),
                         [&](QPagedPaintDevice& device) { return printWorksheet(device, sheet); });
    tellOutcome(outcome.error, outcome.pdfPath, QStringLiteral("練習プリント"), pupil);
}

void ReportPanel::setWeekShown(bool shown) {
    weekShown = shown;
    Command32[0]->setEnabled(shown);
    // No week after this one has happened yet.
    Command32[1]->setEnabled(shown && weekMonday < mondayOf(m_context.clock.today()));
}

bool ReportPanel::loadWeek(WeekPage* page) {
    const ProgramState& state = m_context.state;
    QString error;
    if (!readWeekSummary(state.config.programDataFolder, weekPupil, weekMonday, &page->summary, &error)) {
        m_context.dialogs.showMessage(state.config.contentHeading,
                                      QStringLiteral("解答記録を読めません。\n%1").arg(error),
                                      Dialogs::Icon::Warning);
        return false;
    }
    page->pupilName = state.roster.pupilName[weekPupil];
    for (int level = 0; level <= state.levels.levelCount; ++level)
        page->levelNames << (level > 0 ? state.levels.levelName[level] : QString());
    page->madeOn = m_context.clock.today();
    return true;
}

void ReportPanel::showWeek(bool fromThisWeek) {
    if (fromThisWeek) {
        weekPupil = mapPupil();
        weekMonday = mondayOf(m_context.clock.today());
    }
    WeekPage page;
    if (!loadWeek(&page))
        return;
    reportPicture->setPixmap(
        QPixmap::fromImage(weekImage(page, Picture12->size(), reportPicture->devicePixelRatioF())));
    setWeekShown(true);
}

void ReportPanel::moveWeek(int weeks) {
    weekMonday = weekMonday.addDays(7 * weeks);
    showWeek(false);
}

void ReportPanel::printWeek() {
    const ProgramState& state = m_context.state;
    // Before the week has been looked at, the chosen pupil's week of today.
    if (!weekShown) {
        weekPupil = mapPupil();
        weekMonday = mondayOf(m_context.clock.today());
    }
    WeekPage page;
    if (!loadWeek(&page))
        return;
    const PrintOutcome outcome =
        printOrSavePages(m_forms.printer, state.config.contentHeading + u' ' + weekHeading(page.pupilName),
                         keptPdfPath(state.config.keptDocumentsFolder, QStringLiteral("今週のまとめ"),
                                     page.pupilName, m_context.clock.today()),
                         [&](QPagedPaintDevice& device) { return warizan::printWeek(device, page); });
    tellOutcome(outcome.error, outcome.pdfPath, QStringLiteral("今週のまとめ"), weekPupil);
}

void ReportPanel::tellOutcome(const QString& error, const QString& pdfPath, const QString& what, int pupil) {
    const ProgramState& state = m_context.state;
    if (!error.isEmpty()) {
        m_context.dialogs.showMessage(state.config.contentHeading, error, Dialogs::Icon::Warning);
        return;
    }
    if (pdfPath.isEmpty())
        return;
    const QString shown = shownPath(pdfPath);
    if (!m_context.dialogs.offerToOpen(
            state.config.contentHeading,
            QStringLiteral("プリンターがないので、%1 さんの%2を PDF にして保存しました。")
                .arg(state.roster.pupilName[pupil].trimmed(), what),
            shown))
        return;
    if (!m_forms.documents.open(shown))
        m_context.dialogs.showMessage(state.config.contentHeading,
                                      QStringLiteral("PDF を開くプログラムが見つかりません。\n%1").arg(shown),
                                      Dialogs::Icon::Warning);
}

} // namespace warizan
