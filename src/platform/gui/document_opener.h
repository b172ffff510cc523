#pragma once

#include <QString>
#include <QStringList>

namespace warizan {

// The files to try, in order, for the help document `base` (a path without extension): on Windows the
// ".HLP" of the suite's machines first; everywhere the HTML page of the same name, which also stands in
// where no viewer for ".HLP" is left.
QStringList helpFileCandidates(const QString& base);

// Opens a document with the program the platform has for its kind (the help file).
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // Returns false when there is no such file or nothing on the system can show it.
    virtual bool open(const QString& path) = 0;
};

class SystemDocumentOpener final : public DocumentOpener {
public:
    bool open(const QString& path) override;
};

} // namespace warizan
