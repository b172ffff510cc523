#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"
#include "screens/levelmenu/list_options.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QScrollBar;

namespace warizan {

class ColumnsPanel;
class ReportPanel;

// The level menu `seisekitime1`: one column per level with its start button, goal, the pupil's figures and
// a list of the family's rankings or runs (ColumnsPanel); around them the header, the choice of lists
// (ListOptions), the instructions and the way back; over them the personal report (ReportPanel). Unloaded
// when a drill starts and loaded afresh afterwards, so every choice that must outlive it is kept in the
// program state.
class LevelMenuScreen final : public DesignForm {
    Q_OBJECT
public:
    explicit LevelMenuScreen(FormContext& context, QWidget* parent = nullptr);

    // Builds a column for each of the content's levels.
    [[nodiscard]] bool load() override;
    // Counts the score file and fills the header and the columns for the working pupil; no control is
    // built here.
    void activate() override;
    // A close request goes back to the selection screen as "戻る(0)" does, unless a drill is starting.
    void closeRequested() override;

    // Starts a drill on `level` unless its start button is disabled. From the start button the wait panel is
    // shown, further keys are refused and the menu unloads itself; from the level's name or key the drill's
    // own start unloads it.
    void startLevel(int level, bool fromStartButton);
    // Back to the selection screen ("戻る(0)", key "0").
    void goBack();
    // A 苦手れんしゅう sheet for the working pupil ("苦手れんしゅう(P)", key "P"): the wait panel is shown,
    // further keys are refused and the menu unloads itself, as from a start button.
    void startPractice();
    // The unlocking pass: works out goalLevelCleared, enables the open levels' start buttons and hides the
    // markers of levels that no longer need one.
    void Command9_Click();
    // An empty procedure of the menu, kept for the buttons that call it.
    void kkk() {}

    // The personal list's level-1 chart figures of its last build.
    const ChartFigures& chartFigures() const { return m_options->chartFigures(); }

protected:
    bool previewKey(QKeyEvent* event) override;

private:
    void buildControls();
    void buildWaitPanel();
    void placeColumns();
    void showWaitPanel();

    FormContext& m_forms;
    AppContext& m_context;
    int m_levelCount = 0;
    bool m_busy = false; // a drill is being started

    QLabel* Label11;    // content heading
    QLabel* Label12;    // grade and pupil
    QLabel* Label13;    // site and pupil number
    QLabel* Label17;    // minutes since the pupil was confirmed
    QLabel* Label18;    // runs today
    QLabel* Label4;     // caption "説明"
    QLabel* Label6;     // the keys that choose a level
    QListWidget* List6; // instructions
    QScrollBar* HScroll1;
    QPushButton* Command1;        // "戻る(0)"
    QPushButton* Command9;        // runs the unlocking pass
    QPushButton* CommandPractice; // "苦手れんしゅう(P)"
    QWidget* Picture2;            // wait panel
    QProgressBar* ProgressBar1;
    ColumnsPanel* m_columns;
    ListOptions* m_options;
    ReportPanel* Picture11; // the personal report panel
};

} // namespace warizan
