#pragma once

#include "screens/design_form.h"
#include "screens/form_owner.h"

class QLabel;
class QPushButton;
class QTimer;

namespace warizan {

// The result screen `FrmSyuuryou` ("終了"), shown after every timed drill: the time and the points it
// earned, today's run numbers, a banner for a record or a time-out, whether the level (and the goal level)
// now counts as cleared, with the cues that go with them; half a second later the way back to the menu and,
// unless the pupil should move on, another sheet on the same level.
class ResultScreen final : public DesignForm {
    Q_OBJECT
public:
    explicit ResultScreen(FormContext& context, QWidget* parent = nullptr);

    [[nodiscard]] bool load() override;
    // Recounts the figures and shows the run, then plays the cues (every time the screen becomes current).
    void activate() override;
    // A close request goes back to the menu as "メニューへ" does, once that button is offered; while the
    // run is being shown and its cues play it is refused.
    void closeRequested() override;

    // The delay's one tick: offers the buttons.
    void Timer1_Timer();
    void Command4_Click(); // "メニューへ"
    void Command5_Click(); // "もう一度"

private:
    QLabel* Image1; // background picture
    QLabel* Label15;
    QLabel* Label14;
    QLabel* Label16;
    QLabel* Label13;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QLabel* Label20;
    QLabel* Label2;
    QWidget* Picture1;
    QLabel* Label1;
    QPushButton* Command4;
    QPushButton* Command5;
    QTimer* Timer1;

    FormContext& m_forms;
    AppContext& m_context;
};

// The result screen's background: a sky over green hills with a sun, drawn for `size` (logical pixels) at
// the screen's `devicePixelRatio`.
QPixmap resultBackground(QSize size, qreal devicePixelRatio = 1.0);

} // namespace warizan
