#pragma once

// Where lap tickets go and when: a printer or a folder (one PDF per ticket), on roll paper of
// 58 or 80 mm. A ticket asked for after a read is queued and printed once the event loop runs
// again, so that the screen shows the read first; a failing destination is reported once (until
// a ticket goes through or the destination changes) and never stops the reading.
//
// Painting needs the GUI application (fonts); printers need the print support of the program
// with windows, which hands in how a printer device is made.

#include "clsFinishStation.h"
#include "clsLapTicket.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

#include <QPagedPaintDevice>
class clsMachineSettings;

class clsTicketPrinter final : public QObject {
    Q_OBJECT
public:
    // A paint device on the named printer for a job of that title; none with the reason when
    // there is no such printer.
    using PrinterMaker = std::function<std::unique_ptr<QPagedPaintDevice>(
        const QString& printer, const QString& title, QString* error)>;
    // Set once by a program that can print; without it only folders take tickets.
    static void setPrinterMaker(PrinterMaker maker);
    static bool canPrint();

    enum class Target { None, Printer, Folder };

    explicit clsTicketPrinter(QObject* parent = nullptr);
    ~clsTicketPrinter() override;
    Q_DISABLE_COPY_MOVE(clsTicketPrinter)

    void setPrinter(const QString& name);
    void setFolder(const QString& folder);
    void setPaper(clsLapTicket::Paper paper) { m_paper = paper; }
    Target target() const { return m_target; }
    QString destination() const { return m_destination; }
    clsLapTicket::Paper paper() const { return m_paper; }

    // Switch, destination and paper as the machine settings keep them.
    void readSettings(const clsMachineSettings& settings);

    // Tickets after reads: off by default.
    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }
    // While enabled, queues the ticket of a read that was new and made results; true when
    // one was queued. A read seen before gets none.
    bool afterRead(const clsFinishStation& station, const clsFinishStation::ReadOutcome& read,
                   const QString& eventName, double eventDate);

    // Queues the ticket for the next pass of the event loop.
    void enqueue(clsLapTicket ticket);
    int pending() const { return static_cast<int>(m_queue.size()); }
    // Prints at once; false with the reason.
    bool print(const clsLapTicket& ticket, QString* error);

    // Lays the lines out on the device in the Japanese fixed-width font, the page as wide as the
    // roll and as long as the lines; false with the reason.
    static bool paint(const QStringList& lines, clsLapTicket::Paper paper, QPagedPaintDevice& device,
                      QString* error, const QList<int>& bold = {});
    // A PDF of the ticket written whole under path; false with the reason.
    static bool writePdf(const QStringList& lines, clsLapTicket::Paper paper, const QString& path,
                         QString* error, const QList<int>& bold = {});

signals:
    // A ticket went out: the file written, or the printer's name.
    void printed(const QString& where);
    // The first failure of a run of failures.
    void failed(const QString& message);

private:
    void flush();
    QString freePath(const clsLapTicket& ticket) const;

    bool m_enabled = false;
    Target m_target = Target::None;
    QString m_destination;
    clsLapTicket::Paper m_paper = clsLapTicket::Paper::Roll80;
    std::deque<clsLapTicket> m_queue;
    bool m_scheduled = false;
    bool m_failing = false;
};
