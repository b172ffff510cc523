#pragma once

#include "answers/answer_log.h"
#include "answers/practice_sheet.h"
#include "drill/answer.h"
#include "drill/drill_clock.h"
#include "drill/question.h"
#include "screens/design_form.h"
#include "screens/form_owner.h"

#include <array>

class QLabel;
class QTimer;

namespace warizan {

class DrillPanel;
class DrillStatusBar;
class PracticeResultPanel;

// The drill form `MainFrm`: the status bar with its clock, time bar and countdown boxes (DrillStatusBar)
// above the drill panel (DrillPanel), where one question at a time is asked, answered in the answer cells,
// judged and, when wrong, corrected; over both, the overlay of the drill's end. Controls keep their design
// names; control arrays are indexed as designed ("Keisan2Lbl1_0"). A 苦手れんしゅう sheet (RunningDrill::
// practice) runs in the same form with the same cells, keys, judging, correction and cues: its questions
// come from the fact map, the clock counts up without a limit, nothing goes to the score files, and at its
// end the short result (PracticeResultPanel) leads back to the level menu.
class DrillForm final : public DesignForm {
    Q_OBJECT
public:
    explicit DrillForm(FormContext& context, QWidget* parent = nullptr);

    // Seeds the random numbers from the time of day and places the status bar, the overlay and the panel.
    [[nodiscard]] bool load() override;
    // Sets up the sheet and asks the first question: 初期設定, レベル別設定, スタート, 問題作成表示.
    void activate() override;

    void 初期設定();
    void レベル別設定();
    void スタート();
    // Draws and shows a new question with empty cells; does nothing while the time is up, the sheet is
    // finished or an answer is being judged.
    void 問題作成表示();
    void 判定();
    void 判定後処理();
    // The end of the drill (time up or sheet complete): runs once, records the run, and leads on to the
    // result screen.
    void endDrill();
    // Shows the overlay of the sheet's end, once; false when the sheet is ending already or the form is no
    // longer in front, and nothing more is to be done.
    bool beginEnding();
    // The drill clock's tick and the minutes timer's tick.
    void sTimer1_Timer();
    void sTimer2_Timer();
    // Ends a correction and asks the next question.
    void Commandkakunin_Click();
    // The end of a practice sheet: its answers to the answer log, then its short result.
    void endPractice();
    // From the practice result back to the level menu.
    void backToMenu();

    const Question& question() const { return m_question; }
    const AnswerCells& cells() const { return m_cells; }

protected:
    bool previewKey(QKeyEvent* event) override;

private:
    void buildOverlay();
    // Reads the pupil's fact map and draws the practice sheet; false (the family told why, the level menu
    // shown again) when the answer log cannot be read.
    bool preparePractice();
    void nextPracticeQuestion();
    int sheetLevel() const;
    void keyDown(int key, bool modifier);
    void character(char16_t code);
    void correctionKey(char16_t code);
    void judgeOnRequest();
    void showRemaining();
    // The program is ending (a sound failure or a record that could not be written): nothing more is done.
    void programEnding() { m_ending = true; }

    DrillStatusBar* m_statusBar;
    DrillPanel* m_panel;
    // End-of-drill overlay.
    QWidget* sPicture2;
    QLabel* lblsss1; // "成績記録中"
    QLabel* lblsss2; // "時間切れ"
    QTimer* sTimer1; // the drill clock
    QTimer* sTimer2; // the minutes since the pupil was confirmed
    FormContext& m_forms;
    AppContext& m_context;
    AnswerCells m_cells;
    Question m_question;
    std::array<QString, 2> answerText;
    CountdownThresholds m_thresholds;
    DrillRecorder m_recorder; // the drill's questions, kept in the answer log when it ends
    bool m_ending = false;
    // The practice sheet, when this sheet is one.
    bool m_practice = false;
    PracticeBasis m_basis;
    PracticeSheet m_sheet;
    size_t m_practiceAt = 0;  // the question on the screen
    QLabel* lblPracticeStart; // what a sheet without answers before is made of
    PracticeResultPanel* m_practiceResult;
    bool m_leaving = false;
    // Set while the keys typed during a warning cue are handled: refused ones play no cue of their own.
    bool m_refusedKeysSilent = false;
};

} // namespace warizan
