#include "screens/about/about_box.h"

#include "platform/gui/display.h"
#include "screens/control_names.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace warizan {

namespace {
const QString kProduct = QStringLiteral("Sorabune");
const QString kNotice = QStringLiteral("この学習ソフトは、ご家庭での練習のために作られています。"
                                       "無断で複製・配布・改変することはできません。");
const QString kContact = QStringLiteral("そらぶね サポート係　support@sorabune.example.com");

QLabel* label(QWidget* parent, const char* name, const QRect& geometry, double points, bool bold = false) {
    auto* l = named(new QLabel(parent), name);
    l->setGeometry(geometry);
    l->setFont(display::font(display::Face::PGothic, points, bold));
    return l;
}
} // namespace

QString versionText() {
    return QStringLiteral("Version%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

AboutBox::AboutBox(const QString& contentHeading, QWidget* parent)
    : QDialog(parent)
    , m_contentHeading(contentHeading) {
    setObjectName(QStringLiteral("frmver"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(display::rect(0, 0, 440, 300).size());

    Label1 = label(this, "Label1", display::rect(24, 16, 392, 40), 20, true);
    lblVersion = label(this, "lblVersion", display::rect(24, 60, 392, 24), 11);
    lblProduct = label(this, "lblProduct", display::rect(24, 84, 392, 24), 11);
    lblNotice = label(this, "lblNotice", display::rect(24, 116, 392, 56), 10);
    lblNotice->setWordWrap(true);
    lblNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label6 = label(this, "Label6", display::rect(24, 184, 392, 22), 10);
    Label6->setText(QStringLiteral("お問い合わせは下記まで"));
    Label3 = label(this, "Label3", display::rect(24, 206, 392, 22), 10);
    Label3->setText(kContact);
    Label3->installEventFilter(this);

    Command1 = named(new QPushButton(QStringLiteral("O.K."), this), "Command1");
    Command1->setGeometry(display::rect(316, 250, 100, 34));
    Command1->setFont(display::font(display::Face::PGothic, 11));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    Command2 = named(new QPushButton(this), "Command2");
    Command2->hide();
}

void AboutBox::showEvent(QShowEvent* event) {
    // Filled after the window is up rather than after letting events run: a close asked for while the
    // box is still being shown would otherwise be lost and leave the modal box hanging.
    QDialog::showEvent(event);
    Label1->setText(m_contentHeading);
    lblVersion->setText(versionText());
    lblProduct->setText(kProduct);
    lblNotice->setText(kNotice);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    // The address is not a link: a click runs the hidden button, which has no action.
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease)
        Command2->click();
    return QDialog::eventFilter(watched, event);
}

} // namespace warizan
