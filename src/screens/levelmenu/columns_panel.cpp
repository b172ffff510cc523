#include "screens/levelmenu/columns_panel.h"

#include "platform/gui/display.h"
#include "screens/control_names.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace warizan {

namespace {

// Left edge of the template column (List5_0), design pixels.
constexpr double kColumnsLeft = 25.6;
// The template's width: a quarter of the 14592 twips the columns share.
constexpr double kTemplateWidth = 3648.0 / 15;

enum class Kind {
    WhiteLabel, // white text on the theme colour
    Label,      // the goal and recent lines, grey once the menu loads
    Start,      // the start button
    Marker,     // the marker box beside it
    List,       // the ranking or the runs
    Show,       // "成績表示"
};

// One control of the template column. Its left edge and width are `px + share x the column's width`, in
// design pixels from the column's left edge; a control whose width has a share widens with the columns.
struct TemplateControl {
    Kind kind;
    const char* name;
    double leftPx, leftShare, top, widthPx, widthShare, height;
    double points;
    bool bold;
};

const TemplateControl kTemplate[] = {
    {Kind::WhiteLabel, "Label1", 0, 0, 136, 30, 0, 28, 18, true},
    {Kind::WhiteLabel, "Label3", 30, 0, 136, -38, 1, 28, 15, true},
    {Kind::Start, "Command4", 0, 0, 166, 140, 0, 38, 14, true},
    {Kind::Marker, "Text1", 144, 0, 170, -152, 1, 30, 10, true},
    {Kind::Label, "Label7", 0, 0, 208, -8, 1, 20, 9, false},
    {Kind::Label, "Label8", 0, 0, 230, -8, 1, 20, 9, false},
    {Kind::WhiteLabel, "Label9", 0, 0, 253, -4, 0.5, 20, 10, false},
    {Kind::WhiteLabel, "Label10", -4, 0.5, 253, -4, 0.5, 20, 10, false},
    {Kind::WhiteLabel, "Label14", 0, 0, 274, -4, 0.5, 22, 11, true},
    {Kind::WhiteLabel, "Label15", -4, 0.5, 274, -4, 0.5, 22, 11, true},
    {Kind::List, "List5", 0, 0, 298, -8, 1, 300, 10.5, false},
    {Kind::Show, "Command3", 0, 0, 602, -8, 1, 26, 10, false},
};

QWidget* makeControl(const TemplateControl& t, QWidget* canvas, int index) {
    QWidget* control = nullptr;
    switch (t.kind) {
    case Kind::WhiteLabel:
    case Kind::Label:
        control = new QLabel(canvas);
        break;
    case Kind::Start:
        control = new QPushButton(canvas);
        break;
    case Kind::Marker: {
        auto* marker = new QLineEdit(canvas);
        marker->setReadOnly(true);
        marker->setFocusPolicy(Qt::NoFocus);
        marker->setAlignment(Qt::AlignCenter);
        control = marker;
        break;
    }
    case Kind::List: {
        auto* list = new QListWidget(canvas);
        list->setUniformItemSizes(true); // single lines of one font: thousands of pupils lay out at once
        control = list;
        break;
    }
    case Kind::Show:
        control = new QPushButton(QStringLiteral("成績表示"), canvas);
        break;
    }
    named(control, t.name, index);
    control->setFont(display::font(t.kind == Kind::List ? display::Face::Gothic : display::Face::PGothic,
                                   t.points, t.bold));
    if (t.kind == Kind::WhiteLabel)
        control->setStyleSheet(QStringLiteral("color: white;"));
    return control;
}

template <typename T> T* as(QWidget* control) {
    return static_cast<T*>(control);
}

} // namespace

ColumnsPanel::ColumnsPanel(const ProgramState& state, QWidget* canvas, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_canvas(canvas)
    , m_columnWidth(kTemplateWidth) {
    buildTemplate();
}

void ColumnsPanel::buildTemplate() {
    const double w = kTemplateWidth;
    for (const TemplateControl& t : kTemplate) {
        QWidget* control = makeControl(t, m_canvas, 0);
        control->setGeometry(display::rect(kColumnsLeft + t.leftPx + t.leftShare * w, t.top,
                                           t.widthPx + t.widthShare * w, t.height));
        control->hide();
        m_template.push_back(control);
    }
    const std::vector<QWidget*>& made = m_template;
    Label1 = {as<QLabel>(made[0])};
    Label3 = {as<QLabel>(made[1])};
    Command4 = {as<QPushButton>(made[2])};
    Text1 = {as<QLineEdit>(made[3])};
    Label7 = {as<QLabel>(made[4])};
    Label8 = {as<QLabel>(made[5])};
    Label9 = {as<QLabel>(made[6])};
    Label10 = {as<QLabel>(made[7])};
    Label14 = {as<QLabel>(made[8])};
    Label15 = {as<QLabel>(made[9])};
    List5 = {as<QListWidget>(made[10])};
    Command3 = {as<QPushButton>(made[11])};
}

void ColumnsPanel::build(int levelCount, double columnWidth) {
    // Widen the template, so every column is laid out at the shared width.
    const double ratio = columnWidth / m_columnWidth;
    m_columnWidth = columnWidth;
    for (size_t k = 0; k < std::size(kTemplate); ++k) {
        if (kTemplate[k].widthShare == 0)
            continue;
        QRect r = m_template[k]->geometry();
        r.setWidth(static_cast<int>(r.width() * ratio));
        m_template[k]->setGeometry(r);
    }
    QPalette grey = Label7[0]->palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    Label7[0]->setPalette(grey);
    Label8[0]->setPalette(grey);

    std::vector<QWidget*> made;
    for (int level = 1; level <= levelCount; ++level) {
        made.clear();
        for (size_t k = 0; k < std::size(kTemplate); ++k) {
            QWidget* control = makeControl(kTemplate[k], m_canvas, level);
            control->setGeometry(m_template[k]->geometry());
            control->setVisible(kTemplate[k].kind != Kind::Marker);
            made.push_back(control);
        }
        // Clicks on the name reach eventFilter.
        made[1]->installEventFilter(this);
        connect(as<QPushButton>(made[2]), &QPushButton::clicked, this,
                [this, level] { emit startClicked(level); });
        connect(as<QPushButton>(made[11]), &QPushButton::clicked, this,
                [this, level] { emit rankingAsked(level); });
        Label1.push_back(as<QLabel>(made[0]));
        Label3.push_back(as<QLabel>(made[1]));
        Command4.push_back(as<QPushButton>(made[2]));
        Text1.push_back(as<QLineEdit>(made[3]));
        Label7.push_back(as<QLabel>(made[4]));
        Label8.push_back(as<QLabel>(made[5]));
        Label9.push_back(as<QLabel>(made[6]));
        Label10.push_back(as<QLabel>(made[7]));
        Label14.push_back(as<QLabel>(made[8]));
        Label15.push_back(as<QLabel>(made[9]));
        List5.push_back(as<QListWidget>(made[10]));
        Command3.push_back(as<QPushButton>(made[11]));

        const LevelColumnTexts texts = levelColumnTexts(m_state, level);
        Label1[level]->setText(texts.number);
        Label3[level]->setText(texts.name);
        Label3[level]->setToolTip(texts.name);
        Command4[level]->setText(texts.start);
        Label8[level]->setText(texts.recent);
        Label7[level]->setText(texts.goal);
    }
}

void ColumnsPanel::place(int first) {
    const double offscreen = display::kDesignWidth;
    for (int level = 1; level <= count(); ++level) {
        double left = kColumnsLeft + (level - first) * m_columnWidth;
        if (left < 0)
            left = offscreen;
        auto place = [&](QWidget* w, QWidget* t, double dx = 0) { w->move(display::px(left + dx), t->y()); };
        place(Label1[level], Label1[0]);
        place(Label3[level], Label3[0], Label1[0]->width() / display::scale());
        place(Command4[level], Command4[0]);
        place(Text1[level], Text1[0], Text1[0]->x() / display::scale() - kColumnsLeft);
        place(Label7[level], Label7[0]);
        place(Label8[level], Label8[0]);
        place(Label9[level], Label9[0]);
        place(Label10[level], Label10[0], Label9[0]->width() / display::scale());
        place(Label14[level], Label14[0]);
        place(Label15[level], Label15[0], Label14[0]->width() / display::scale());
        place(List5[level], List5[0]);
        place(Command3[level], Command3[0]);
    }
}

void ColumnsPanel::showFigures() {
    for (int level = 1; level <= count(); ++level) {
        Label7[level]->setAutoFillBackground(true);
        Label8[level]->setAutoFillBackground(true);
        Label7[level]->setPalette(Label7[0]->palette());
        Label8[level]->setPalette(Label8[0]->palette());
        Command4[level]->setEnabled(true);
        const LevelColumnTexts texts = levelColumnTexts(m_state, level);
        Label15[level]->setText(texts.soFar);
        Label14[level]->setText(texts.today);
        // The markers are worked out afresh for every visit; the unlocking pass hides those not needed.
        Text1[level]->show();
    }
}

void ColumnsPanel::showUnlocking(const Unlocking& unlocking) {
    for (int level = 1; level <= count(); ++level) {
        const auto at = static_cast<size_t>(level);
        if (unlocking.open[at])
            Command4[level]->setEnabled(true);
        if (!unlocking.markerShown[at])
            Text1[level]->hide();
        const QString marker = markerText(unlocking, level);
        Text1[level]->setText(marker);
        const QString look = marker == u"まだ" ? QStringLiteral("background: #c0c0c0; color: #404040;")
                             : marker == u"ノルマ達成"
                                 ? QStringLiteral("background: #ffff80; color: #c00000;")
                                 : QStringLiteral("background: #c0e0ff; color: #003080;");
        // Setting a style sheet polishes the box anew, even with the same sheet: the pass runs twice on
        // every visit.
        if (Text1[level]->styleSheet() != look)
            Text1[level]->setStyleSheet(look);
    }
}

bool ColumnsPanel::startEnabled(int level) const {
    return level >= 1 && level <= count() && Command4[level]->isEnabled();
}

void ColumnsPanel::focusStart(int level) {
    if (level >= 1 && level <= count())
        Command4[level]->setFocus();
}

void ColumnsPanel::showHeads(int level) {
    Label9[level]->setText(QStringLiteral("今日"));
    Label10[level]->setText(QStringLiteral("今まで"));
}

void ColumnsPanel::clearLists() {
    for (int level = 1; level <= count(); ++level) {
        showHeads(level);
        List5[level]->clear();
    }
}

void ColumnsPanel::showRanking(int level, const QStringList& lines) {
    showHeads(level);
    // The list's lines are replaced in place: a large family's four rankings are made anew at every visit
    // and every choice of list, and making and dropping thousands of items costs more than the lines.
    QListWidget* list = List5[level];
    const int reused = static_cast<int>(std::min<qsizetype>(list->count(), lines.size()));
    for (int row = 0; row < reused; ++row)
        list->item(row)->setText(lines[row]);
    while (list->count() > lines.size())
        delete list->takeItem(list->count() - 1);
    list->addItems(lines.mid(reused));
    // As a list emptied and filled again: the first line at the top, none chosen.
    list->scrollToTop();
    list->setCurrentRow(-1);
}

void ColumnsPanel::addLines(int level, const QStringList& lines) {
    List5[level]->addItems(lines);
    List5[level]->setCurrentRow(-1);
}

void ColumnsPanel::showLists(bool shown) {
    for (int level = 1; level <= count(); ++level)
        List5[level]->setVisible(shown);
}

bool ColumnsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto it = std::find(Label3.begin() + 1, Label3.end(), watched);
        if (it != Label3.end()) {
            emit nameClicked(static_cast<int>(it - Label3.begin()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace warizan
