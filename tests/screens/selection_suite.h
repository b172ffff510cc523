#pragma once

#include "controls.h"
#include "screens/about/about_box.h"
#include "screens/selection/selection_screen.h"
#include "suite_forms.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace warizan::test {

// On the test clock's day (10 April 2024, school year from April) the family is, oldest first: けんた in
// senior high, さくら 中2, みお 中1, はると 小2 and ゆい before school; ちち is inactive.
inline const QString kSelectionFamily = QStringLiteral("1,2016,0,0,\"はると\",0,\"\",\"\"\n"
                                                       "2,2010,0,0,\"さくら\",0,\"\",\"\"\n"
                                                       "3,2021,0,0,\"ゆい\",0,\"\",\"\"\n"
                                                       "4,2007,0,0,\"けんた\",0,\"\",\"\"\n"
                                                       "5,2011,0,0,\"みお\",0,\"\",\"\"\n"
                                                       "6,1980,0,0,\"ちち\",2,\"\",\"\"\n");
inline const QDate kSelectionToday(2024, 4, 10);
inline const QString kSelectionPrompt = QStringLiteral("名前を選びなさい");

// The pupil numbers the list shows, in list order.
inline QList<int> listedPupils(const SelectionScreen& screen) {
    QList<int> pupils;
    const QListWidget* keys = control<QListWidget>(screen, "List3");
    for (int i = 0; i < keys->count(); ++i) {
        const QString key = keys->item(i)->text();
        pupils.append(key.mid(key.indexOf(u'*') + 1).toInt());
    }
    return pupils;
}

// Line `row` of the family list.
inline QString listLine(const SelectionScreen& screen, int row) {
    return control<QListWidget>(screen, "List1")->item(row)->text();
}

inline int rowOf(const SelectionScreen& screen, int pupil) {
    return int(listedPupils(screen).indexOf(pupil)) + 1;
}

inline void chooseFilter(const SelectionScreen& screen, const QString& entry) {
    QComboBox* filter = control<QComboBox>(screen, "Combo1");
    const int index = filter->findText(entry);
    QVERIFY(index >= 0);
    filter->setCurrentIndex(index);
    emit filter->activated(index);
}

inline void clickRow(QListWidget& list, int row, bool twice = false) {
    QListWidgetItem* item = list.item(row);
    list.scrollToItem(item);
    const QPoint at = list.visualItemRect(item).center();
    // A double-click arrives as a press, a release, the double-click and a second release.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
    }
}

// Runs `check` on the About box once it is up, then closes it with "O.K.".
inline void whenAboutBoxShown(QWidget& window, std::function<void(AboutBox&)> check) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [poll, &window, check] {
        AboutBox* box = window.findChild<AboutBox*>();
        if (!box || !box->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        check(*box);
        QTest::mouseClick(control<QPushButton>(*box, "Command1"), Qt::LeftButton);
    });
    poll->start(5);
}

// The program's forms on a suite of the family (or a copy of a demo folder), the test clock at 10:00 on the
// family's day, for a test object that starts it in init() and stops it in cleanup().
struct SelectionFixture {
    void start(const QString& roster = kSelectionFamily, const QString& demoFolder = {},
               QTime time = QTime(10, 0)) {
        setup = std::make_unique<SuiteForms>(roster, demoFolder);
        forms = &setup->forms;
        t = &forms->test;
        t->clock.setNow(QDateTime(kSelectionToday, time));
    }
    void stop() { setup.reset(); }
    SelectionScreen& shownScreen() {
        if (!forms->window.show(FormId::namesel))
            qFatal("the selection screen did not come up");
        return *forms->shown<SelectionScreen>(FormId::namesel);
    }
    // The family list.
    static QListWidget& list(const SelectionScreen& screen) { return *control<QListWidget>(screen, "List1"); }

    std::unique_ptr<SuiteForms> setup;
    TestForms* forms = nullptr;
    TestContext* t = nullptr;
};

} // namespace warizan::test
