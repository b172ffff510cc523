#pragma once

#include <QString>

namespace warizan {

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
