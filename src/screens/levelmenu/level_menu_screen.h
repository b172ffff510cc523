#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"

#include <array>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace warizan {

class ReportPanel;
struct ScoreListChoice;

// The level menu `seisekitime1`: one column per level with its start button, goal, the pupil's figures and
// a list of the family's rankings or runs; around them the header, the instructions, the list choices and
// the way back. Unloaded when a drill starts and loaded afresh afterwards, so every choice that must
// outlive it is kept in the program state.
//
// The per-level controls are arrays indexed by column number; element 0 is the hidden design-time template
// the columns 1..levelCount are laid out from.
class LevelMenuScreen final : public DesignForm {
    Q_OBJECT
public:
    explicit LevelMenuScreen(FormContext& context, QWidget* parent = nullptr);

    [[nodiscard]] bool load() override;
    void activate() override;
    // A close request goes back to the selection screen as "戻る(0)" does, unless a drill is starting.
    void closeRequested() override;

    // Starts a drill on `level` unless its start button is disabled. From the start button the wait panel is
    // shown, further keys are refused and the menu unloads itself; from the level's name or key the drill's
    // own start unloads it.
    void startLevel(int level, bool fromStartButton);
    // Back to the selection screen ("戻る(0)", key "0").
    void goBack();
    // Sets the column heads and empties every column's list, before a list is built anew.
    void 回数など表示();
    // The unlocking pass: works out goalLevelCleared, enables the open levels' start buttons and hides the
    // markers of levels that no longer need one.
    void Command9_Click();
    // An empty procedure of the menu, kept for the buttons that call it.
    void kkk() {}

    // Per column (index = level; element 0 the template).
    std::vector<QLabel*> Label1;        // column number
    std::vector<QLabel*> Label3;        // level name; a click starts the level
    std::vector<QPushButton*> Command4; // start button
    std::vector<QLineEdit*> Text1;      // marker box beside the start button
    std::vector<QLabel*> Label7;        // goal line
    std::vector<QLabel*> Label8;        // recent line
    std::vector<QLabel*> Label9;        // head "今日"
    std::vector<QLabel*> Label10;       // head "今まで"
    std::vector<QLabel*> Label14;       // today
    std::vector<QLabel*> Label15;       // so far
    std::vector<QListWidget*> List5;    // the column's ranking or runs
    std::vector<QPushButton*> Command3; // "成績表示"

    QLabel* Label11;    // content heading
    QLabel* Label12;    // grade and pupil
    QLabel* Label13;    // site and pupil number
    QLabel* Label17;    // minutes since the pupil was confirmed
    QLabel* Label18;    // runs today
    QLabel* Label5;     // heading of the lists
    QLabel* Label4;     // caption "説明"
    QListWidget* List6; // instructions
    QLabel* Label6;
    QScrollBar* HScroll1;
    QPushButton* Command1;                  // "戻る(0)"
    QPushButton* Command9;                  // runs the unlocking pass
    QComboBox* Combo1;                      // grade filter
    QComboBox* Combo2;                      // the whole period
    QWidget* Picture1;                      // the option panel
    std::array<QRadioButton*, 3> Option2{}; // display mode: times, points, personal times
    std::array<QRadioButton*, 4> Option1{}; // the list within the mode, elements 1..3
    QPushButton* Command5;                  // today's runs
    QPushButton* Command6;                  // best results
    QPushButton* Command7;                  // runs of the period
    QPushButton* Command16;                 // the pupil's own times
    QPushButton* Command17;                 // the personal report ("グラフ")
    QWidget* Picture2;                      // wait panel
    QProgressBar* ProgressBar1;
    QWidget* Picture6; // progress panel
    QProgressBar* ProgressBar2;
    ReportPanel* Picture11; // the personal report panel

    // The personal list's level-1 chart figures of the last build.
    int chartCount = 0;
    qint64 chartSum = 0;
    qint32 chartLargest = 0;

protected:
    bool previewKey(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildColumn(int level);
    void placeColumns();
    void showWaitPanel();
    void showProgressPanel();

    // Option and list handlers.
    void onDisplayMode(int k);
    void onListChoice(int k);
    void finishListChange();
    void onGradeFilter();
    void onWholePeriod();
    void showRanking(int level);
    void showRankings();
    void showBestList();
    void showTodayList();
    void showPeriodList();
    void showPersonalList();
    void fillScoreLists(const ScoreListChoice& choice);
    void openPersonalReport();
    int selectedListChoice() const;

    FormContext& m_forms;
    AppContext& m_context;
    int m_levelCount = 0;
    double m_columnWidth = 0; // design pixels
    bool m_busy = false;      // a drill is being started
    bool m_loading = false;   // activation is selecting the initial options
    QButtonGroup* m_modeGroup;
    QButtonGroup* m_listGroup;
};

} // namespace warizan
