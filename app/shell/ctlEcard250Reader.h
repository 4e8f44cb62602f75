#pragma once

// The reading-unit panel: a port list, a connect/disconnect button and a status line over a
// serial port. Bytes are handed to clsEcard250FrameReader as they arrive (no polling), so an
// idle port costs nothing and a card is raised as soon as its second copy is complete.
//
// The port number of the settings (ComPort, 1-15) is kept for compatibility; on systems whose
// ports have paths the chosen device path (DevicePath) is what is opened and is worth keeping
// beside it. Nothing is ever sent to the unit.

#include "clsEcard250FrameReader.h"
#include "clsEcardTagData.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QSerialPort;

class ctlEcard250Reader : public QWidget {
    Q_OBJECT

public:
    static constexpr int MaxComPort = 15;

    explicit ctlEcard250Reader(QWidget* parent = nullptr);
    ~ctlEcard250Reader() override;

    // The port is open and being watched. (The event of the same name is the signal Connected.)
    bool IsConnected() const { return m_connected; }
    void Connect();
    void DisConnect();
    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor& color);
    // 1-15; other values are ignored. Selects that list position without raising ComPortChanged.
    int ComPort() const { return m_comPort; }
    void setComPort(int port);

    // The device the panel opens: the list entry chosen or the path typed.
    QString DevicePath() const;
    // Selects a device path, adding it to the list when it is not there (a pseudo-terminal).
    void setDevicePath(const QString& path);
    // The serial devices of this machine as the list offers them.
    static QStringList availablePorts();
    // Re-reads the device list, keeping the current choice.
    void refreshPorts();

    // The stream logic, for callers that want its state.
    clsEcard250FrameReader* reader() { return &m_reader; }
    // The status line as shown, for the window and for tests.
    QString statusText() const;
    QColor statusColor() const;
    QString buttonText() const;
    bool portListEnabled() const;

signals:
    void ComPortChanged(int port);
    void Connected();
    void DisConnected();
    void ReadTag(std::shared_ptr<clsEcardTagData> TagData);
    void Reading(qint32 EcardNo);
    // Beyond the unit's events: the user chose another device, and a port failure (cannot be
    // opened, or went away while connected) with the system's description.
    void DevicePathChanged(const QString& path);
    void PortError(const QString& description);

private:
    void setStatus(const QString& text, const QColor& color, bool repaintNow = false);
    void showConnected();
    void onUserChoice();
    void onReadyRead();
    void onPortError();
    void toggle();

    clsEcard250FrameReader m_reader;
    QComboBox* m_cboPort = nullptr;
    QPushButton* m_cmdConnect = nullptr;
    QLabel* m_lblStatus = nullptr;
    QSerialPort* m_port = nullptr;
    bool m_connected = false;
    int m_comPort = 1;
    QColor m_backColor{224, 224, 224};
    QColor m_statusColor;
};
