#pragma once

#include "screens/form_owner.h"

#include <QWidget>
#include <functional>
#include <map>
#include <vector>

class QStackedWidget;

namespace warizan {

// The one full-screen window of the program. Every form is a page of its stack; this is the form owner
// that creates, shows and deletes them, from the factory set for each form.
class FormWindow final : public QWidget, public FormOwner {
    Q_OBJECT
public:
    using Factory = std::function<DesignForm*()>;
    using DialogFactory = std::function<QDialog*(QWidget* parent)>;

    explicit FormWindow(quint32 backgroundRgb);
    ~FormWindow() override;

    void setFactory(FormId id, Factory factory) { m_factories[id] = std::move(factory); }
    void setDialogFactory(DialogId id, DialogFactory factory) { m_dialogFactories[id] = std::move(factory); }

    bool show(FormId id) override;
    void unload(FormId id) override;
    bool isLoaded(FormId id) const override { return form(id) != nullptr; }
    DesignForm* form(FormId id) const override;
    DesignForm* currentForm() const override;
    void runModal(QDialog& dialog) override;
    void runModal(DialogId id, bool centred) override;
    // Full screen on a real display; the bare design size where there is no screen (offscreen tests).
    void present() override;
    QWidget* window() override { return this; }

    // The loaded forms, first loaded first.
    std::vector<DesignForm*> formsInLoadingOrder() const;
    // At the end of the program: closes the forms last loaded first, then the window.
    void closeForms();

protected:
    // A close request of the window system goes to the form in front (DesignForm::closeRequested); the
    // window itself closes only at the end of the program, or when the system ends the session.
    void closeEvent(QCloseEvent* event) override;

private:
    QStackedWidget* m_stack;
    std::map<FormId, Factory> m_factories;
    std::map<DialogId, DialogFactory> m_dialogFactories;
    std::vector<std::pair<FormId, DesignForm*>> m_loaded;
    bool m_closing = false; // the program or the session is ending: closes are taken
};

} // namespace warizan
