#pragma once

#include "answers/fact_map.h"

#include <QDate>
#include <QImage>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace warizan {

class Printer;

// What heads a map: its title and the day it was made, which every page of it shows.
struct FactMapHeading {
    QString title;
    QDate madeOn;
};

// "苦手チェック　name　level": the map's title. An empty level name stands for every pair.
FactMapHeading factMapHeading(const QString& pupilName, const QString& levelName, const QDate& madeOn);

// Draws the map into `area`: the title, the day it was made and the days its answers span, the grid of
// quotient (rows) by divisor (columns), each cell coloured by its state and marked so it reads in black and
// white too (weak by a wrong answer and weak by slow answers apart), with its number of answers, of wrong
// ones and the median seconds of its last three, and the legend below with how to read a cell. Cells the
// level never asks stay blank.
void paintFactMap(QPainter& painter, const QRectF& area, const FactMap& map, const FactMapHeading& heading);
// The map as the screen shows it: `size` in logical pixels, at the screen's `devicePixelRatio`.
QImage factMapImage(const FactMap& map, QSize size, const FactMapHeading& heading,
                    qreal devicePixelRatio = 1.0);
// The map on a printed page of `page` size, within its margins.
void paintFactMapPage(QPainter& painter, QSizeF page, const FactMap& map, const FactMapHeading& heading);
// The map on one A4 page. Returns false when the device cannot be painted on.
[[nodiscard]] bool printFactMap(QPagedPaintDevice& device, const FactMap& map, const FactMapHeading& heading);

// Where a report, a map or a practice sheet is kept when there is no printer: in `folder` (ending with a
// separator), named after what it is (`kind`), the pupil and the day, with characters a file name cannot
// hold replaced. printOrSavePages() numbers the name when a file of that name is there already.
QString keptPdfPath(const QString& folder, const QString& kind, const QString& pupilName, const QDate& day);

} // namespace warizan
