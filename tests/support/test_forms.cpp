#include "test_forms.h"

#include "app/program_forms.h"
#include "platform/gui/display.h"
#include "state/program_identity.h"

#include <QApplication>
#include <QPdfWriter>
#include <QtTest>

namespace warizan::test {

std::unique_ptr<QPagedPaintDevice> TestPrinter::startJob(const QString& documentName, QString* error) {
    if (name.isEmpty()) {
        if (error)
            *error = QStringLiteral("プリンターがありません。");
        return nullptr;
    }
    jobs.append(documentName);
    auto writer = std::make_unique<QPdfWriter>(pdfPath);
    writer->setPageSize(QPageSize(QPageSize::A4));
    return writer;
}

namespace {
// The display scale must be set before the window is built: its size comes from it.
quint32 themeAtDesignScale() {
    display::setScale(1.0);
    return kThemeColour;
}
} // namespace

TestForms::TestForms()
    : singleInstance(guardFolder.path())
    , window(themeAtDesignScale())
    , context{test.context, window, printer, singleInstance, documents} {
    test.state->config.themeColour = kThemeColour;
    test.state->config.contentHeading = contentTitle();
    test.state->config.programFolder = guardFolder.filePath(QStringLiteral("drill"));
    setProgramForms(window, context);
}

TestForms::~TestForms() = default;

void typeKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && window.isAncestorOf(focus) ? focus : &window, key, modifiers);
}

void typeText(QWidget& window, const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClicks(focus && window.isAncestorOf(focus) ? focus : &window, text);
}

} // namespace warizan::test
