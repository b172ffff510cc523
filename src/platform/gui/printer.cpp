#include "platform/gui/printer.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace warizan {

QString SystemPrinter::defaultPrinterName() const {
    // With no printer installed the default is a null printer info: a QPrinter would silently write a
    // PDF with no file name.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? QString() : info.printerName();
}

std::unique_ptr<QPagedPaintDevice> SystemPrinter::startJob(const QString& documentName, QString* error) {
    const QString name = defaultPrinterName();
    if (name.isEmpty()) {
        if (error)
            *error = QStringLiteral("プリンターがありません。");
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(name);
    printer->setDocName(documentName);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    if (!printer->isValid()) {
        if (error)
            *error = QStringLiteral("プリンター「%1」を使えません。").arg(name);
        return nullptr;
    }
    return printer;
}

} // namespace warizan
