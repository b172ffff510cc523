#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"

#include <QStringList>
#include <array>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace warizan {

// The home screen `namesel`: the family list with today's or all runs and points, the choice of a pupil,
// the way to the pupil's level menu, the roster editor, the help, the About box and the way out of the
// program. Controls keep their design names as object names.
class SelectionScreen final : public DesignForm {
    Q_OBJECT
public:
    explicit SelectionScreen(FormContext& context, QWidget* parent = nullptr);

    // The grade-filter entries in list order.
    static const QStringList& gradeFilterEntries();

    // The load step: seeds the random numbers, refuses to run beside another running copy (the "注意" box,
    // then the end of the program, with nothing else built), then shows the screen. Returns false when
    // the program is ending. The list is built by the activation that follows.
    [[nodiscard]] bool load() override;
    // Each time the screen becomes current: restores a roster an interrupted save left missing, starts
    // again from "全学年" and the display mode "ポイント（今日／今まで）" with the list rebuilt from the
    // roster and the score file, and closes the level menu.
    void activate() override;
    // A close request is this screen's way out, as the key "0" is: the launcher starts, the program ends.
    void closeRequested() override;

    // O.K. (the button, key "1", Enter or space in the list, a double-click on a pupil): with a pupil
    // chosen, makes the pupil the working one and shows the level menu; with nobody chosen, plays the
    // wrong-answer cue and does nothing else.
    void confirmPupil();
    // Starts the suite launcher and ends the program (the exit button, the menu "終了" and the key "0").
    void exitToLauncher();

    int displayMode() const { return m_displayMode; }
    const QString& gradeFilter() const { return m_gradeFilter; }

protected:
    bool previewKey(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Label4;     // heading: the drill's title; a click opens the About box
    QLabel* Image1;     // the drill window's icon
    QLabel* Label1;     // the chosen pupil, or the prompt
    QLabel* Label2;     // hidden: the chosen pupil's number
    QListWidget* List1; // item 0 the placeholder, then one line per pupil
    QListWidget* List3; // hidden: List3 item k is List1 item k + 1, with "*" and the pupil number
    QComboBox* Combo1;  // grade filter
    std::array<QRadioButton*, 4> Option1; // display modes, index = displayMode
    QPushButton* Command14;               // "O.K."
    QPushButton* Command7;                // "終了"
    QWidget* Picture5;                    // waiting panel
    QLabel* Label19;
    QMenuBar* menuBar;
    QMenu* menuFile;
    QAction* menuname; // "名前の変更"
    QAction* menuend;  // "終了"
    QMenu* menuHelp0;
    QAction* menuHelp2; // "目次"
    QAction* menuspt;   // "バージョン情報"

    void buildControls();
    void buildMenuBar();
    // Rebuilds the list for the current display mode and grade filter; false when the program is ending.
    bool rebuildList();
    void showWaitingPanel();
    void chooseDisplayMode(int mode);
    void chooseGradeFilter(int index);
    void listClicked(int row);
    void listDoubleClicked(int row);
    void openRosterEditor();
    void openHelp();

    FormContext& m_forms;
    AppContext& m_context;
    int m_displayMode = 0;
    QString m_gradeFilter;
    int m_listedCount = 0; // pupils the last build listed before the grade filter
};

} // namespace warizan
