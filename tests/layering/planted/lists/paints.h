// Never compiled: a core file must include nothing of the GUI side, neither a header of Qt's GUI modules
// nor one of the GUI-side folders; Qt Core's own headers are its to include.
#pragma once
#include "platform/gui/display.h"
#include <QPainter>
#include <QString>
#include <QtWidgets/QLabel>
