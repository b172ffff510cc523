#pragma once

#include <QWidget>

class QKeyEvent;

namespace warizan {

// Base of every form: a page of the one window in the form's background colour, with a canvas of the
// 1024 x 768 design space scaled by the display factor and centred. Controls are placed on canvas() in
// design coordinates mapped by display::rect(). The form owner runs load() once when it creates the page
// and activate() each time the page becomes current. A form sees typed keys before its controls do
// through previewKey().
class DesignForm : public QWidget {
    Q_OBJECT
public:
    explicit DesignForm(quint32 backgroundRgb, QWidget* parent = nullptr);
    ~DesignForm() override;

    QWidget* canvas() const { return m_canvas; }

    // The form's load steps. Returns false when they ended the program; the page is then dropped.
    [[nodiscard]] virtual bool load();
    // The form's activation steps.
    virtual void activate();
    // A request from the window system to close the window (Alt+F4, the title bar, the taskbar) while this
    // page is in front. The window never closes on it: the form leaves as its own way back does, or does
    // nothing where leaving now would cut work short (a drill, a save). The default does nothing.
    virtual void closeRequested();

    // Whether this form is the page in front, and whether it is still a page of the window at all. A
    // handler that let events run (processEvents, a cue, a message box, showing a form) checks one of them
    // before it goes on: meanwhile another handler may have moved to another form and unloaded this one,
    // which then lives only until its handlers have returned.
    bool isFrontPage() const;
    bool isLoadedPage() const;

protected:
    // Sees each key typed while this page is current exactly once, before the control with the focus.
    // Return true when the key is handled and must not reach that control.
    virtual bool previewKey(QKeyEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_canvas;
};

} // namespace warizan
