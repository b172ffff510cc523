#include "screens/roster_editor/roster_editor.h"

#include "platform/gui/display.h"
#include "roster/roster_file.h"
#include "roster/roster_save.h"
#include "screens/control_names.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace warizan {

namespace {
// The form's colour: the system's button face, as the suite's plain forms have it.
constexpr quint32 kEditorBackground = 0xF0F0F0;
const QString kTitle = QStringLiteral("名前変更");

QString withoutTrailingBlanks(QString text) {
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& geometry, double points,
              bool bold = false) {
    auto* l = named(new QLabel(text, parent), name);
    l->setGeometry(geometry);
    l->setFont(display::font(display::Face::PGothic, points, bold));
    return l;
}
} // namespace

RosterEditor::RosterEditor(FormContext& context, QWidget* parent)
    : DesignForm(kEditorBackground, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("FrmName2"));
    buildControls();
}

void RosterEditor::buildControls() {
    QWidget* c = canvas();
    Label4 = label(c, QStringLiteral("Label4"), kTitle, display::rect(40, 48, 944, 72), 36, true);
    Label4->setAlignment(Qt::AlignCenter);
    Label2 = label(c, QStringLiteral("Label2"), QStringLiteral("名前"), display::rect(152, 168, 560, 40), 20);
    Label1 = label(c, QStringLiteral("Label1"), QStringLiteral("生まれた年"),
                   display::rect(736, 168, 220, 40), 20);
    for (int row = 1; row <= 3; ++row) {
        const int y = 216 + (row - 1) * 84;
        Text1[row] = named(new QLineEdit(c), "Text1", row);
        Text1[row]->setGeometry(display::rect(152, y, 560, 60));
        Text1[row]->setFont(display::font(display::Face::PGothic, 20));
        Text2[row] = named(new QLineEdit(c), "Text2", row);
        Text2[row]->setGeometry(display::rect(736, y, 200, 60));
        Text2[row]->setFont(display::font(display::Face::PGothic, 20));
        Text2[row]->setInputMethodHints(Qt::ImhPreferNumbers);
    }
    Label3 =
        label(c, QStringLiteral("Label3"), QStringLiteral("※生まれた年は早生まれの場合は1年引いてください"),
              display::rect(152, 480, 800, 40), 16);
    Command1 = named(new QPushButton(QStringLiteral("変更"), c), QStringLiteral("Command1"));
    Command1->setGeometry(display::rect(296, 584, 200, 84));
    Command1->setFont(display::font(display::Face::PGothic, 24, true));
    connect(Command1, &QPushButton::clicked, this, &RosterEditor::save);
    Command2 = named(new QPushButton(QStringLiteral("もどる"), c), QStringLiteral("Command2"));
    Command2->setGeometry(display::rect(560, 584, 200, 84));
    Command2->setFont(display::font(display::Face::PGothic, 24, true));
    connect(Command2, &QPushButton::clicked, this, &RosterEditor::goBack);
}

bool RosterEditor::load() {
    std::vector<RosterEntry> entries;
    RosterFileError error;
    if (!readRosterFile(rosterPath(m_context.state.config), &entries, nullptr, &error)) {
        m_unreadable = QStringLiteral("名簿ファイル（%1）を読めません（%2）。名前の変更はできません。")
                           .arg(kRosterFileName, error.description);
        return true;
    }
    for (int row = 1; row <= 3; ++row) {
        const bool present = size_t(row) <= entries.size();
        // The name without the blanks that pad it to its 20 characters: text typed after them would be
        // cut off when the name is saved at its 20 characters again.
        Text1[row]->setText(present ? withoutTrailingBlanks(entries[size_t(row) - 1].name) : QString());
        Text2[row]->setText(present ? QString::number(entries[size_t(row) - 1].birthYear) : QString());
        Text1[row]->setEnabled(present);
        Text2[row]->setEnabled(present);
    }
    return true;
}

void RosterEditor::activate() {
    if (m_unreadable.isEmpty()) {
        Text1[1]->setFocus();
        return;
    }
    showMessage(m_unreadable);
    // The message box let events run; another form may be in front already.
    if (isFrontPage())
        goBack();
}

void RosterEditor::save() {
    std::vector<RosterRowEdit> rows;
    for (int row = 1; row <= kEditorRows; ++row) {
        if (Text1[row]->isEnabled())
            rows.push_back({Text1[row]->text(), Text2[row]->text()});
    }
    RosterSaveError error;
    if (saveRosterEdits(rosterPath(m_context.state.config), rows, &error))
        return;
    showMessage(error.message);
    if (!isFrontPage())
        return;
    if (error.kind == RosterSaveError::Kind::Unreadable)
        goBack();
    else if (error.row >= 1 && error.row <= kEditorRows)
        (error.kind == RosterSaveError::Kind::NameNotWritable ? Text1 : Text2)[error.row]->setFocus();
}

void RosterEditor::closeRequested() {
    goBack();
}

void RosterEditor::goBack() {
    if (!m_forms.owner.show(FormId::namesel))
        return;
    m_forms.owner.unload(FormId::FrmName2);
}

void RosterEditor::showMessage(const QString& text) {
    m_context.dialogs.showMessage(kTitle, text, Dialogs::Icon::Warning);
}

} // namespace warizan
