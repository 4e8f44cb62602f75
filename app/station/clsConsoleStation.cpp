#include "clsConsoleStation.h"

#include "UserPrompt.h"
#include "basBrevanto2.h"
#include "basEcard250Port.h"
#include "basPath.h"
#include "basResultText.h"
#include "clsEcard250FrameReader.h"
#include "clsEcardTagStock.h"
#include "clsEventSettingFile.h"
#include "clsFinishStation.h"
#include "clsLivePublisher.h"
#include "clsNameDataTable.h"
#include "clsTicketPrinter.h"
#include "ctlSimpleNetwork.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPort>

using namespace Qt::StringLiterals;

clsConsoleStation::clsConsoleStation(UserPrompt* prompt, FILE* out, QObject* parent)
    : QObject(parent), m_prompt(prompt), m_out(out), m_station(new clsFinishStation(prompt, QString(), this)),
      m_reader(new clsEcard250FrameReader(this)) {
    connect(m_reader, &clsEcard250FrameReader::ReadTag, this, &clsConsoleStation::onReadTag);
    connect(m_reader, &clsEcard250FrameReader::Reading, this,
            [this](qint32 no) { print(basResultText::readingText(no)); });
    // A noisy line shows as dropped frames; a quiet unit shows nothing.
    connect(m_reader, &clsEcard250FrameReader::FrameDropped, this,
            [this] { print(basEcard250Port::droppedText(*m_reader)); });
}

clsConsoleStation::~clsConsoleStation() = default;

void clsConsoleStation::print(const QString& text) {
    std::fputs(QString(text).replace(u"\r\n"_s, u"\n"_s).toUtf8().constData(), m_out);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}

bool clsConsoleStation::openFolder(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        m_prompt->message(u"データフォルダがありません: "_s + folder, UserPrompt::Buttons::Ok,
                          UserPrompt::Icon::Critical, QString());
        return false;
    }
    const QString path = basPath::folderOf(QDir(folder).absolutePath() + u'/');
    const clsEventSettingFile ini = clsEventSettingFile::read(path);
    m_eventName = ini.EventName;
    m_eventDate = ini.EventDate;
    m_station->openFolder(path, ini.PenacheckRule);
    m_eventName = ini.EventName;
    m_eventDate = ini.EventDate;
    print(ini.EventName + u"  "_s + QDir::toNativeSeparators(path));
    print(basResultText::readCountText(m_station->TagStock()->TagTable().Count()) + u"  "_s +
          basResultText::nameCountText(m_station->NameDataTable()->NameDataTable().Count()));
    return true;
}

bool clsConsoleStation::connectPort(const QString& device) {
    if (!m_port) {
        m_port = new QSerialPort(this);
        connect(m_port, &QSerialPort::readyRead, this, [this] { m_reader->feed(m_port->readAll()); });
        connect(m_port, &QSerialPort::errorOccurred, this, &clsConsoleStation::onPortError);
    }
    if (!basEcard250Port::open(*m_port, device)) {
        m_prompt->message(basEcard250Port::TextCannotConnect + u": "_s + device + u" ("_s +
                              m_port->errorString() + u')',
                          UserPrompt::Buttons::Ok, UserPrompt::Icon::Critical, QString());
        return false;
    }
    m_device = device;
    print(basEcard250Port::TextConnected + u": "_s + device);
    return true;
}

void clsConsoleStation::reportNoPort() {
    print(basEcard250Port::TextNotConnected + u" (--port DEVICE)"_s);
}

void clsConsoleStation::onPortError() {
    const QSerialPort::SerialPortError error = m_port->error();
    // A port that went away (an adapter pulled out, the far end of a terminal closed) or broke.
    if (error == QSerialPort::NoError || !m_port->isOpen())
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::PermissionError && error != QSerialPort::DeviceNotFoundError &&
        error != QSerialPort::UnknownError)
        return;
    const QString why = m_port->errorString();
    m_port->clearError();
    m_port->close();
    print(basEcard250Port::TextNotConnected + u": "_s + m_device + u" ("_s + why + u')');
}

bool clsConsoleStation::listen(int port) {
    m_network = new ctlSimpleNetwork(this);
    connect(m_network, &ctlSimpleNetwork::DataRequested, this,
            [this](const QString& target, const QString& option, int, QString& answer) {
                answer = m_station->answerRequest(target, option);
                print(target + u": "_s + option + u" -> "_s + (answer.isEmpty() ? u"(none)"_s : answer));
            });
    m_network->StartListen(port);
    if (!m_network->IsListen()) {
        m_prompt->message(u"ポート "_s + QString::number(port) + u" で接続を待ち受けられません"_s,
                          UserPrompt::Buttons::Ok, UserPrompt::Icon::Critical, QString());
        return false;
    }
    print(u"他のパソコンからのコマンドを受け付けています (TCP "_s + QString::number(port) + u')');
    return true;
}

void clsConsoleStation::publish(const QString& folder, bool analysisPages) {
    if (!m_publisher) {
        m_publisher = new clsLivePublisher(
            m_station,
            [this] {
                return m_station->Quorvelin2Object(m_eventName, m_eventDate, basBrevanto2::windowCaption());
            },
            this);
        connect(m_reader, &clsEcard250FrameReader::Reading, m_publisher, &clsLivePublisher::cardArriving);
        connect(m_publisher, &clsLivePublisher::publishFailed, this,
                [this](const QString& why) { print(why); });
        connect(m_publisher, &clsLivePublisher::publishRecovered, this, [this] {
            print(u"結果を公開しています: "_s + QDir::toNativeSeparators(m_publisher->folder()));
        });
    }
    m_publisher->setAnalysisPages(analysisPages);
    m_publisher->setFolder(folder);
    print(u"結果を公開しています: "_s + QDir::toNativeSeparators(m_publisher->folder()));
}

void clsConsoleStation::onReadTag(std::shared_ptr<clsEcardTagData> tag) {
    const clsFinishStation::ReadOutcome out = m_station->readTag(std::move(tag));
    QString text = u"----------------------------------------\r\n"_s + out.nameLabel + u"\r\n"_s;
    if (!out.resultsLabel.isEmpty())
        text += out.resultsLabel;
    if (text.endsWith(u"\r\n"_s))
        text.chop(2);
    print(text);
    if (m_tickets)
        m_tickets->afterRead(*m_station, out, m_eventName, m_eventDate);
}

bool clsConsoleStation::printTickets(const QString& printer, const QString& folder,
                                     clsLapTicket::Paper paper) {
    const auto refuse = [this](const QString& why) {
        m_prompt->message(u"ラップ票: "_s + why, UserPrompt::Buttons::Ok, UserPrompt::Icon::Critical,
                          QString());
        return false;
    };
    if (!printer.isEmpty() && !clsTicketPrinter::canPrint())
        return refuse(
            u"このプログラムはプリンタに印刷できません (brevanto2 --console か --ticket-folder DIR)"_s);
    if (printer.isEmpty() && !QFileInfo(folder).isDir())
        return refuse(u"フォルダがありません: "_s + folder);
    if (!m_tickets) {
        m_tickets = new clsTicketPrinter(this);
        connect(m_tickets, &clsTicketPrinter::printed, this,
                [this](const QString& where) { print(u"ラップ票 → "_s + QDir::toNativeSeparators(where)); });
        // Said once; the reading goes on.
        connect(m_tickets, &clsTicketPrinter::failed, this,
                [this](const QString& why) { print(u"× "_s + why); });
    }
    if (printer.isEmpty())
        m_tickets->setFolder(QDir(folder).absolutePath());
    else
        m_tickets->setPrinter(printer);
    m_tickets->setPaper(paper);
    m_tickets->setEnabled(true);
    print(u"ラップ票を印刷します ("_s + QString::number(static_cast<int>(paper)) + u" mm): "_s +
          (printer.isEmpty() ? QDir::toNativeSeparators(m_tickets->destination()) : printer));
    return true;
}
