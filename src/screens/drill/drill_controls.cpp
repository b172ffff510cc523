#include "screens/drill/drill_controls.h"

#include "platform/gui/display.h"
#include "screens/control_names.h"

#include <QLabel>

namespace warizan {

void setDrillColours(QWidget* widget, std::optional<quint32> background, QColor text) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, text);
    if (background)
        pal.setColor(QPalette::Window, display::colour(*background));
    widget->setPalette(pal);
    widget->setAutoFillBackground(background.has_value());
}

QLabel* makeDrillLabel(QWidget* parent, const QString& name, QRect design, double points,
                       std::optional<quint32> background, QColor text, bool bold, Qt::Alignment align) {
    auto* label = named(new QLabel(parent), name);
    label->setGeometry(display::rect(design.x(), design.y(), design.width(), design.height()));
    label->setFont(display::font(display::Face::PGothic, points, bold));
    label->setAlignment(align);
    setDrillColours(label, background, text);
    return label;
}

QWidget* makeDrillBlock(QWidget* parent, const QString& name, QRect design, quint32 colour) {
    auto* block = new QWidget(parent);
    shapeDrillBlock(block, name, design, colour);
    return block;
}

void shapeDrillBlock(QWidget* block, const QString& name, QRect design, quint32 colour) {
    block->setObjectName(name);
    block->setGeometry(display::rect(design.x(), design.y(), design.width(), design.height()));
    setDrillColours(block, colour);
}

} // namespace warizan
