#pragma once

// The printers of the platform for lap tickets: a printer device by name, and the print
// dialog's choice.

#include <QString>

#include <memory>
#include <optional>

#include <QPagedPaintDevice>
class QWidget;

namespace basTicketPrinter {

// A device on the named printer at its full resolution, printing from the paper's edge, the job
// named by title; none, with the reason, when the platform knows no such printer.
std::unique_ptr<QPagedPaintDevice> makePrinter(const QString& name, const QString& title, QString* error);
// The platform's print dialog, starting on the named printer; the printer chosen.
std::optional<QString> choosePrinter(const QString& current, QWidget* parent);

} // namespace basTicketPrinter
