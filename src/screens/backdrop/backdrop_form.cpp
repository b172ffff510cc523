#include "screens/backdrop/backdrop_form.h"

#include "platform/gui/display.h"

#include <QLabel>

namespace warizan {

BackdropForm::BackdropForm(FormContext& context, QWidget* parent)
    : DesignForm(context.app.state.config.themeColour, parent)
    , Label1(new QLabel(QStringLiteral("Just a moment, please."), canvas())) {
    setObjectName(QStringLiteral("BASEFRM"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(display::rect(212, 344, 600, 80));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(display::font(display::Face::PGothic, 27.75));
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(pal);
}

} // namespace warizan
