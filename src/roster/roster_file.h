#pragma once

#include "state/program_state.h"
#include "textdata/text_data.h"

#include <QString>
#include <vector>

namespace warizan {

inline const QString kRosterFileName = QStringLiteral("生徒用名簿.txt");
// The copy a roster save leaves behind when it is interrupted; it becomes the roster again on recovery.
inline const QString kRosterTempFileName = QStringLiteral("生徒用名簿temp.txt");

// Characters of the name and of the two reserved text fields of an entry, as every program of the suite
// keeps them.
inline constexpr int kRosterTextWidth = 20;

QString rosterPath(const Configuration& config);
QString rosterTempPath(const Configuration& config);

// A failure with the number the suite's programs have always reported for it, so a family's description
// of a message still means the same thing.
struct RosterFileError {
    int number = 0;
    QString description;
    bool whileReading = false; // the file opened, and an entry of it could not be read
    // The file is no roster at all (a folder, a pipe or device, far too large, in no encoding the suite
    // uses): waiting for another program to finish replacing it cannot help.
    bool lasting = false;
    // The line of the entry that could not be read (from 1); 0 when no entry is at fault.
    int line = 0;
};
inline constexpr int kErrorFileNotFound = 53;
inline constexpr int kErrorInputPastEnd = 62;
inline constexpr int kErrorFileAccess = 75;

// `text` cut or blank-padded to exactly `width` characters; a cut never splits a surrogate pair, so a
// rewritten file always encodes.
QString fixedWidthText(const QString& text, int width);

// Reads the roster one entry (eight fields) at a time, in file order, in whichever layout of the field
// format and whichever of the suite's encodings the file comes in.
class RosterReader final {
public:
    // Loads the whole file; a missing file reports kErrorFileNotFound, any other failure kErrorFileAccess.
    // A file cut inside a character (a copy or save broken off) is read up to the cut: its entries before
    // the cut are whole, and the entry the cut falls in is reported as cut short (see readEntry).
    bool open(const QString& path, RosterFileError* error);
    bool atEnd() const { return m_fields.atEnd(); }
    // The next entry with its text fields at their fixed width and its numbers rounded to whole numbers
    // (halves to even, as the suite's programs read them). Fewer than eight fields left is
    // kErrorInputPastEnd: a cut-short entry is not guessed at. The error then names the line to look at:
    // that of the first entry that did not end with its line (a lone quote or a missing or extra field
    // there shifts every entry after it), or else that of the cut-short entry.
    bool readEntry(RosterEntry* entry, RosterFileError* error);
    // Whether the fields make whole entries. When they do not, reading would end in kErrorInputPastEnd:
    // returns false with that error and its line, found without building the entries.
    bool checkWholeEntries(RosterFileError* error);
    // The encoding the file came in, which a rewrite of the roster must keep.
    TextEncoding encoding() const { return m_cutInsideCharacter ? m_cutEncoding : m_fields.encoding(); }
    // The line the last entry read began on.
    int entryLine() const { return m_entryLine; }

private:
    TextDataReader m_fields;
    int m_entryLine = 0;
    int m_firstShiftedLine = 0;
    bool m_cutInsideCharacter = false;
    TextEncoding m_cutEncoding = TextEncoding::ShiftJis;
};

// Every entry of the roster in file order, whatever its status or number.
bool readRosterFile(const QString& path, std::vector<RosterEntry>* entries, TextEncoding* encoding,
                    RosterFileError* error);

// What the roster recovery found.
enum class RosterRecovery {
    Readable, // the roster opened; nothing was done
    Restored, // the roster could not be opened and the interrupted-save copy took its place
    Failed    // neither: `error` says why, and the program cannot go on to the pupil list
};

// Run before the roster is used: when the roster cannot be opened for reading, the copy an interrupted
// save left behind is renamed to be the roster. An existing but unreadable roster is never replaced.
RosterRecovery 名簿ファイル処理(const Configuration& config, RosterFileError* error = nullptr);

} // namespace warizan
