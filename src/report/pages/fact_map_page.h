#pragma once

#include "answers/fact_map.h"

#include <QImage>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace warizan {

class Printer;

// "苦手チェック　name　level": the map's heading. An empty level name stands for every pair.
QString factMapHeading(const QString& pupilName, const QString& levelName);

// Draws the map into `area`: the heading, the grid of quotient (rows) by divisor (columns), each cell
// coloured by its state and marked so it reads in black and white too, with its number of answers and the
// median seconds of its last three, and the legend below. Cells the level never asks stay blank.
void paintFactMap(QPainter& painter, const QRectF& area, const FactMap& map, const QString& heading);
// The map as the screen shows it: `size` in logical pixels, at the screen's `devicePixelRatio`.
QImage factMapImage(const FactMap& map, QSize size, const QString& heading, qreal devicePixelRatio = 1.0);
// The map on a printed page of `page` size, within its margins.
void paintFactMapPage(QPainter& painter, QSizeF page, const FactMap& map, const QString& heading);
// The map on one A4 page. Returns false when the device cannot be painted on.
[[nodiscard]] bool printFactMap(QPagedPaintDevice& device, const FactMap& map, const QString& heading);

// Where a report, a map or a practice sheet is kept when there is no printer: in `folder` (ending with a
// separator), named after what it is (`kind`), the pupil and the day, with characters a file name cannot
// hold replaced. printOrSavePages() numbers the name when a file of that name is there already.
QString keptPdfPath(const QString& folder, const QString& kind, const QString& pupilName, const QDate& day);

} // namespace warizan
