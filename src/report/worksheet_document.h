#pragma once

#include "drill/question.h"

#include <QDate>
#include <QList>
#include <QString>

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

// Paints the sheet and its answer pages. Returns false when the device cannot be painted on.
[[nodiscard]] bool printWorksheet(QPagedPaintDevice& device, const WorksheetDocument& sheet);

} // namespace warizan
