#include "screens/drill/drill_panel.h"

#include "platform/gui/display.h"
#include "screens/control_names.h"
#include "screens/drill/drill_controls.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace warizan {

namespace {

constexpr quint32 kQuestionColour = 0x80FFFF;
constexpr quint32 kSignColour = 0xFFFFC0;
constexpr quint32 kCorrectAnswerColour = 0xFF8080;
constexpr quint32 kPlusHintColour = 0xFFFF00;
constexpr quint32 kCellColour = 0x80FFFF;
constexpr quint32 kCursorColour = 0x00C000;
constexpr int kCellFontPoints = 72;

const QString kPlusHint = QStringLiteral("\"+\"を２回押しなさい");

// A straight red line between two points of its parent, the width of its pen; it paints nothing else, so
// what lies underneath stays visible.
class LineShape final : public QWidget {
public:
    LineShape(QWidget* parent, QPoint from, QPoint to, int penWidth)
        : QWidget(parent) {
        const QRect box = QRect(from, to).normalized().adjusted(-penWidth, -penWidth, penWidth, penWidth);
        setGeometry(box);
        m_from = from - box.topLeft();
        m_to = to - box.topLeft();
        m_pen = penWidth;
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::red, m_pen, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(m_from, m_to);
    }

private:
    QPoint m_from;
    QPoint m_to;
    int m_pen = 1;
};

// Writes `text` into a 72-point cell; a text too long for the cell gets a smaller font, so the whole of
// it stays visible.
void setCellText(QLabel* cell, const QString& text) {
    QFont font = display::font(display::Face::PGothic, kCellFontPoints);
    const double room = cell->width() - display::px(8);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > room && width > 0)
        font.setPixelSize(std::max(6, static_cast<int>(font.pixelSize() * room / width)));
    if (cell->font() != font)
        cell->setFont(font);
    cell->setText(text);
}

void setCellColour(QLabel* cell, quint32 rgb) {
    const QColor colour = display::colour(rgb);
    if (cell->palette().color(QPalette::Window) == colour)
        return;
    QPalette pal = cell->palette();
    pal.setColor(QPalette::Window, colour);
    cell->setPalette(pal);
}

} // namespace

DrillPanel::DrillPanel(QWidget* parent)
    : QWidget(parent) {
    shapeDrillBlock(this, QStringLiteral("Keisan2BasePic"),
                    QRect(0, kDrillStatusBarHeight, 1024, 768 - kDrillStatusBarHeight), kDrillPanelColour);
    Keisan2Lbl2[0] =
        makeDrillLabel(this, arrayName("Keisan2Lbl2", 0), QRect(188, 58, 275, 97), 72, kQuestionColour);
    Keisan2Lbl3[0] =
        makeDrillLabel(this, arrayName("Keisan2Lbl3", 0), QRect(490, 74, 73, 73), 48, kSignColour);
    Keisan2Lbl2[1] =
        makeDrillLabel(this, arrayName("Keisan2Lbl2", 1), QRect(588, 62, 275, 97), 72, kQuestionColour);
    Keisan2Lbl3[1] =
        makeDrillLabel(this, arrayName("Keisan2Lbl3", 1), QRect(106, 246, 73, 73), 48, kSignColour);
    Keisan2Lbl1[0] = makeDrillLabel(this, arrayName("Keisan2Lbl1", 0), QRect(188, 222, 275, 97),
                                    kCellFontPoints, kCellColour);
    Keisan2Lbl3[2] =
        makeDrillLabel(this, arrayName("Keisan2Lbl3", 2), QRect(470, 276, 97, 41), 21.75, kSignColour);
    Keisan2Lbl1[1] = makeDrillLabel(this, arrayName("Keisan2Lbl1", 1), QRect(588, 220, 274, 97),
                                    kCellFontPoints, kCellColour);
    Label3 = makeDrillLabel(this, QStringLiteral("Label3"), QRect(588, 318, 274, 43), 12, std::nullopt,
                            Qt::black, false, Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true);
    Label3->setText(QStringLiteral("あまりがない場合は０または何も入力しないでスペースを押しなさい"));
    Label2 = makeDrillLabel(this, QStringLiteral("Label2"), QRect(260, 534, 555, 19), 11.25, std::nullopt,
                            Qt::black, false, Qt::AlignLeft | Qt::AlignVCenter);
    Label2->setText(QStringLiteral("←→＝移動　　↓＝クリア　　↑＝オールクリア 　スペース＝右移動と判定"));
    // "正解は" reaches over the top of the "＝" box below it. It has no background of its own and its text
    // stands at the top of its place, so the box shows whole and the word stays readable above it.
    Label1 = makeDrillLabel(this, QStringLiteral("Label1"), QRect(72, 390, 103, 33), 21.75, std::nullopt,
                            QColor(255, 255, 0), true, Qt::AlignHCenter | Qt::AlignTop);
    Label1->setText(QStringLiteral("正解は"));
    // A dark rim keeps the yellow letters readable where they lie over the pale box.
    auto* rim = new QGraphicsDropShadowEffect(Label1);
    rim->setOffset(0, 0);
    rim->setBlurRadius(display::px(4));
    rim->setColor(QColor(0, 80, 80));
    Label1->setGraphicsEffect(rim);
    Keisan2Lbl3[4] =
        makeDrillLabel(this, arrayName("Keisan2Lbl3", 4), QRect(104, 408, 73, 73), 48, kSignColour);
    Keisan2Lbl3[4]->setText(QStringLiteral("＝"));
    Keisan2Lbl4[0] =
        makeDrillLabel(this, arrayName("Keisan2Lbl4", 0), QRect(188, 390, 275, 97), 72, kCorrectAnswerColour);
    Keisan2Lbl3[3] =
        makeDrillLabel(this, arrayName("Keisan2Lbl3", 3), QRect(476, 446, 97, 41), 21.75, kSignColour);
    Keisan2Lbl3[3]->setText(QStringLiteral("あまり"));
    Keisan2Lbl4[1] =
        makeDrillLabel(this, arrayName("Keisan2Lbl4", 1), QRect(588, 392, 275, 97), 72, kCorrectAnswerColour);
    Keisan2Lbl5[0] =
        makeDrillLabel(this, arrayName("Keisan2Lbl5", 0), QRect(260, 558, 553, 41), 24, kPlusHintColour);
    Keisan2Lbl5[0]->setText(kPlusHint);
    Label1->raise();
    const auto at = [](int x, int y) { return QPoint(display::px(x), display::px(y)); };
    Line1 = named(new LineShape(this, at(338, 224), at(730, 328), display::px(5)), QStringLiteral("Line1"));
    Line2 = named(new LineShape(this, at(334, 322), at(722, 224), display::px(5)), QStringLiteral("Line2"));
    Commandkakunin = named(new QPushButton(QStringLiteral("確認"), this), QStringLiteral("Commandkakunin"));
    connect(Commandkakunin, &QPushButton::clicked, this, &DrillPanel::confirmClicked);
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{Label1, Keisan2Lbl3[4], Keisan2Lbl4[0], Keisan2Lbl3[3],
                                         Keisan2Lbl4[1], Line1, Line2, Keisan2Lbl5[0], Commandkakunin})
        hidden->hide();
}

void DrillPanel::showQuestion(const Question& question, bool remainder) {
    Keisan2Lbl2[0]->setText(QString::number(question.dividend()));
    Keisan2Lbl2[1]->setText(QString::number(question.divisor));
    Keisan2Lbl3[0]->setText(QStringLiteral("÷"));
    Keisan2Lbl3[1]->setText(QStringLiteral("＝"));
    Keisan2Lbl3[2]->setText(QStringLiteral("あまり"));
    // Emptied on a level without a remainder, and hidden too: an empty box beside the answer would ask for
    // something that is not there.
    if (!remainder)
        Keisan2Lbl3[2]->clear();
    Keisan2Lbl3[2]->setVisible(remainder);
    Keisan2Lbl1[1]->setVisible(remainder);
    Label3->setVisible(remainder);
}

void DrillPanel::showCells(const AnswerCells& cells) {
    for (int cell = 0; cell < cells.cellCount(); ++cell) {
        QLabel* label = Keisan2Lbl1[static_cast<std::size_t>(cell)];
        setCellText(label, cells.text(cell));
        setCellColour(label, cell == cells.cursorCell() ? kCursorColour : kCellColour);
    }
}

void DrillPanel::showCorrectAnswer(const Question& question, bool remainder) {
    Keisan2Lbl4[0]->setText(QString::number(question.quotient));
    Keisan2Lbl4[1]->setText(QString::number(question.remainder));
    Keisan2Lbl4[0]->show();
    if (remainder) {
        Keisan2Lbl4[1]->show();
        Keisan2Lbl3[3]->show();
    }
    Keisan2Lbl3[4]->show();
    Label1->show();
    Line1->show();
    Line2->show();
    Line1->raise();
    Line2->raise();
}

void DrillPanel::showPlusHint(bool shown) {
    Keisan2Lbl5[0]->setVisible(shown);
}

void DrillPanel::hideCorrection() {
    for (QWidget* w : std::initializer_list<QWidget*>{Keisan2Lbl4[0], Keisan2Lbl4[1], Keisan2Lbl3[3],
                                                      Keisan2Lbl3[4], Label1, Line1, Line2, Keisan2Lbl5[0]})
        w->hide();
}

} // namespace warizan
