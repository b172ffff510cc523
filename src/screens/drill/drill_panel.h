#pragma once

#include "drill/answer.h"
#include "drill/question.h"

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace warizan {

// The drill panel `Keisan2BasePic` under the status bar: the question (dividend ÷ divisor), the answer
// cells with their hints, and after a wrong answer the correct one below them, the typed one crossed out
// and the call to press "+" twice.
class DrillPanel final : public QWidget {
    Q_OBJECT
public:
    explicit DrillPanel(QWidget* parent);

    // A new question; the remainder's cell, sign and hint only where the level asks for a remainder.
    void showQuestion(const Question& question, bool remainder);
    // The answer cells' texts, the cursor cell marked.
    void showCells(const AnswerCells& cells);
    // A wrong answer: the correct one below the cells (its remainder where the level asks for one) and the
    // typed one crossed out.
    void showCorrectAnswer(const Question& question, bool remainder);
    // ""+"を２回押しなさい".
    void showPlusHint(bool shown);
    // The correction is over: the correct answer, the crossing lines and the call go.
    void hideCorrection();

signals:
    // The hidden "確認" that ends a correction.
    void confirmClicked();

private:
    std::array<QLabel*, 2> Keisan2Lbl1{}; // answer cells
    std::array<QLabel*, 2> Keisan2Lbl2{}; // dividend, divisor
    std::array<QLabel*, 5> Keisan2Lbl3{}; // "÷", "＝", "あまり", and those of the correct answer
    std::array<QLabel*, 2> Keisan2Lbl4{}; // the correct answer
    std::array<QLabel*, 1> Keisan2Lbl5{}; // ""+"を２回押しなさい"
    QLabel* Label1;                       // "正解は"
    QLabel* Label2;                       // key help
    QLabel* Label3;                       // remainder hint
    QWidget* Line1;
    QWidget* Line2;
    QPushButton* Commandkakunin; // never visible
};

} // namespace warizan
