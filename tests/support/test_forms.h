#pragma once

#include "app/application.h"
#include "app/form_window.h"
#include "platform/gui/document_opener.h"
#include "platform/gui/printer.h"
#include "platform/single_instance.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QtTest>

namespace warizan::test {

// A printer for tests: none at all when `name` is empty, else one that writes each job to `pdfPath`.
class TestPrinter final : public Printer {
public:
    QString defaultPrinterName() const override { return name; }
    std::unique_ptr<QPagedPaintDevice> startJob(const QString& documentName, QString* error) override;
    QString name;
    QString pdfPath;
    QStringList jobs;
};

// Records the documents asked for; answers `result`.
class RecordingDocumentOpener final : public DocumentOpener {
public:
    bool open(const QString& path) override {
        opened.append(path);
        return result;
    }
    QStringList opened;
    bool result = true;
};

// The program's window with every form of the program, on the test doubles, ready to show a form as the
// program does. The single-instance guard is keyed on a folder of the test's own.
struct TestForms {
    TestForms();
    ~TestForms();
    TestContext test;
    QTemporaryDir guardFolder;
    SingleInstance singleInstance;
    TestPrinter printer;
    RecordingDocumentOpener documents;
    FormWindow window;
    FormContext context;

    template <typename T> T* shown(FormId id) const { return qobject_cast<T*>(window.form(id)); }
};

// Types one key as the keyboard does: to the widget with the focus, or to the window when none has it.
void typeKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(QWidget& window, const QString& text);

} // namespace warizan::test

// The main function of a test of forms: like QTEST_MAIN, on the program's own application object, which
// keeps an unloaded form alive until its running handlers have returned.
#define WARIZAN_FORMS_TEST_MAIN(TestObject)                                                                  \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_QAPP_SETUP(warizan::Application))
