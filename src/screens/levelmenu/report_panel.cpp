#include "screens/levelmenu/report_panel.h"

#include "platform/display.h"
#include "report/report_document.h"
#include "report/report_output.h"
#include "screens/control_names.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace warizan {

namespace {

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

ReportPanel::ReportPanel(FormContext& context, QWidget* parent)
    : QWidget(parent)
    , m_forms(context)
    , m_context(context.app) {
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
        Command21[k] = named(new QPushButton(pair[k], this), QStringLiteral("Command21_%1").arg(k));
        Command21[k]->setGeometry(display::rect(716 + 136 * k, 336, 132, 30));
        Command24[k] = named(new QPushButton(pair[k], this), QStringLiteral("Command24_%1").arg(k));
        Command24[k]->setGeometry(display::rect(716 + 136 * k, 372, 132, 30));
    }
    connect(Command25, &QPushButton::clicked, List2, &QWidget::show);
    for (int k = 0; k < 2; ++k) {
        const bool toPrinter = k == 1;
        connect(Command21[k], &QPushButton::clicked, this, [this, toPrinter] { runReport(toPrinter); });
        connect(Command24[k], &QPushButton::clicked, this,
                [this, toPrinter] { runReportsOfChosen(toPrinter); });
    }
    reportPicture = named(new QLabel(Picture12), "reportPicture");
    reportPicture->setGeometry(QRect(QPoint(0, 0), Picture12->size()));
    Command18 = named(new QPushButton(QStringLiteral("戻る"), this), "Command18");
    Command18->setGeometry(display::rect(716, 580, 268, 40));
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
    reportBaseFontSize = kReportBaseFontPoints;
    show();
    raise();
    runReport(false);
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
        reportPicture->setPixmap(
            QPixmap::fromImage(reportScreenImage(report, Picture12->size(), reportBaseFontSize)));
        return;
    }
    const QString documentName = state.config.contentHeading + u' ' + report.pupilName;
    const ReportPrintOutcome outcome =
        printOrSaveReport(m_forms.printer, report, documentName,
                          reportPdfPath(state.config.programDataFolder, report.pupilName, request.today));
    if (!outcome.error.isEmpty())
        m_context.dialogs.showMessage(state.config.contentHeading, outcome.error, Dialogs::Icon::Warning);
    else if (!outcome.pdfPath.isEmpty())
        m_context.dialogs.showMessage(
            state.config.contentHeading,
            QStringLiteral("プリンターがないので、%1 さんのレポートを PDF にして保存しました。\n%2")
                .arg(report.pupilName, QDir::toNativeSeparators(outcome.pdfPath)),
            Dialogs::Icon::Information);
}

} // namespace warizan
