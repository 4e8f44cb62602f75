#include "ctlEcard250Reader.h"

#include "basEcard250Port.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using basEcard250Port::TextCannotConnect;
using basEcard250Port::TextConnected;
using basEcard250Port::TextConnecting;
using basEcard250Port::TextNotConnected;
const QString CaptionConnect = u"接続"_s;
const QString CaptionDisconnect = u"切断"_s;

const QColor Grey(128, 128, 128);
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

// ttyS10 after ttyS9.
bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = a.size();
    while (i > 0 && a[i - 1].isDigit())
        --i;
    qsizetype j = b.size();
    while (j > 0 && b[j - 1].isDigit())
        --j;
    if (a.left(i) != b.left(j))
        return a.left(i) < b.left(j);
    return a.mid(i).toLongLong() < b.mid(j).toLongLong();
}

} // namespace

ctlEcard250Reader::ctlEcard250Reader(QWidget* parent) : QWidget(parent) {
    m_cboPort = new QComboBox(this);
    m_cboPort->setEditable(true); // a device path can be typed, a pseudo-terminal for instance
    m_cboPort->setInsertPolicy(QComboBox::NoInsert);
    m_cboPort->setMinimumContentsLength(12);
    m_cmdConnect = new QPushButton(CaptionConnect, this);
    m_lblStatus = new QLabel(this);
    m_lblStatus->setMinimumWidth(140);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_cboPort);
    layout->addWidget(m_cmdConnect);
    layout->addWidget(m_lblStatus, 1);

    setAutoFillBackground(true);
    setBackColor(m_backColor);

    connect(&m_reader, &clsEcard250FrameReader::Reading, this, &ctlEcard250Reader::Reading);
    connect(&m_reader, &clsEcard250FrameReader::ReadTag, this, &ctlEcard250Reader::ReadTag);
    connect(&m_reader, &clsEcard250FrameReader::FrameDropped, this, &ctlEcard250Reader::showConnected);
    connect(m_cmdConnect, &QPushButton::clicked, this, &ctlEcard250Reader::toggle);
    connect(m_cboPort, &QComboBox::activated, this, [this] { onUserChoice(); });
    connect(m_cboPort->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_cboPort->lineEdit()->isModified()) {
            m_cboPort->lineEdit()->setModified(false);
            onUserChoice();
        }
    });

    refreshPorts();
    if (m_cboPort->count() > 0)
        m_cboPort->setCurrentIndex(0);
    DisConnect();
}

ctlEcard250Reader::~ctlEcard250Reader() {
    if (m_port) {
        m_port->disconnect(this);
        m_port->close();
    }
}

QStringList ctlEcard250Reader::availablePorts() {
    QStringList ports;
#ifdef Q_OS_WIN
    for (int i = 1; i <= MaxComPort; ++i)
        ports << u"COM%1"_s.arg(i);
#else
    const QDir dev(u"/dev"_s);
    for (const QString& pattern : {u"ttyUSB*"_s, u"ttyACM*"_s, u"ttyS*"_s}) {
        QStringList found =
            dev.entryList({pattern}, QDir::System | QDir::Files | QDir::Readable | QDir::Writable);
        if (found.isEmpty())
            found = dev.entryList({pattern}, QDir::System | QDir::Files);
        std::sort(found.begin(), found.end(), naturalLess);
        for (const QString& name : found)
            ports << dev.filePath(name);
    }
#endif
    return ports;
}

void ctlEcard250Reader::refreshPorts() {
    const QString current = m_cboPort->currentText();
    const QSignalBlocker block(m_cboPort);
    m_cboPort->clear();
    m_cboPort->addItems(availablePorts());
    if (!current.isEmpty())
        setDevicePath(current);
}

QString ctlEcard250Reader::DevicePath() const {
    return m_cboPort->currentText().trimmed();
}

void ctlEcard250Reader::setDevicePath(const QString& path) {
    const QString p = path.trimmed();
    if (p.isEmpty())
        return;
    const QSignalBlocker block(m_cboPort);
    int i = m_cboPort->findText(p);
    if (i < 0) {
        m_cboPort->addItem(p);
        i = m_cboPort->count() - 1;
    }
    m_cboPort->setCurrentIndex(i);
    if (i + 1 <= MaxComPort)
        m_comPort = i + 1;
}

void ctlEcard250Reader::setComPort(int port) {
    if (port < 1 || port > MaxComPort)
        return;
    m_comPort = port;
    if (port <= m_cboPort->count()) {
        const QSignalBlocker block(m_cboPort);
        m_cboPort->setCurrentIndex(port - 1);
    }
}

void ctlEcard250Reader::setBackColor(const QColor& color) {
    m_backColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

void ctlEcard250Reader::onUserChoice() {
    const QString path = DevicePath();
    const int i = m_cboPort->findText(path);
    if (i >= 0 && i + 1 <= MaxComPort && i + 1 != m_comPort) {
        m_comPort = i + 1;
        emit ComPortChanged(m_comPort);
    }
    emit DevicePathChanged(path);
}

QString ctlEcard250Reader::statusText() const {
    return m_lblStatus->text();
}

QColor ctlEcard250Reader::statusColor() const {
    return m_statusColor;
}

QString ctlEcard250Reader::buttonText() const {
    return m_cmdConnect->text();
}

bool ctlEcard250Reader::portListEnabled() const {
    return m_cboPort->isEnabled();
}

void ctlEcard250Reader::setStatus(const QString& text, const QColor& color, bool repaintNow) {
    m_statusColor = color;
    m_lblStatus->setText(text);
    QPalette pal = m_lblStatus->palette();
    pal.setColor(QPalette::WindowText, color);
    m_lblStatus->setPalette(pal);
    if (repaintNow)
        m_lblStatus->repaint();
}

void ctlEcard250Reader::toggle() {
    if (m_connected)
        DisConnect();
    else
        Connect();
}

void ctlEcard250Reader::Connect() {
    if (m_connected)
        return;
    setStatus(TextConnecting, Grey, true);

    if (!m_port) {
        m_port = new QSerialPort(this);
        connect(m_port, &QSerialPort::readyRead, this, &ctlEcard250Reader::onReadyRead);
        connect(m_port, &QSerialPort::errorOccurred, this, &ctlEcard250Reader::onPortError);
    }
    const QString path = DevicePath();
    if (!basEcard250Port::open(*m_port, path)) {
        const QString why = path.isEmpty() ? u"no port chosen"_s : m_port->errorString();
        m_port->close();
        DisConnect();
        setStatus(TextCannotConnect, Red);
        m_lblStatus->setToolTip(why);
        emit PortError(why);
        return;
    }
    m_cboPort->setEnabled(false);
    m_cmdConnect->setText(CaptionDisconnect);
    m_connected = true;
    showConnected();
    emit Connected();
    // Bytes that were waiting before the port was watched.
    if (m_port->bytesAvailable() > 0)
        onReadyRead();
}

void ctlEcard250Reader::showConnected() {
    if (!m_connected)
        return;
    // Dropped frames show beside the state: a noisy line is told from a quiet unit.
    const QString dropped = basEcard250Port::droppedText(m_reader);
    setStatus(dropped.isEmpty() ? TextConnected : TextConnected + u"  "_s + dropped, Blue);
    m_lblStatus->setToolTip(DevicePath());
}

void ctlEcard250Reader::DisConnect() {
    m_cboPort->setEnabled(true);
    m_cmdConnect->setText(CaptionConnect);
    setStatus(TextNotConnected, Red);
    if (m_connected) {
        m_connected = false;
        if (m_port && m_port->isOpen())
            m_port->close();
        emit DisConnected();
    }
}

void ctlEcard250Reader::onReadyRead() {
    if (!m_connected || !m_port)
        return;
    const QByteArray bytes = m_port->readAll();
    m_reader.feed(bytes);
}

void ctlEcard250Reader::onPortError() {
    if (!m_port)
        return;
    const QSerialPort::SerialPortError e = m_port->error();
    if (e == QSerialPort::NoError || !m_connected)
        return;
    // A port that went away (an adapter pulled out, the far end of a terminal closed) or broke.
    if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError ||
        e == QSerialPort::DeviceNotFoundError || e == QSerialPort::ReadError ||
        e == QSerialPort::UnknownError) {
        const QString why = m_port->errorString();
        m_port->clearError();
        DisConnect();
        m_lblStatus->setToolTip(why);
        emit PortError(why);
    }
}
