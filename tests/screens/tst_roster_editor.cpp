#include "controls.h"
#include "roster/roster_file.h"
#include "screens/roster_editor/roster_editor.h"
#include "screens/selection/selection_screen.h"
#include "screenshot.h"
#include "suite_forms.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace warizan;
using test::control;
using test::shownText;

Q_DECLARE_METATYPE(TextEncoding)

namespace {

QString line(int number, int year, int r3, int r4, const QString& name, int status, const QString& r7 = {}) {
    return QStringLiteral("%1,%2,%3,%4,\"%5\",%6,\"%7\",\"%8\"\n")
        .arg(number)
        .arg(year)
        .arg(r3)
        .arg(r4)
        .arg(name.leftJustified(20, u' '))
        .arg(status)
        .arg(r7.leftJustified(20, u' '), QString(20, u' '));
}

// The roster as another program of the suite wrote it: names not padded.
const QString kFamily = QStringLiteral("1,2014,7,8,\"たろう\",0,\"よび\",\"\"\n"
                                       "2,2017,0,0,\"はなこ\",0,\"\",\"\"\n"
                                       "3,1980,0,0,\"ちち\",5,\"\",\"\"\n");
const QString kFirst = line(1, 2014, 7, 8, QStringLiteral("たろう"), 0, QStringLiteral("よび"));
const QString kThird = line(3, 1980, 0, 0, QStringLiteral("ちち"), 5);

// Replaces the box's text as a family does: selects it, deletes it, and types the new text through the
// input method (Japanese text arrives as committed strings, not as key presses).
void retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    if (text.isEmpty())
        return;
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QCoreApplication::sendEvent(box, &typed);
}

} // namespace

class RosterEditorTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensInPlaceOfTheSelectionScreen();
    void saves_data();
    void saves();
    void backShowsTheNewNames();
    void refusesANameTheRosterCannotHold();
    void fewerThanThreeEntries();
    void rosterMissing_data();
    void rosterMissing();

private:
    RosterEditor& openEditor() {
        if (!forms->window.show(FormId::namesel))
            qFatal("the selection screen did not come up");
        control<QAction>(*forms->shown<SelectionScreen>(FormId::namesel), "menuname")->trigger();
        test::SuiteForms::settle();
        auto* editor = forms->shown<RosterEditor>(FormId::FrmName2);
        if (!editor)
            qFatal("the editor did not come up");
        return *editor;
    }
    void useRoster(const QString& text, TextEncoding encoding = TextEncoding::ShiftJis) {
        test::writeTextFile(setup->rosterPath(), text, encoding);
    }
    std::unique_ptr<test::SuiteForms> setup;
    test::TestForms* forms = nullptr;
    test::TestContext* t = nullptr;
};

void RosterEditorTest::init() {
    setup = std::make_unique<test::SuiteForms>(kFamily);
    forms = &setup->forms;
    t = &forms->test;
}

void RosterEditorTest::cleanup() {
    setup.reset();
}

void RosterEditorTest::opensInPlaceOfTheSelectionScreen() {
    RosterEditor& editor = openEditor();
    QCOMPARE(forms->window.currentForm(), &editor);
    QVERIFY(!forms->window.isLoaded(FormId::namesel));
    QCOMPARE(editor.objectName(), QStringLiteral("FrmName2"));
    QCOMPARE(shownText(editor, "Label4"), QStringLiteral("名前変更"));
    QCOMPARE(shownText(editor, "Label2"), QStringLiteral("名前"));
    QCOMPARE(shownText(editor, "Label1"), QStringLiteral("生まれた年"));
    QCOMPARE(shownText(editor, "Label3"), QStringLiteral("※生まれた年は早生まれの場合は1年引いてください"));
    QCOMPARE(shownText(editor, "Command1"), QStringLiteral("変更"));
    QCOMPARE(shownText(editor, "Command2"), QStringLiteral("もどる"));
    const QStringList names = {"たろう", "はなこ", "ちち"};
    const QStringList years = {"2014", "2017", "1980"};
    for (int row = 1; row <= 3; ++row) {
        QCOMPARE(control<QLineEdit>(editor, "Text1", row)->text(),
                 names[row - 1]); // saved padded, shown without the padding
        QCOMPARE(control<QLineEdit>(editor, "Text2", row)->text(), years[row - 1]);
        QVERIFY(control<QLineEdit>(editor, "Text1", row)->isEnabled());
    }
    test::saveScreenshot(forms->window, QStringLiteral("roster_editor"));
}

void RosterEditorTest::saves_data() {
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("name");   // typed into the second name box; null: left alone
    QTest::addColumn<QString>("year");   // typed into the second year box; null: left alone
    QTest::addColumn<QString>("second"); // the second line saved
    const auto S = TextEncoding::ShiftJis;
    QTest::newRow("only the second name changed, Shift-JIS")
        << S << QStringLiteral("じろう") << QString() << line(2, 2017, 0, 0, QStringLiteral("じろう"), 0);
    QTest::newRow("only the second name changed, UTF-8")
        << TextEncoding::Utf8 << QStringLiteral("じろう") << QString()
        << line(2, 2017, 0, 0, QStringLiteral("じろう"), 0);
    QTest::newRow("blanks trimmed then padded") << S << QStringLiteral("  じろう   ") << QString()
                                                << line(2, 2017, 0, 0, QStringLiteral("じろう"), 0);
    QTest::newRow("a 21-character name cut")
        << S << QStringLiteral("あいうえおかきくけこさしすせそたちつてとな") << QString()
        << line(2, 2017, 0, 0, QStringLiteral("あいうえおかきくけこさしすせそたちつてと"), 0);
    QTest::newRow("text typed after a shown name")
        << S << QStringLiteral("+こ") << QString() << line(2, 2017, 0, 0, QStringLiteral("はなここ"), 0);
    QTest::newRow("2015年 saves 2015")
        << S << QString() << QStringLiteral("2015年") << line(2, 2015, 0, 0, QStringLiteral("はなこ"), 0);
    QTest::newRow("empty year saves 0")
        << S << QString() << QStringLiteral("") << line(2, 0, 0, 0, QStringLiteral("はなこ"), 0);
}

void RosterEditorTest::saves() {
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, name);
    QFETCH(QString, year);
    QFETCH(QString, second);
    useRoster(kFamily, encoding);
    RosterEditor& editor = openEditor();
    if (name.startsWith(u'+')) {
        control<QLineEdit>(editor, "Text1", 2)->setFocus();
        QTest::keyClick(control<QLineEdit>(editor, "Text1", 2), Qt::Key_End);
        QInputMethodEvent typed;
        typed.setCommitString(name.mid(1));
        QCoreApplication::sendEvent(control<QLineEdit>(editor, "Text1", 2), &typed);
    } else if (!name.isNull()) {
        retype(control<QLineEdit>(editor, "Text1", 2), name);
    }
    if (!year.isNull())
        retype(control<QLineEdit>(editor, "Text2", 2), year);
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    QString expected = kFirst + second + kThird;
    expected.replace(u'\n', QStringLiteral("\r\n"));
    QCOMPARE(test::readBytes(setup->rosterPath()), encodeText(expected, encoding));
    QVERIFY(t->dialogs.messages.empty());
    QCOMPARE(forms->window.currentForm(), &editor);
}

void RosterEditorTest::backShowsTheNewNames() {
    RosterEditor& editor = openEditor();
    retype(control<QLineEdit>(editor, "Text1", 2), QStringLiteral("じろう"));
    retype(control<QLineEdit>(editor, "Text2", 2), QStringLiteral("2012"));
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(editor, "Command2"), Qt::LeftButton);
    test::SuiteForms::settle();
    QVERIFY(!forms->window.isLoaded(FormId::FrmName2));
    auto* screen = forms->shown<SelectionScreen>(FormId::namesel);
    QVERIFY(screen);
    QCOMPARE(forms->window.currentForm(), screen);
    QStringList shown;
    const QListWidget* list = control<QListWidget>(*screen, "List1");
    for (int i = 1; i < list->count(); ++i)
        shown.append(list->item(i)->text().section(u'　', 0, 0));
    // Born 2012 and 2014 on the test clock's day, 10 April 2024; ちち's status keeps her off the list.
    QCOMPARE(shown, QStringList({QStringLiteral("小6 じろう"), QStringLiteral("小4 たろう")}));
}

void RosterEditorTest::refusesANameTheRosterCannotHold() {
    RosterEditor& editor = openEditor();
    const QByteArray before = test::readBytes(setup->rosterPath());
    retype(control<QLineEdit>(editor, "Text1", 1), QStringLiteral("はると"));
    retype(control<QLineEdit>(editor, "Text1", 2), QStringLiteral("じろう😀"));
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    QCOMPARE(test::readBytes(setup->rosterPath()), before);
    QCOMPARE(t->dialogs.messages.size(), size_t(1));
    QCOMPARE(t->dialogs.messages[0].title, QStringLiteral("名前変更"));
    QCOMPARE(t->dialogs.messages[0].text,
             QStringLiteral("2行目の名前に、名簿ファイルに書けない文字「😀」があります。"
                            "その文字を使わずに入力してください。名簿は変更していません。"));
    QCOMPARE(forms->window.currentForm(), &editor);
    QVERIFY(control<QLineEdit>(editor, "Text1", 2)->hasFocus());
}

void RosterEditorTest::fewerThanThreeEntries() {
    useRoster(kFirst);
    RosterEditor& editor = openEditor();
    QVERIFY(control<QLineEdit>(editor, "Text1", 1)->isEnabled());
    for (int row = 2; row <= 3; ++row) {
        QVERIFY(!control<QLineEdit>(editor, "Text1", row)->isEnabled());
        QVERIFY(!control<QLineEdit>(editor, "Text2", row)->isEnabled());
        QVERIFY(control<QLineEdit>(editor, "Text1", row)->text().isEmpty());
    }
    retype(control<QLineEdit>(editor, "Text2", 1), QStringLiteral("2013"));
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    QCOMPARE(test::readBytes(setup->rosterPath()),
             encodeText(line(1, 2013, 7, 8, QStringLiteral("たろう"), 0, QStringLiteral("よび"))
                            .replace(u'\n', QStringLiteral("\r\n")),
                        TextEncoding::ShiftJis));
}

void RosterEditorTest::rosterMissing_data() {
    QTest::addColumn<bool>("atSave"); // else when the editor opens
    QTest::addColumn<bool>(
        "copyLeft"); // the copy an interrupted save leaves, which the selection screen restores
    QTest::newRow("at opening, copy left") << false << true;
    QTest::newRow("at opening, no copy") << false << false;
    QTest::newRow("at saving, copy left") << true << true;
    QTest::newRow("at saving, no copy") << true << false;
}

void RosterEditorTest::rosterMissing() {
    QFETCH(bool, atSave);
    QFETCH(bool, copyLeft);
    const QString roster = setup->rosterPath();
    const QString copy = setup->config().commonFolder + kRosterTempFileName;
    const QByteArray before = test::readBytes(roster);
    const auto takeRosterAway = [&] {
        if (copyLeft)
            QVERIFY(QFile::rename(roster, copy));
        else
            QVERIFY(QFile::remove(roster));
    };
    QVERIFY(forms->window.show(FormId::namesel));
    if (atSave) {
        RosterEditor& editor = openEditor();
        retype(control<QLineEdit>(editor, "Text1", 2), QStringLiteral("じろう"));
        takeRosterAway();
        QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    } else {
        takeRosterAway();
        control<QAction>(*forms->shown<SelectionScreen>(FormId::namesel), "menuname")->trigger();
    }
    test::SuiteForms::settle();

    // Told, and back on the selection screen, whose recovery restores the copy or ends the program.
    QVERIFY(!t->dialogs.messages.empty());
    QCOMPARE(t->dialogs.messages[0].title, QStringLiteral("名前変更"));
    QVERIFY(t->dialogs.messages[0].text.startsWith(
        QStringLiteral("名簿ファイル（生徒用名簿.txt）を読めません（ファイルが見つかりません）。")));
    QVERIFY(!forms->window.isLoaded(FormId::FrmName2));
    QVERIFY(forms->window.isLoaded(FormId::namesel));
    QCOMPARE(forms->window.currentForm(), forms->window.form(FormId::namesel));
    QCOMPARE(t->dialogs.ended, !copyLeft);
    QCOMPARE(t->dialogs.messages.size(), size_t(copyLeft ? 1 : 2));
    // Nothing was written: the roster is the copy, or there is none.
    QCOMPARE(test::readBytes(roster), copyLeft ? before : QByteArray());
    QVERIFY(!QFile::exists(copy));
    if (copyLeft)
        QCOMPARE(control<QListWidget>(*forms->shown<SelectionScreen>(FormId::namesel), "List1")->count(), 3);
}

WARIZAN_FORMS_TEST_MAIN(RosterEditorTest)
#include "tst_roster_editor.moc"
