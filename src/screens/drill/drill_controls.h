#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <optional>

class QLabel;
class QWidget;

namespace warizan {

// The controls the drill form is made of, shared by its status bar, its panel and its overlay.

// The drill panel's colour, which is also the form's.
inline constexpr quint32 kDrillPanelColour = 0x00C0C0;
// The status bar's height in design pixels; the panel lies below it.
inline constexpr int kDrillStatusBarHeight = 115;

// Sets a control's text colour and, when given, a background it fills itself with.
void setDrillColours(QWidget* widget, std::optional<quint32> background, QColor text = Qt::black);

// A label placed in design pixels, in "ＭＳ Ｐゴシック".
QLabel* makeDrillLabel(QWidget* parent, const QString& name, QRect design, double points,
                       std::optional<quint32> background = std::nullopt, QColor text = Qt::black,
                       bool bold = false, Qt::Alignment align = Qt::AlignCenter);

// A block of one colour placed in design pixels.
QWidget* makeDrillBlock(QWidget* parent, const QString& name, QRect design, quint32 colour);
// The same on a widget of the caller's own (a panel that is such a block).
void shapeDrillBlock(QWidget* block, const QString& name, QRect design, quint32 colour);

} // namespace warizan
