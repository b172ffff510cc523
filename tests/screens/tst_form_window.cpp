#include "screens/design_form.h"
#include "test_forms.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace warizan;

namespace {

// A form that counts what the owner and the keyboard do to it.
class ProbeForm final : public DesignForm {
public:
    explicit ProbeForm(bool loads = true)
        : DesignForm(0x008080)
        , m_loads(loads) {
        button = new QPushButton(QStringLiteral("button"), canvas());
        edit = new QLineEdit(canvas());
    }
    bool load() override { return m_loads; }
    void activate() override { ++activations; }
    std::function<bool(QKeyEvent*)> onKey;
    int activations = 0;
    int previews = 0;
    QPushButton* button;
    QLineEdit* edit;

protected:
    bool previewKey(QKeyEvent* event) override {
        ++previews;
        return onKey ? onKey(event) : false;
    }

private:
    bool m_loads;
};

} // namespace

// The one window: pages shown, activated and unloaded by the owner; keys previewed once.
class FormWindowTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void previewsEachTypedKeyOnce_data();
    void previewsEachTypedKeyOnce();
    void activatesOnBecomingCurrentOnly();
    void formMayUnloadItselfFromItsHandler();
    void formUnloadedWhileItsHandlerWaitsLivesUntilTheHandlerReturns_data();
    void formUnloadedWhileItsHandlerWaitsLivesUntilTheHandlerReturns();
    void failedLoadDropsThePage();

private:
    std::unique_ptr<test::TestForms> forms;
    ProbeForm* a = nullptr;
    ProbeForm* b = nullptr;
    bool bLoads = true;
};

void FormWindowTest::init() {
    forms = std::make_unique<test::TestForms>();
    bLoads = true;
    forms->window.setFactory(FormId::seisekitime1, [this] { return a = new ProbeForm; });
    forms->window.setFactory(FormId::MainFrm, [this] { return b = new ProbeForm(bLoads); });
    forms->window.present();
}

void FormWindowTest::previewsEachTypedKeyOnce_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("previews");
    // A button ignores a digit, so the key is offered to the canvas, the page and the window in turn.
    QTest::newRow("button that ignores the key") << "button" << 1;
    QTest::newRow("text box that takes it") << "edit" << 1;
    QTest::newRow("nothing has the focus") << "none" << 1;
    QTest::newRow("a dialog over the page") << "dialog" << 0;
}

void FormWindowTest::previewsEachTypedKeyOnce() {
    QFETCH(QString, focus);
    QFETCH(int, previews);
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QDialog dialog(&forms->window);
    auto* inDialog = new QLineEdit(&dialog);
    if (focus == u"button") {
        a->button->setFocus();
    } else if (focus == u"edit") {
        a->edit->setFocus();
    } else if (focus == u"dialog") {
        dialog.show();
        inDialog->setFocus();
        QTest::keyClick(inDialog, Qt::Key_5);
    } else {
        a->edit->clearFocus();
        a->button->clearFocus();
    }
    if (focus != u"dialog")
        test::typeKey(forms->window, Qt::Key_5);
    QCOMPARE(a->previews, previews);
}

void FormWindowTest::activatesOnBecomingCurrentOnly() {
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QVERIFY(forms->window.show(FormId::MainFrm));
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QVERIFY(forms->window.show(FormId::seisekitime1)); // already current: no activation
    QCOMPARE(a->activations, 2);
    QCOMPARE(b->activations, 1);
    QCOMPARE(forms->window.currentForm(), a);

    QDialog about;
    QTimer::singleShot(0, &about, &QDialog::accept);
    forms->window.runModal(about);
    QCOMPARE(about.parentWidget(), &forms->window);
    // The page under the program's own modal form stays as it was, and so after a message box.
    QCOMPARE(a->activations, 2);
    QCOMPARE(b->activations, 1);
    forms->test.dialogs.showMessage(QStringLiteral("t"), QStringLiteral("m"), Dialogs::Icon::None);
    QCOMPARE(a->activations, 2);
}

void FormWindowTest::formMayUnloadItselfFromItsHandler() {
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QPointer<ProbeForm> first = a;
    a->onKey = [this](QKeyEvent*) {
        forms->window.unload(FormId::seisekitime1);
        return forms->window.show(FormId::MainFrm);
    };
    a->edit->setFocus();
    test::typeKey(forms->window, Qt::Key_1);
    QVERIFY(!forms->window.isLoaded(FormId::seisekitime1));
    QCOMPARE(forms->window.currentForm(), b);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    // Shown again, the form is loaded afresh.
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QCOMPARE(a->activations, 1);
}

void FormWindowTest::formUnloadedWhileItsHandlerWaitsLivesUntilTheHandlerReturns_data() {
    QTest::addColumn<QString>("wait");
    QTest::newRow("pending events run") << "processEvents";
    QTest::newRow("a message box") << "dialog";
}

// A handler lets events run; meanwhile another handler moves to another form and unloads this one. The
// waiting handler must still find its form whole, see that it is no longer in front, and the form goes only
// when it has returned.
void FormWindowTest::formUnloadedWhileItsHandlerWaitsLivesUntilTheHandlerReturns() {
    QFETCH(QString, wait);
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QPointer<ProbeForm> first = a;
    bool inFrontAfterWait = true;
    bool loadedAfterWait = true;
    QString textAfterWait;
    a->onKey = [&](QKeyEvent*) {
        ProbeForm* self = a;
        // Another handler, run while this one waits, goes back to another form as a key "0" would.
        QTimer::singleShot(0, &forms->window, [this] {
            forms->window.unload(FormId::seisekitime1);
            (void)forms->window.show(FormId::MainFrm);
        });
        if (wait == u"dialog") {
            QDialog box(&forms->window);
            QTimer::singleShot(20, &box, &QDialog::accept);
            box.exec();
        } else {
            for (int i = 0; i < 5; ++i) {
                QTest::qWait(5);
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        }
        inFrontAfterWait = self->isFrontPage();
        loadedAfterWait = self->isLoadedPage();
        textAfterWait = self->button->text();
        return true;
    };
    a->edit->setFocus();
    test::typeKey(forms->window, Qt::Key_0);
    QVERIFY(!inFrontAfterWait);
    QVERIFY(!loadedAfterWait);
    QCOMPARE(textAfterWait, QStringLiteral("button"));
    QCOMPARE(forms->window.currentForm(), b);
    // Once the handler has returned, the event loop deletes the unloaded form.
    QVERIFY(!first.isNull() && !first->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
}

void FormWindowTest::failedLoadDropsThePage() {
    bLoads = false;
    QVERIFY(forms->window.show(FormId::seisekitime1));
    QVERIFY(!forms->window.show(FormId::MainFrm));
    QVERIFY(!forms->window.isLoaded(FormId::MainFrm));
    QCOMPARE(forms->window.currentForm(), a);
    QCOMPARE(b->activations, 0);
}

WARIZAN_FORMS_TEST_MAIN(FormWindowTest)
#include "tst_form_window.moc"
