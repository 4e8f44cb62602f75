#pragma once

// The finish station without a window: opens a data folder, reads cards from the reading unit
// on a serial device and prints what the main window would show for each; serves the peer
// link on request.

#include "clsLapTicket.h"

#include <QObject>
#include <QString>

#include <cstdio>
#include <memory>

class QSerialPort;
class UserPrompt;
class clsEcard250FrameReader;
class clsEcardTagData;
class clsFinishStation;
class clsTicketPrinter;
class clsLivePublisher;
class ctlSimpleNetwork;

class clsConsoleStation final : public QObject {
    Q_OBJECT
public:
    clsConsoleStation(UserPrompt* prompt, FILE* out, QObject* parent = nullptr);
    ~clsConsoleStation() override;
    Q_DISABLE_COPY_MOVE(clsConsoleStation)

    // Each returns false with the reason printed.
    bool openFolder(const QString& folder);
    bool connectPort(const QString& device);
    // Says that no reading unit is connected.
    void reportNoPort();
    bool listen(int port);
    // Keeps the result pages in a folder while cards arrive; a failure to write is printed once.
    void publish(const QString& folder, bool analysisPages);

    // Lap tickets after each new read, to a printer or into a folder (one PDF each); false with
    // the reason printed when neither can take them.
    bool printTickets(const QString& printer, const QString& folder, clsLapTicket::Paper paper);
    clsTicketPrinter* tickets() const { return m_tickets; }

    clsFinishStation* station() const { return m_station; }
    clsLivePublisher* publisher() const { return m_publisher; }
    clsEcard250FrameReader* reader() const { return m_reader; }
    // What the window would show for one card.
    void onReadTag(std::shared_ptr<clsEcardTagData> tag);

private:
    // One block of text on the output, flushed at once: a log through a pipe or into a file is
    // complete up to the last card even when the program is killed.
    void print(const QString& text);
    void onPortError();

    UserPrompt* m_prompt;
    FILE* m_out;
    clsFinishStation* m_station;
    clsEcard250FrameReader* m_reader;
    QSerialPort* m_port = nullptr;
    QString m_device; // as named on the command line
    ctlSimpleNetwork* m_network = nullptr;
    clsTicketPrinter* m_tickets = nullptr;
    clsLivePublisher* m_publisher = nullptr;
    QString m_eventName;
    double m_eventDate = 0;
};
