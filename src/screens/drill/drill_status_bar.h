#pragma once

#include "drill/drill_clock.h"

#include <QList>
#include <QWidget>
#include <array>

class QLabel;

namespace warizan {

// What the status bar says of a new sheet.
struct SheetHeading {
    QString heading; // the content's heading
    QString pupilName;
    QString siteName;
    QString levelName;
    qint32 goal = 0;       // the level's goal time, marked on the time bar
    qint32 secondTime = 0; // and its second time
    qint32 limit = 0;      // the time limit the whole bar stands for
    qint32 runToday = 0;   // the number of this run among today's, over every level
    qint32 runOnLevel = 0; // and among today's on the level
};

// The drill form's status bar `sPicture1`: the heading, the site and the pupil, the level, the questions
// left and the seconds used; the minutes since the pupil was confirmed and the runs today; the time bar
// with the marks of the goal and the second time; and the countdown boxes 10 to 39, which go out one by
// one as the best times pass.
class DrillStatusBar final : public QWidget {
    Q_OBJECT
public:
    explicit DrillStatusBar(QWidget* parent);

    // A new sheet: its heading, the clock at 0 with every countdown box up and no time used.
    void startSheet(const SheetHeading& sheet);
    void showRemaining(int questions);
    void showMinutes(qint32 minutes);
    // The drill clock's tick: the seconds used, and the countdown boxes that go out now.
    void showElapsed(qint32 seconds, const QList<int>& boxesToHide);
    // The part of the time bar used by `seconds` of `limit`; all of it once the limit is reached.
    void showTimeUsed(qint32 seconds, qint32 limit);
    // A sheet without a time limit, which is no run of the score files: the time bar, its marks and
    // countdown boxes and the counts of today's runs go; the clock alone counts the seconds up.
    void showUntimed();

private:
    void buildFields();
    void buildTimeBar();

    QLabel* sLabel2;  // the heading
    QLabel* sLabel7;  // the pupil
    QLabel* sLabel8;  // the level
    QLabel* sLabel9;  // questions left
    QLabel* sLabel10; // seconds used
    QLabel* sLabel11; // the run's number today on the level
    QLabel* sLabel12; // the run's number today
    QLabel* sLabel13; // minutes since the pupil was confirmed
    QLabel* sLabel14; // the site
    QWidget* sShape5; // the time bar
    QWidget* sShape4; // mark of the second time
    QWidget* sShape3; // mark of the goal time
    QWidget* sShape2; // the time used
    QWidget* sShape7;
    std::array<QWidget*, kLastCountdownBox + 1> sPicture3{}; // countdown boxes 10 to 39
};

} // namespace warizan
