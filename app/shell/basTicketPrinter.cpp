#include "basTicketPrinter.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

namespace basTicketPrinter {

std::unique_ptr<QPagedPaintDevice> makePrinter(const QString& name, const QString& title, QString* error) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        if (error)
            *error = u"プリンタが見つかりません: "_s + name;
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setDocName(title);
    return printer;
}

std::optional<QString> choosePrinter(const QString& current, QWidget* parent) {
    QPrinter printer;
    if (!current.isEmpty())
        printer.setPrinterName(current);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(u"ラップ票の印刷先"_s);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted || printer.printerName().isEmpty())
        return std::nullopt;
    return printer.printerName();
}

} // namespace basTicketPrinter
