#pragma once

#include <QWidget>

class QKeyEvent;

namespace warizan {

// Base of every form: a top-level window in the theme's background with a canvas of the 1024 x 768 design
// space, scaled by the display factor and centred. Controls are placed on canvas() in design coordinates
// mapped by display::rect(). A form sees typed keys before its controls do through previewKey().
class DesignForm : public QWidget {
    Q_OBJECT
public:
    explicit DesignForm(quint32 backgroundRgb, QWidget* parent = nullptr);
    ~DesignForm() override;

    QWidget* canvas() const { return m_canvas; }
    // Full screen on a real display; the bare design size where there is no screen (offscreen tests).
    void present();

protected:
    // Return true when the key is handled and must not reach the control that has the focus.
    virtual bool previewKey(QKeyEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_canvas;
};

} // namespace warizan
