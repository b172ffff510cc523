#include "screens/drill/drill_form.h"

#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "platform/gui/display.h"
#include "records/score_file.h"
#include "screens/control_names.h"
#include "screens/drill/drill_controls.h"
#include "screens/drill/drill_panel.h"
#include "screens/drill/drill_status_bar.h"
#include "screens/drill/practice_result_panel.h"
#include "screens/drill_start.h"
#include "sound/sound_cues.h"
#include "state/pupil_minutes.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace warizan {

namespace {

constexpr int kDrillClockMs = 1000;
constexpr int kMinutesTimerMs = 10000;
constexpr qint32 kTimeLimitFactor = 5;

} // namespace

DrillForm::DrillForm(FormContext& context, QWidget* parent)
    : DesignForm(kDrillPanelColour, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("MainFrm"));
    m_statusBar = new DrillStatusBar(canvas());
    m_panel = new DrillPanel(canvas());
    connect(m_panel, &DrillPanel::confirmClicked, this, &DrillForm::Commandkakunin_Click);
    lblPracticeStart = makeDrillLabel(canvas(), QStringLiteral("lblPracticeStart"), QRect(60, 590, 904, 36),
                                      13, 0xFFFFC0, QColor(0, 0, 160), true);
    lblPracticeStart->hide();
    m_practiceResult = new PracticeResultPanel(canvas());
    m_practiceResult->hide();
    connect(m_practiceResult, &PracticeResultPanel::backClicked, this, &DrillForm::backToMenu);
    buildOverlay();

    sTimer1 = named(new QTimer(this), QStringLiteral("sTimer1"));
    sTimer1->setInterval(kDrillClockMs);
    connect(sTimer1, &QTimer::timeout, this, &DrillForm::sTimer1_Timer);
    sTimer2 = named(new QTimer(this), QStringLiteral("sTimer2"));
    sTimer2->setInterval(kMinutesTimerMs);
    connect(sTimer2, &QTimer::timeout, this, &DrillForm::sTimer2_Timer);
}

// The overlay of the drill's end: "成績記録中" while the run is recorded, "時間切れ" when the time ran out.
void DrillForm::buildOverlay() {
    sPicture2 = makeDrillBlock(canvas(), QStringLiteral("sPicture2"), QRect(0, 0, 640, 480), 0xFFFFC0);
    auto* frame = new QFrame(sPicture2);
    frame->setGeometry(sPicture2->rect());
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(display::px(3));
    lblsss2 = makeDrillLabel(sPicture2, QStringLiteral("lblsss2"), QRect(40, 190, 560, 100), 36, std::nullopt,
                             Qt::red, true);
    lblsss2->setText(QStringLiteral("時間切れ"));
    lblsss1 = makeDrillLabel(sPicture2, QStringLiteral("lblsss1"), QRect(40, 190, 560, 100), 36, std::nullopt,
                             QColor(0, 0, 160), true);
    lblsss1->setText(QStringLiteral("成績記録中"));
    sPicture2->hide();
}

bool DrillForm::load() {
    m_context.random.seed(static_cast<quint64>(m_context.clock.now().time().msecsSinceStartOfDay()));
    m_statusBar->move(0, 0);
    sPicture2->move(0, 0);
    m_panel->setGeometry(0, m_statusBar->height(), display::px(display::kDesignWidth),
                         display::px(display::kDesignHeight) - m_statusBar->height());
    m_panel->show();
    m_practiceResult->move(0, m_statusBar->height());
    lblPracticeStart->raise();
    m_practiceResult->raise();
    sPicture2->raise();
    sTimer2->start();
    return true;
}

void DrillForm::activate() {
    m_practice = m_context.state.drill.practice;
    初期設定();
    if (m_practice && !preparePractice())
        return;
    レベル別設定();
    スタート();
    問題作成表示();
}

void DrillForm::初期設定() {
    m_forms.owner.unload(FormId::seisekitime1);
    m_forms.owner.unload(FormId::BASEFRM);
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    const int level = state.pupil.currentLevel;
    const int pupil = state.pupil.currentPupil;
    drill.sheetFinished = 0;
    drill.drillEnding = 0;
    drill.judgement = 0;
    m_cells.clearEditBuffer();
    if (m_practice)
        return; // the practice sheet's own heading follows

    // Every level of this content is timed.
    drill.timeLimitSeconds = kTimeLimitFactor * state.levels.levelGoal2[level];
    m_thresholds = {state.figures.levelBestResult[level], state.figures.bestResult.at(level, pupil),
                    state.levels.levelGoal[level], state.levels.levelGoal2[level]};

    float today = 0;
    for (int i = 1; i <= 15; ++i)
        today += state.figures.todayCount.at(i, pupil);
    SheetHeading sheet;
    sheet.heading = state.config.contentHeading;
    sheet.pupilName = state.pupil.currentPupilName.trimmed();
    sheet.siteName = state.config.schoolName;
    sheet.levelName = state.levels.levelName[level];
    sheet.goal = state.levels.levelGoal[level];
    sheet.secondTime = state.levels.levelGoal2[level];
    sheet.limit = drill.timeLimitSeconds;
    sheet.runToday = static_cast<qint32>(today) + 1;
    sheet.runOnLevel = static_cast<qint32>(state.figures.todayCount.at(level, pupil)) + 1;
    m_statusBar->startSheet(sheet);
    sTimer2_Timer();
}

bool DrillForm::preparePractice() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    QString error;
    if (!readPracticeBasis(state.config.programDataFolder, state.pupil.currentPupil, 0, &m_basis, &error)) {
        // A sheet of unseen pairs would tell the child nothing true: the family is told, and back it goes.
        m_context.dialogs.showMessage(
            state.config.contentHeading,
            QStringLiteral("解答記録を読めないため、苦手れんしゅうを始められません。"
                           "\n\n（おうちの方へ）") +
                error,
            Dialogs::Icon::Warning);
        if (isFrontPage())
            backToMenu();
        return false;
    }
    m_sheet = PracticeSheet(m_basis, m_context.random);
    m_practiceAt = 0;
    drill.timeLimitSeconds = 0;
    SheetHeading sheet;
    sheet.heading = QStringLiteral("苦手れんしゅう");
    sheet.pupilName = state.pupil.currentPupilName.trimmed();
    sheet.siteName = state.config.schoolName;
    sheet.levelName = state.levels.levelName[std::clamp(m_sheet.level(), 1, kMaxLevel)];
    m_statusBar->startSheet(sheet);
    m_statusBar->showUntimed();
    lblPracticeStart->setText(QStringLiteral("まだ答えの記録がないので、まだ出ていない組から順に出します。"));
    lblPracticeStart->setVisible(!m_basis.answered());
    sTimer2_Timer();
    return true;
}

int DrillForm::sheetLevel() const {
    return m_practice ? m_sheet.level() : m_context.state.pupil.currentLevel;
}

void DrillForm::レベル別設定() {
    const int questions = m_practice ? static_cast<int>(m_sheet.questions().size()) : 10;
    m_context.state.drill.questionsPerSheet = static_cast<qint16>(questions);
    m_statusBar->showRemaining(questions);
}

void DrillForm::スタート() {
    RunningDrill& drill = m_context.state.drill;
    drill.drillStartTime = m_context.clock.secondsSinceMidnight();
    drill.drillStartMs = m_context.clock.monotonicMs();
    // The time of the sheet before must not stand for this one until the first tick.
    drill.elapsedSeconds = 0;
    m_recorder.start(m_context.state.pupil.currentPupil, sheetLevel(), m_context.clock.now(),
                     m_practice ? DrillKind::Practice : DrillKind::Drill);
    sTimer1->start();
}

void DrillForm::問題作成表示() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    if (drill.timeUp || drill.sheetFinished || drill.judgingBusy)
        return;
    const int level = sheetLevel();
    if (m_practice)
        m_question = m_sheet.questions().at(m_practiceAt).question;
    else
        m_question = drawQuestion(level, m_context.random, drill.previousQuotient, drill.previousDivisor);
    m_recorder.questionShown(m_question, m_context.clock.monotonicMs());
    const bool remainder = levelHasRemainder(level);
    m_panel->showQuestion(m_question, remainder);
    m_cells.newQuestion(remainder ? 2 : 1);
    m_panel->showCells(m_cells);
}

void DrillForm::showRemaining() {
    const RunningDrill& drill = m_context.state.drill;
    m_statusBar->showRemaining(drill.questionsPerSheet - drill.solvedCount);
}

bool DrillForm::previewKey(QKeyEvent* event) {
    if (m_ending)
        return true;
    if (m_practiceResult->isVisible()) {
        // The short result: Enter, Space or 0 goes back to the menu; other keys do nothing.
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_0 ||
            key == Qt::Key_Escape)
            backToMenu();
        return true;
    }
    const bool modifier =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    keyDown(event->key(), modifier);
    if (m_ending)
        return true;
    // Delete types no character on the keyboards the drill was made for; Backspace types code 8.
    if (event->key() == Qt::Key_Backspace)
        character(AnswerCells::kBackspace);
    else if (event->key() != Qt::Key_Delete && !event->text().isEmpty())
        character(event->text().at(0).unicode());
    return true;
}

void DrillForm::keyDown(int key, bool modifier) {
    if (m_context.state.drill.correctionState > 0)
        return;
    AnswerCells::Key cellKey;
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Down:
        cellKey = AnswerCells::Key::Clear;
        break;
    case Qt::Key_Up:
        cellKey = AnswerCells::Key::Up;
        break;
    case Qt::Key_Right:
        cellKey = AnswerCells::Key::Right;
        break;
    case Qt::Key_Left:
        cellKey = AnswerCells::Key::Left;
        break;
    case Qt::Key_Space:
        cellKey = AnswerCells::Key::Space;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cellKey = AnswerCells::Key::Enter;
        break;
    default:
        return;
    }
    if (m_cells.keyDown(cellKey, modifier) == AnswerCells::KeyOutcome::Judge)
        judgeOnRequest();
    else
        m_panel->showCells(m_cells);
}

void DrillForm::judgeOnRequest() {
    RunningDrill& drill = m_context.state.drill;
    const qint64 requestedMs = m_context.clock.monotonicMs();
    answerText = {m_cells.text(0), m_cells.text(1)};
    const bool judged = !drill.timeUp && !drill.sheetFinished;
    drill.judgingBusy = 1;
    判定();
    if (judged)
        m_recorder.judged(answerText[0], answerText[1], drill.judgement == 1, requestedMs);
    判定後処理();
    drill.judgingBusy = 0;
}

void DrillForm::character(char16_t code) {
    RunningDrill& drill = m_context.state.drill;
    if (drill.timeUp || drill.sheetFinished || drill.judgingBusy)
        return;
    if (drill.correctionState == 1 || drill.correctionState == 2) {
        correctionKey(code);
        return;
    }
    switch (m_cells.character(code)) {
    case AnswerCells::CharOutcome::Refused:
        // The cue blocks the window while it plays, so keys a child mashes meanwhile arrive only after it.
        // They are handled at once, and those refused too play no further cue: otherwise every mashed key
        // would queue one more warning and the window would not answer for seconds.
        if (m_refusedKeysSilent)
            break;
        playWarningCue(m_context);
        m_refusedKeysSilent = true;
        QCoreApplication::processEvents();
        m_refusedKeysSilent = false;
        break;
    case AnswerCells::CharOutcome::Typed:
        m_panel->showCells(m_cells);
        break;
    case AnswerCells::CharOutcome::Ignored:
        break;
    }
}

void DrillForm::correctionKey(char16_t code) {
    RunningDrill& drill = m_context.state.drill;
    // The two "+" must come in a row.
    if (code != u'+') {
        drill.correctionState = 1;
    } else if (drill.correctionState == 1) {
        drill.correctionState = 2;
    } else {
        drill.correctionState = 3;
        m_panel->showPlusHint(false);
        Commandkakunin_Click();
    }
}

void DrillForm::判定() {
    RunningDrill& drill = m_context.state.drill;
    if (drill.timeUp || drill.sheetFinished) {
        drill.judgingBusy = 0;
        return;
    }
    drill.judgement =
        answerIsCorrect(answerText[0], answerText[1], m_question.quotient, m_question.remainder) ? 1 : 2;
}

void DrillForm::判定後処理() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    if (drill.timeUp || drill.sheetFinished)
        return;
    if (drill.judgement == 1) {
        drill.judgement = 0;
        if (!playCorrectCue(m_context))
            return programEnding();
        if (m_practice)
            return nextPracticeQuestion();
        ++drill.solvedCount;
        showRemaining();
        if (drill.solvedCount < drill.questionsPerSheet) {
            drill.judgingBusy = 0;
            m_cells.clearEditBuffer();
            問題作成表示();
        } else {
            sTimer1->stop();
            drill.sheetFinished = 1;
            endDrill();
        }
    } else if (drill.judgement == 2) {
        drill.correctionState = 1;
        // A target answered wrong comes back once at the end of a practice sheet.
        if (m_practice && m_sheet.answeredWrong(m_practiceAt, m_context.random))
            drill.questionsPerSheet = static_cast<qint16>(m_sheet.questions().size());
        m_panel->showCorrectAnswer(m_question, levelHasRemainder(sheetLevel()));
        QCoreApplication::processEvents();
        if (!playWrongCue(m_context))
            return programEnding();
        // A drill asks one more question for each wrong one; a practice sheet goes on with its own.
        if (!m_practice)
            drill.solvedCount = std::max(0, drill.solvedCount - 1);
        showRemaining();
        drill.judgingBusy = 0;
        m_panel->showPlusHint(true);
    }
}

void DrillForm::Commandkakunin_Click() {
    m_context.state.drill.correctionState = 0;
    m_panel->hideCorrection();
    m_cells.clearEditBuffer();
    if (m_practice)
        return nextPracticeQuestion();
    問題作成表示();
}

void DrillForm::nextPracticeQuestion() {
    RunningDrill& drill = m_context.state.drill;
    ++m_practiceAt;
    drill.solvedCount = static_cast<qint32>(m_practiceAt);
    showRemaining();
    if (m_practiceAt < m_sheet.questions().size()) {
        drill.judgingBusy = 0;
        m_cells.clearEditBuffer();
        問題作成表示();
        return;
    }
    sTimer1->stop();
    drill.sheetFinished = 1;
    endPractice();
}

void DrillForm::endPractice() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    if (!beginEnding())
        return;
    lblsss1->setText(QStringLiteral("記録中"));
    lblsss1->show();
    lblsss2->hide();
    QCoreApplication::processEvents();
    sTimer1->stop();
    // The result is the seconds the sheet took; the score files hear nothing of it.
    drill.elapsedSeconds = elapsedWholeSeconds(drill.drillStartMs, m_context.clock.monotonicMs());
    const QDateTime end = m_context.clock.now();
    const DrillLog done = m_recorder.finish(end, drill.elapsedSeconds);
    QString error;
    if (!keepPracticeAnswers(state.config, done, end, &error)) {
        m_context.dialogs.showMessage(state.config.contentHeading,
                                      QStringLiteral("今回の苦手れんしゅうの答えは、記録できませんでした。"
                                                     "\n\n（おうちの方へ）") +
                                          error,
                                      Dialogs::Icon::Warning);
    }
    // The answers are kept whatever happened meanwhile; the result is shown only on a form still in front.
    if (m_ending || !isFrontPage())
        return;
    sPicture2->hide();
    lblPracticeStart->hide();
    m_practiceResult->showOutcome(practiceOutcome(m_basis, m_sheet, done), levelHasRemainder(m_sheet.level()),
                                  drill.elapsedSeconds, m_basis.answered());
    m_practiceResult->show();
    m_practiceResult->raise();
}

void DrillForm::backToMenu() {
    if (m_leaving || m_ending)
        return;
    m_leaving = true;
    if (!m_forms.owner.show(FormId::seisekitime1))
        return programEnding();
    m_forms.owner.unload(FormId::MainFrm);
}

// The program holds no data file open between its own steps: every routine closes what it opens before it
// returns. So the points of the drill that would close the open files (a tick after the time ran out, a
// character typed after the end, every tenth minute, a second end) have nothing to do.
void DrillForm::sTimer1_Timer() {
    RunningDrill& drill = m_context.state.drill;
    drill.elapsedSeconds = elapsedWholeSeconds(drill.drillStartMs, m_context.clock.monotonicMs());
    if (m_practice) {
        // No limit and no best times: the clock only counts up.
        m_statusBar->showElapsed(drill.elapsedSeconds, {});
        return;
    }
    m_statusBar->showElapsed(drill.elapsedSeconds, countdownBoxesToHide(m_thresholds, drill.elapsedSeconds));
    QCoreApplication::processEvents();
    if (m_ending || !isFrontPage())
        return;
    m_statusBar->showTimeUsed(drill.elapsedSeconds, drill.timeLimitSeconds);
    if (drill.elapsedSeconds < drill.timeLimitSeconds)
        return;
    // While an answer is being judged the clock stays on, and the next tick ends the drill.
    if (!drill.drillEnding && !drill.sheetFinished && !drill.judgingBusy) {
        drill.timeUp = 1;
        sTimer1->stop();
        endDrill();
    }
}

void DrillForm::sTimer2_Timer() {
    const WorkingPupil& pupil = m_context.state.pupil;
    m_statusBar->showMinutes(minutesSinceStart(m_context.clock, pupil.startTimerMs, pupil.startTimer));
}

bool DrillForm::beginEnding() {
    RunningDrill& drill = m_context.state.drill;
    QCoreApplication::processEvents();
    if (drill.drillEnding || m_ending || !isFrontPage())
        return false;
    drill.drillEnding = 1;
    sPicture2->show();
    sPicture2->raise();
    return true;
}

void DrillForm::endDrill() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    if (!beginEnding())
        return;
    lblsss1->setVisible(!drill.timeUp);
    lblsss2->setVisible(drill.timeUp);
    QCoreApplication::processEvents();

    sTimer1->stop();
    drill.finalTime = drill.timeUp ? kNoResult : drill.elapsedSeconds;
    // The answers are kept with the run, so they reach the log even when it cannot take them now; that is
    // the data tool's to report, not the child's to see.
    const QDateTime end = m_context.clock.now();
    if (!recordDrillResult(m_context, state.pupil.currentLevel,
                           answerLogPart(state.config, end, m_recorder.finish(end, drill.finalTime))))
        return programEnding();
    if (!m_forms.owner.show(FormId::BASEFRM))
        return programEnding();
    QCoreApplication::processEvents();
    if (!waitThenShowResult(m_forms, 1.0))
        programEnding();
}

} // namespace warizan
