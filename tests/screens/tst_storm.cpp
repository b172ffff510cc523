#include "app/program_forms.h"
#include "controls.h"
#include "platform/file_lock.h"
#include "platform/handler_scope.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "screens/selection/selection_screen.h"
#include "suite_forms.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <random>

using namespace warizan;

// A child mashing keys: input arrives while handlers let events run, and may move to another form and
// unload the one whose handler is waiting. Run under AddressSanitizer, with freed memory scribbled over, a
// form used after it was deleted ends the test.
class StormTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void zeroAndAKeyAtOnceOnTheLevelMenu_data();
    void zeroAndAKeyAtOnceOnTheLevelMenu();
    void pupilConfirmedWhileTheListWaits_data();
    void pupilConfirmedWhileTheListWaits();
    void keysAndClicksOverEveryScreen();

private:
    std::unique_ptr<test::SuiteForms> setup;
    test::TestForms* forms = nullptr;
    RecordingDialogs* dialogs = nullptr;
};

namespace {

const QString kFamily = QStringLiteral("1,2012,0,0,\"さくら\",0,\"\",\"\"\n"
                                       "2,2016,0,0,\"はると\",0,\"\",\"\"\n");

QWidget* keyTarget(QWidget& window) {
    QWidget* focus = QApplication::focusWidget();
    return focus && window.isAncestorOf(focus) ? focus : &window;
}

// Queues a key as the window system does: it is handled by whichever handler next lets events run.
void postKey(QWidget& window, Qt::Key key, const QString& text = {}) {
    QWidget* target = keyTarget(window);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

// Queues a step to run the same way.
void postStep(QObject* context, std::function<void()> step) {
    QMetaObject::invokeMethod(context, std::move(step), Qt::QueuedConnection);
}

// Picks the first pupil of the list and presses O.K.
void confirmFirstPupil(SelectionScreen& names) {
    QListWidget& list = *test::control<QListWidget>(names, "List1");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
    QTest::mouseClick(test::control<QPushButton>(names, "Command14"), Qt::LeftButton);
}

QString currentName(const FormWindow& window) {
    const DesignForm* form = window.currentForm();
    return form ? form->objectName() : QString();
}

// A child at the keyboard and the mouse: each step queues one input for the screen in front (a key, a click
// on a line of a list, a click on a button), seeded so that a failing storm can be run again.
class Storm final {
public:
    explicit Storm(test::TestForms& forms)
        : m_forms(forms)
        , m_dialogs(forms.test.dialogs) {}

    void step() {
        // A "0" queued before the names came back leaves the program from them, as it should: the family
        // would start it again. Only an end with a message is a fault.
        if (m_dialogs.ended && m_dialogs.messages.empty()) {
            m_dialogs.ended = false;
            ++exits;
        }
        // Handlers that let events run take the next input at once, and that one's handler the next: the
        // nesting is kept to a few levels, as a child's typing speed keeps it in the program.
        if (HandlerScope::depth() > 4)
            return;
        const QString now = currentName(m_forms.window);
        // Leaving from the selection screen would end the program: its "0" and 終了 are left out.
        const bool onNames = now == u"namesel";
        if (now != m_lastSeen) {
            ++m_appearances[now];
            m_lastSeen = now;
            if (!onNames)
                postKey(m_forms.window, Qt::Key_0, QStringLiteral("0"));
        }
        m_forms.test.clock.advanceMs(pick(4000));
        ++m_inputs;
        DesignForm* form = m_forms.window.currentForm();
        if (form && pick(4) == 0 && clickAListLine(*form))
            return;
        if (form && pick(4) == 0) {
            clickAButton(*form, onNames);
            return;
        }
        // A close request of the window system (Alt+F4), which the screens handle as their way back.
        if (!onNames && pick(10) == 0) {
            QCoreApplication::postEvent(&m_forms.window, new QCloseEvent);
            return;
        }
        typeAKey(onNames);
    }

    bool everyScreenSeen() const {
        for (const char* name : {"namesel", "seisekitime1", "MainFrm", "FrmSyuuryou"}) {
            if (m_appearances.value(QString::fromLatin1(name)) < 3)
                return false;
        }
        return m_inputs >= 1500;
    }
    bool endedByFault() const { return m_dialogs.ended && !m_dialogs.messages.empty(); }
    // The inputs given and how often each screen came up.
    QString seen() const {
        QStringList parts{QStringLiteral("inputs %1").arg(m_inputs)};
        for (auto it = m_appearances.cbegin(); it != m_appearances.cend(); ++it)
            parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        return parts.join(QStringLiteral(", "));
    }

    int exits = 0; // the times a queued "0" left the program from the names

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    // A click on a line of a list (the names, the level menu's lists); false when the form shows none.
    bool clickAListLine(DesignForm& form) {
        QList<QListWidget*> lists;
        for (QListWidget* l : form.findChildren<QListWidget*>()) {
            if (l->isVisible() && l->isEnabled() && l->count() > 0)
                lists.append(l);
        }
        if (lists.isEmpty())
            return false;
        QPointer<QListWidget> list = lists[pick(int(lists.size()))];
        const int row = pick(int(list->count()));
        const bool twice = pick(3) == 0;
        postStep(list, [list, row, twice] {
            if (!list || row >= list->count())
                return;
            const QPoint at = list->visualItemRect(list->item(row)).center();
            if (twice)
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            else
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        });
        return true;
    }

    void clickAButton(DesignForm& form, bool onNames) {
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : form.findChildren<QAbstractButton*>()) {
            // A practice sheet has no time limit, so the storm, which comes round to the result screen by
            // sheets running out of time, would wander in it: its own test drives it with real keys.
            if (b->isVisible() && b->isEnabled() && !(onNames && b->objectName() == u"Command7") &&
                b->objectName() != u"CommandPractice")
                buttons.append(b);
        }
        if (!buttons.isEmpty())
            QMetaObject::invokeMethod(buttons[pick(int(buttons.size()))], &QAbstractButton::click,
                                      Qt::QueuedConnection);
    }

    void typeAKey(bool onNames) {
        struct Key {
            Qt::Key key;
            const char* text;
        };
        static const Key keys[] = {{Qt::Key_0, "0"},       {Qt::Key_1, "1"},     {Qt::Key_2, "2"},
                                   {Qt::Key_3, "3"},       {Qt::Key_7, "7"},     {Qt::Key_Space, " "},
                                   {Qt::Key_Return, "\r"}, {Qt::Key_Plus, "+"},  {Qt::Key_Backspace, "\b"},
                                   {Qt::Key_Down, ""},     {Qt::Key_Up, ""},     {Qt::Key_Right, ""},
                                   {Qt::Key_Left, ""},     {Qt::Key_Delete, ""}, {Qt::Key_Escape, "\x1b"}};
        const Key& k = keys[pick(int(std::size(keys)))];
        if (onNames && k.key == Qt::Key_0)
            return;
        postKey(m_forms.window, k.key, QString::fromLatin1(k.text));
    }

    test::TestForms& m_forms;
    RecordingDialogs& m_dialogs;
    std::mt19937 m_random{20261208};
    QMap<QString, int> m_appearances;
    QString m_lastSeen;
    int m_inputs = 0;
};

} // namespace

void StormTest::init() {
    setup = std::make_unique<test::SuiteForms>(kFamily);
    forms = &setup->forms;
    dialogs = &forms->test.dialogs;
    // Every form is the program's own here, the level menu too.
    setProgramForms(forms->window, forms->context);
    forms->window.present();
    QVERIFY(forms->window.show(FormId::namesel));
}

void StormTest::cleanup() {
    setup.reset();
}

void StormTest::zeroAndAKeyAtOnceOnTheLevelMenu_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 then Space") << int(Qt::Key_Space) << " ";
    QTest::newRow("0 then 1") << int(Qt::Key_1) << "1";
    QTest::newRow("0 then Enter") << int(Qt::Key_Return) << "\r";
    QTest::newRow("0 then 0") << int(Qt::Key_0) << "0";
}

void StormTest::zeroAndAKeyAtOnceOnTheLevelMenu() {
    QFETCH(int, key);
    QFETCH(QString, text);
    for (int attempt = 0; attempt < 10; ++attempt) {
        auto* names = forms->shown<SelectionScreen>(FormId::namesel);
        QVERIFY2(names && forms->window.currentForm() == names, qPrintable(currentName(forms->window)));
        // Confirmed 0.6 s into a second, the start's time of day is rounded up past the clock.
        forms->test.clock.setNow(QDateTime(QDate(2024, 4, 10), QTime(10, attempt, 0, 600)));
        confirmFirstPupil(*names);
        test::SuiteForms::settle();
        QCOMPARE(currentName(forms->window), QStringLiteral("seisekitime1"));
        QCOMPARE(test::shownText(*forms->window.currentForm(), "Label17"), QStringLiteral("起動後0分"));
        postKey(forms->window, Qt::Key_0, QStringLiteral("0"));
        postKey(forms->window, Qt::Key(key), text);
        test::SuiteForms::settle();
        if (currentName(forms->window) == u"seisekitime1") {
            // The second key came after the names were back and confirmed the pupil again.
            postKey(forms->window, Qt::Key_0, QStringLiteral("0"));
            test::SuiteForms::settle();
        }
        QCOMPARE(currentName(forms->window), QStringLiteral("namesel"));
        QVERIFY(!forms->window.isLoaded(FormId::seisekitime1));
        // A second "0" that reaches the names leaves the program, as it should; nothing else ends it.
        QVERIFY(!dialogs->ended || key == Qt::Key_0);
        dialogs->ended = false;
    }
    QVERIFY(dialogs->messages.empty());
}

void StormTest::pupilConfirmedWhileTheListWaits_data() {
    QTest::addColumn<QString>("cause");
    QTest::newRow("roster being replaced") << "roster";
    QTest::newRow("score file locked by another copy") << "lock";
}

// The list is rebuilt after a change of display mode and has to wait; meanwhile a name is picked and
// confirmed, and the level menu comes up. The selection screen's wait must end without touching anything
// more of its own, and the menu stays in front.
void StormTest::pupilConfirmedWhileTheListWaits() {
    QFETCH(QString, cause);
    auto* names = forms->shown<SelectionScreen>(FormId::namesel);
    QVERIFY(names);
    const QString roster = setup->rosterPath();
    const QString aside = roster + QStringLiteral(".aside");
    QFile scores(scoreFilePath(setup->config()));
    FileLock lock(scores);
    if (cause == u"roster") {
        QVERIFY(QFile::rename(roster, aside));
    } else {
        QVERIFY(scores.open(QIODevice::ReadWrite));
        QVERIFY(lock.tryLockExclusive());
    }
    int waits = 0;
    postStep(names, [&] {
        ++waits;
        // The other program is done just as the pupil is confirmed.
        if (cause == u"roster")
            QVERIFY(QFile::rename(aside, roster));
        else
            lock.unlock();
        confirmFirstPupil(*names);
        QCOMPARE(currentName(forms->window), QStringLiteral("seisekitime1"));
    });
    QTest::mouseClick(test::control<QRadioButton>(*names, "Option1", 2), Qt::LeftButton);
    test::SuiteForms::settle();
    QCOMPARE(waits, 1);
    QCOMPARE(currentName(forms->window), QStringLiteral("seisekitime1"));
    QVERIFY(!forms->window.isLoaded(FormId::namesel));
    QVERIFY(!dialogs->ended);
    QVERIFY(dialogs->messages.empty());
}

// Random keys and clicks a few milliseconds apart over every screen, and "0" the moment a screen appears.
// The test clock runs fast, so sheets run out of time and the result screen comes up again and again.
void StormTest::keysAndClicksOverEveryScreen() {
    Storm storm(*forms);
    QTimer timer;
    timer.setInterval(3);
    connect(&timer, &QTimer::timeout, this, [&storm] { storm.step(); });
    timer.start();
    QTRY_VERIFY2_WITH_TIMEOUT(storm.everyScreenSeen() || storm.endedByFault(), qPrintable(storm.seen()),
                              200'000);
    timer.stop();
    test::SuiteForms::settle();
    QVERIFY2(!storm.endedByFault(),
             qPrintable(dialogs->messages.empty() ? QString() : dialogs->messages.back().text));
    const DesignForm* current = forms->window.currentForm();
    QVERIFY(current && current->isLoadedPage());
    qInfo("%s, left from the names %d times", qPrintable(storm.seen()), storm.exits);
    // Every sheet that ended is on file whole.
    QCOMPARE(QFileInfo(scoreFilePath(setup->config())).size() % kScoreRecordLength, 0);
}

WARIZAN_FORMS_TEST_MAIN(StormTest)
#include "tst_storm.moc"
