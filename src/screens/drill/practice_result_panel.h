#pragma once

#include "answers/practice_sheet.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace warizan {

// The short result of a 苦手れんしゅう sheet over the drill panel: the time it took, each target with its
// answers and times, the pairs whose state went up ("おぼえた！" for a pair now known), and the way back to
// the level menu.
class PracticeResultPanel final : public QWidget {
    Q_OBJECT
public:
    explicit PracticeResultPanel(QWidget* parent);

    // `hadAnswers`: whether the pupil had any answer before the sheet (without, the sheet was one of pairs
    // not yet asked, and the panel says so).
    void showOutcome(const PracticeOutcome& outcome, bool remainders, qint32 seconds, bool hadAnswers);

signals:
    // "メニューにもどる".
    void backClicked();

private:
    QLabel* lblPracticeTitle;
    QLabel* lblPracticeTargets;
    QLabel* lblPracticeRisen;
    QLabel* lblPracticeNote;
    QPushButton* cmdPracticeBack;
};

// A pair as the child reads it: "÷7 で 商5".
QString practicePairText(int quotient, int divisor);

} // namespace warizan
