#pragma once

#include "answers/week_summary.h"

#include <QImage>
#include <QRectF>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace warizan {

// What the week's page shows: the summary, whose it is, the names of the levels (index = level; a level
// without a name is called by its number) and the day the page is made.
struct WeekPage {
    WeekSummary summary;
    QString pupilName;
    QStringList levelNames;
    QDate madeOn;
};

// The sections of the page, top to bottom; every text lies inside its section.
enum class WeekSection { Head, Figures, Facts, Missed, Trend };
inline constexpr int kWeekSectionCount = 5;

// One text the page drew: the box it was laid out in, the room it took, and the section it belongs to.
struct WeekDrawnText {
    QRectF box;
    QRectF rect;
    QString text;
    WeekSection section = WeekSection::Head;
};
struct WeekDrawing {
    std::vector<WeekDrawnText> texts;
    std::array<QRectF, kWeekSectionCount> sections{}; // where each section lies
};

// At most so many missed questions are listed on the page; the rest are counted.
inline constexpr int kWeekPageMissed = 20;

// "今週のまとめ　name".
QString weekHeading(const QString& pupilName);
// "作成日：2024年4月10日".
QString madeOnText(const QDate& day);

// Draws the week into `area`: the heading, the week's days and the day the page was made; the figures beside
// the week before with arrows; the facts learnt and the weak ones as divisions; the missed questions (at most
// kWeekPageMissed, with how many more); and a small chart of the last eight weeks. When `drawing` is given it
// receives every text drawn and the sections' areas.
void paintWeek(QPainter& painter, const QRectF& area, const WeekPage& page, WeekDrawing* drawing = nullptr);
// The week as the screen shows it: `size` in logical pixels, at the screen's `devicePixelRatio`.
QImage weekImage(const WeekPage& page, QSize size, qreal devicePixelRatio = 1.0,
                 WeekDrawing* drawing = nullptr);
// The week on one A4 page. Returns false when the device cannot be painted on.
[[nodiscard]] bool printWeek(QPagedPaintDevice& device, const WeekPage& page, WeekDrawing* drawing = nullptr);

} // namespace warizan
