#pragma once

#include <QString>
#include <memory>

class QPagedPaintDevice;

namespace warizan {

// The system's default printer, for the printed report. A job is a paint device whose pages come out of
// the printer when it is destroyed with its painter ended.
class Printer {
public:
    virtual ~Printer() = default;
    // The default printer's name, or empty when no printer is installed.
    virtual QString defaultPrinterName() const = 0;
    // Starts a job named `documentName` on the default printer, A4 portrait. Returns nullptr with
    // `error` (Japanese) filled when there is no printer or it cannot be used; never fails silently.
    virtual std::unique_ptr<QPagedPaintDevice> startJob(const QString& documentName, QString* error) = 0;
};

// The machine's default printer through the platform's print system.
class SystemPrinter final : public Printer {
public:
    QString defaultPrinterName() const override;
    std::unique_ptr<QPagedPaintDevice> startJob(const QString& documentName, QString* error) override;
};

} // namespace warizan
