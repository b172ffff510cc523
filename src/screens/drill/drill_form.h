#pragma once

#include "answers/answer_log.h"
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

// The drill form `MainFrm`: the status bar with its clock, time bar and countdown boxes (DrillStatusBar)
// above the drill panel (DrillPanel), where one question at a time is asked, answered in the answer cells,
// judged and, when wrong, corrected; over both, the overlay of the drill's end. Controls keep their design
// names; control arrays are indexed as designed ("Keisan2Lbl1_0").
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
    // The drill clock's tick and the minutes timer's tick.
    void sTimer1_Timer();
    void sTimer2_Timer();
    // Ends a correction and asks the next question.
    void Commandkakunin_Click();

    const Question& question() const { return m_question; }
    const AnswerCells& cells() const { return m_cells; }

protected:
    bool previewKey(QKeyEvent* event) override;

private:
    void buildOverlay();
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
    // Set while the keys typed during a warning cue are handled: refused ones play no cue of their own.
    bool m_refusedKeysSilent = false;
};

} // namespace warizan
