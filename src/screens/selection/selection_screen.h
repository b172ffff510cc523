#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"

class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QAction;

namespace warizan {

// The home screen `namesel`: the family list, the choice of a pupil, and the way out of the program.
// Controls keep their design names as object names.
class SelectionScreen final : public DesignForm {
    Q_OBJECT
public:
    explicit SelectionScreen(FormContext& context, QWidget* parent = nullptr);

    // The load step: seeds the random numbers, refuses to run beside another running copy (the "注意" box,
    // then the end of the program, with nothing else built), then fills the screen. Returns false when the
    // program is ending.
    [[nodiscard]] bool load() override;

    // Starts the suite launcher and ends the program (the exit button, the menu "終了" and the key "0").
    void exitToLauncher();

    QLabel* Label4; // heading: the drill's title
    QLabel* Image1; // the drill window's icon
    QLabel* Label1; // the chosen pupil, or the prompt
    QListWidget* List1;
    QPushButton* Command7; // "終了"
    QWidget* Picture5;     // waiting panel
    QLabel* Label19;
    QMenuBar* menuBar;
    QMenu* menuFile;
    QAction* menuend;

protected:
    bool previewKey(QKeyEvent* event) override;

private:
    void buildControls();

    FormContext& m_forms;
    AppContext& m_context;
};

} // namespace warizan
