#pragma once

#include "drill/question.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class QFontMetricsF;
class QPagedPaintDevice;

namespace warizan {

// A printable practice sheet: the questions in the drill's own layout, "dividend ÷ divisor = □ あまり □",
// with boxes large enough to write in, twenty to an A4 page, then the same pages with the answers.
struct WorksheetDocument {
    QString title; // the drill's title and the level's name
    QDate date;    // printed at the top
    QString note;  // a line under the title saying what the sheet was made from; may be empty
    bool withRemainder = true;
    QList<Question> questions;
};

// The note under a sheet's title in lines no wider than `width`: lines break only after "、", "。", ":" or a
// blank, so a weak pair ("÷7で商8") is never cut in two.
QStringList worksheetNoteLines(const QString& note, const QFontMetricsF& metrics, double width);

// Paints the sheet and its answer pages. Returns false when the device cannot be painted on.
[[nodiscard]] bool printWorksheet(QPagedPaintDevice& device, const WorksheetDocument& sheet);

} // namespace warizan
