#include "screens/drill/practice_result_panel.h"

#include "platform/gui/display.h"
#include "screens/control_names.h"
#include "screens/drill/drill_controls.h"

#include <QLabel>
#include <QPushButton>

namespace warizan {

namespace {

constexpr quint32 kPanelColour = 0xFFFFE0;

QString stateText(FactState state) {
    switch (state) {
    case FactState::Unseen:
        return QStringLiteral("まだ");
    case FactState::Weak:
        return QStringLiteral("苦手");
    case FactState::Learning:
        return QStringLiteral("練習中");
    case FactState::Known:
        return QStringLiteral("覚えた");
    }
    return {};
}

QString answerText(const Question& q, bool remainders) {
    return remainders ? QStringLiteral("%1 あまり %2").arg(q.quotient).arg(q.remainder)
                      : QString::number(q.quotient);
}

QString secondsText(qint64 ms) {
    return QStringLiteral("%1秒").arg(static_cast<double>(ms) / 1000.0, 0, 'f', 1);
}

} // namespace

QString practicePairText(int quotient, int divisor) {
    return QStringLiteral("÷%1 で 商%2").arg(divisor).arg(quotient);
}

PracticeResultPanel::PracticeResultPanel(QWidget* parent)
    : QWidget(parent) {
    shapeDrillBlock(this, QStringLiteral("PracticeResult"), QRect(0, 0, 1024, 768 - kDrillStatusBarHeight),
                    kPanelColour);
    lblPracticeTitle = makeDrillLabel(this, QStringLiteral("lblPracticeTitle"), QRect(40, 14, 944, 48), 24,
                                      std::nullopt, QColor(0x00, 0x00, 0xA0), true);
    lblPracticeTargets = makeDrillLabel(this, QStringLiteral("lblPracticeTargets"), QRect(70, 74, 884, 182),
                                        14, std::nullopt, Qt::black, false, Qt::AlignLeft | Qt::AlignTop);
    lblPracticeTargets->setFont(display::font(display::Face::Gothic, 14));
    lblPracticeRisen =
        makeDrillLabel(this, QStringLiteral("lblPracticeRisen"), QRect(70, 270, 884, 220), 15, std::nullopt,
                       QColor(0xC0, 0x00, 0x00), true, Qt::AlignLeft | Qt::AlignTop);
    lblPracticeRisen->setWordWrap(true);
    lblPracticeNote = makeDrillLabel(this, QStringLiteral("lblPracticeNote"), QRect(70, 504, 884, 44), 11,
                                     std::nullopt, Qt::black, false, Qt::AlignLeft | Qt::AlignTop);
    lblPracticeNote->setWordWrap(true);
    cmdPracticeBack =
        named(new QPushButton(QStringLiteral("メニューにもどる(Enter)"), this), "cmdPracticeBack");
    cmdPracticeBack->setGeometry(display::rect(337, 560, 350, 64));
    cmdPracticeBack->setFont(display::font(display::Face::PGothic, 18, true));
    cmdPracticeBack->setFocusPolicy(Qt::NoFocus);
    connect(cmdPracticeBack, &QPushButton::clicked, this, &PracticeResultPanel::backClicked);
}

void PracticeResultPanel::showOutcome(const PracticeOutcome& outcome, bool remainders, qint32 seconds,
                                      bool hadAnswers) {
    lblPracticeTitle->setText(QStringLiteral("苦手れんしゅう おわり！　%1秒").arg(seconds));
    QStringList lines;
    for (const TargetOutcome& target : outcome.targets) {
        lines << QStringLiteral("◆ %1 の組").arg(practicePairText(target.quotient, target.divisor));
        for (const TargetAnswer& answer : target.answers) {
            const Question& q = answer.question;
            QString line = QStringLiteral("　　%1 ÷ %2 ＝ %3　%4　%5")
                               .arg(q.dividend())
                               .arg(q.divisor)
                               .arg(answer.typed, answer.correct ? QStringLiteral("○") : QStringLiteral("×"),
                                    secondsText(answer.ms));
            if (!answer.correct)
                line += QStringLiteral("（せいかいは %1）").arg(answerText(q, remainders));
            lines << line;
        }
    }
    lblPracticeTargets->setText(lines.join(u'\n'));
    // Pairs now known first, each told; the others that went up in one line that wraps.
    QStringList known;
    QStringList up;
    for (const RisenPair& pair : outcome.risen) {
        // Kept whole where the line wraps.
        QString text = practicePairText(pair.quotient, pair.divisor);
        text.replace(u' ', QChar(0x00A0));
        if (pair.after == FactState::Known)
            known << text;
        else
            up << QStringLiteral("%1（%2→%3）").arg(text, stateText(pair.before), stateText(pair.after));
    }
    QStringList risen;
    for (const QString& text : known)
        risen << QStringLiteral("おぼえた！　%1").arg(text);
    if (!up.isEmpty())
        risen << QStringLiteral("のびた！　%1").arg(up.join(QStringLiteral("、")));
    if (risen.isEmpty())
        risen << QStringLiteral("こんかいは、状態の上がった組はありません。くりかえし れんしゅうしよう。");
    lblPracticeRisen->setText(risen.join(u'\n'));
    lblPracticeNote->setText(hadAnswers
                                 ? QStringLiteral("この答えは苦手チェックに入りました。成績（タイムや"
                                                  "ポイント）には入りません。")
                                 : QStringLiteral("まだ答えの記録がなかったので、まだ出ていない組から出し"
                                                  "ました。これからの答えで、苦手な組がわかります。"));
}

} // namespace warizan
