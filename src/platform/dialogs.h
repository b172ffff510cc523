#pragma once

#include <QString>

namespace warizan {

// Message boxes and the end of the program. Routines that must end the program show their message and
// call endProgram(); after that returns they return at once without doing any more work (the real
// implementation never returns; a test double records the end and returns).
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Critical };
    virtual ~Dialogs() = default;

    // A modal message box with an OK button only; returns when it is dismissed.
    virtual void showMessage(const QString& title, const QString& text, Icon icon) = 0;

    // A message about a file the program has just kept for the family (a PDF): `text`, then `path` on a
    // line of its own, never broken inside, and the offer to open the file. True when the family asked
    // for it to be opened. Without a screen to ask on, the message alone (false).
    virtual bool offerToOpen(const QString& title, const QString& text, const QString& path) {
        showMessage(title, text + u'\n' + path, Icon::Information);
        return false;
    }

    // Unloads every open window (last opened first), closes the files and ends the program with `exitCode`.
    virtual void endProgram(int exitCode) = 0;
};

} // namespace warizan
