#pragma once

#include "roster/roster_file.h"
#include "state/program_state.h"

#include <QString>
#include <vector>

namespace warizan {

// Rows of the roster editor: the first entries of the roster in file order.
inline constexpr int kEditorRows = 3;

// What a family typed into one row of the editor.
struct RosterRowEdit {
    QString nameText;
    QString birthYearText;
};

// Why a save wrote nothing.
struct RosterSaveError {
    enum class Kind {
        Unreadable,      // the roster could not be read again (missing, or cut short); `fileError` says why
        NameNotWritable, // a name has a character the roster's encoding cannot hold
        YearTooLarge,    // a birth year the suite's programs cannot store
        YearNotAYear,    // a birth-year box whose text names no year
        WriteFailed,     // the disk refused the new roster; the old one is untouched
    };
    Kind kind = Kind::Unreadable;
    int row = 0; // 1..kEditorRows for the row's own errors
    RosterFileError fileError;
    QString message; // Japanese, for the family
};

// The name as it is stored: control characters dropped, blanks trimmed at both ends (full-width blanks are
// part of a name), then cut or blank-padded to the roster's 20 characters.
QString rosterNameOf(const QString& typedText);

// How a birth-year box reads.
enum class BirthYearReading {
    Year,     // a year, or an empty box (0)
    NotAYear, // text that names no year: nothing may be saved for it
    TooLarge, // a number that does not fit the 16-bit field every program of the suite reads it into
};

// The birth year as it is stored, in the Western calendar. A number (optionally followed by "年") is taken
// as it stands, rounded to a whole number ("2015年" is 2015). A year of a Japanese era, by its name (明治,
// 大正, 昭和, 平成, 令和) or its letter (M, T, S, H, R), "元" for its first year, becomes the Western year:
// "平成27" and "H27" are 2015. Full-width digits and letters count as half-width ones; an empty box is 0.
BirthYearReading rosterBirthYearOf(const QString& birthYearText, int* birthYear);

// The roster file's text for `entries`, one line each in file order: numbers unquoted, texts in double
// quotes at their 20 characters, CRLF line ends.
QString rosterFileText(const std::vector<RosterEntry>& entries);

// The editor's save: reads the roster again (so numbers, statuses and reserved fields are the current
// ones), puts the typed name and birth year into each of the first entries that has a row in `rows`, and
// writes every entry back in the encoding the file came in, through a temporary file and an atomic
// replace: a crash at any instant leaves the old roster or the new one, whole. Entries beyond the rows
// are written back unchanged and no entry is invented. On any error nothing is written.
bool saveRosterEdits(const QString& path, const std::vector<RosterRowEdit>& rows, RosterSaveError* error);

} // namespace warizan
