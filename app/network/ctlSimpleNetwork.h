#pragma once

// TCP messaging between finish PCs: a listener with up to ten client slots (server role) and
// one outgoing link (client role), exchanging UTF-16LE text messages and a small
// request/answer service on top of them. Everything runs on the thread that owns the object.

#include "clsPeerMessageReader.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>

class QTcpServer;
class QTcpSocket;

class ctlSimpleNetwork : public QObject {
    Q_OBJECT

public:
    static constexpr int MaxClients = 10;
    static constexpr int DefaultTimerInterval = 30000; // ms, idle check and keep-alive
    static constexpr qint64 IdleLimitSeconds = 120;
    // Unterminated text a peer may leave in a receive buffer before its connection is dropped.
    static constexpr qint64 DefaultMaxBufferBytes = clsPeerMessageReader::DefaultMaxBufferBytes;

    explicit ctlSimpleNetwork(QObject* parent = nullptr);
    ~ctlSimpleNetwork() override;

    bool IsListen() const { return m_isListen; }
    bool IsLink() const { return m_isLink; }
    QString ThisComputerName() const;
    // SocketIndex 0-10; slot 0 is the listener and never holds a client.
    double ClientLastAccessTime(int SocketIndex) const;
    QString ClientComputerName(int SocketIndex) const;
    QString RemoteHostName() const { return m_remoteHost; }
    qint32 RemoteHostPort() const { return m_remotePort; }

    void StartListen(int PortNum);
    void StopListen();
    void OpenLink(const QString& RemoteHostName, int PortNum);
    void CloseLink();
    qint32 SendRequestToRemote(const QString& TargetValue, const QString& OptionValue, qint32 RequestID = -1);
    qint32 SendRequestToClient(const QString& TargetValue, const QString& OptionValue, int SocketIndex,
                               qint32 RequestID = -1);

    // Seams for tests and tools.
    void setIdleCheckInterval(int ms) { m_idleTimer.setInterval(ms); }
    void setKeepAliveInterval(int ms) { m_keepAliveTimer.setInterval(ms); }
    // The clock gives date values (days since 1899-12-30); empty restores the system clock.
    void setClock(std::function<double()> clock);
    void setMaxBufferBytes(qint64 bytes);
    void setThisComputerName(const QString& name) { m_computerName = name; }
    // The port actually listened on (useful after StartListen(0)); 0 when not listening.
    quint16 ListenPort() const;
    // Slots 1..n that currently exist (free or in use).
    int CreatedSlots() const { return m_created; }

signals:
    void Connecting();
    void Connected();
    void DisConnected();
    void ConnectFailed(const QString& ErrorDescription);
    void ListenStarted();
    void ListenStopped();
    void ListenFailed();
    void SocketOpened(int SocketIndex, const QString& ClientIP);
    void SocketClosed(int SocketIndex);
    void ClientConnecting(int SocketIndex);
    void ClientConnected(int SocketIndex);
    void ClientDisconnected(int SocketIndex);
    void DataArrivingFromClient(int SocketIndex, qint64 ArrivalByte, qint64 BufferedBytes);
    void DataArrivedFromClient(int SocketIndex);
    void DataArrivingFromRemote(qint64 ArrivalByte, qint64 BufferedBytes);
    void DataArrivedFromRemote();
    void DataSendingToClient(int SocketIndex);
    void DataSendingToRemote();
    void SocketErrorToClient(int SocketIndex, const QString& ErrorDescription);
    void SocketErrorToRemote(const QString& ErrorDescription);
    void SocketTimeout(int SocketIndex);
    // Connect directly (same thread): the handler writes the answer through the reference.
    void DataRequested(const QString& TargetValue, const QString& OptionValue, int SocketIndex,
                       QString& answer);
    void RequestedDataReplied(const QString& TargetValue, const QString& OptionValue, int SocketIndex,
                              const QString& answer);
    void DataAnswered(qint32 RequestID, const QString& answer);

private:
    struct Slot {
        QTcpSocket* socket = nullptr;
        bool inUse = false;
        double lastAccess = 0;
        QString computerName;
        clsPeerMessageReader receiver;
        quint64 generation = 0; // changes whenever the slot gets another connection or closes
    };

    double now() const;
    void onNewConnection();
    void onSlotReadyRead(int s);
    void onSlotError(int s);
    void closeSlot(int s);
    void discardSocket(QTcpSocket*& socket);
    void checkIdle();
    void dispatchFromClient(int s, const QString& command, const QString& key, const QString& data);

    void onClientConnected();
    void onClientReadyRead();
    void onClientError();
    void onClientClosed();
    void endLink(const QString* error, bool stopKeepAlive);
    void dispatchFromServer(const QString& command, const QString& key, const QString& data);
    void keepAlive();

    QString overflowText() const;
    void handleRequest(const QString& data, int s);
    void handleAnswer(const QString& data);
    void sendToSlot(int s, const QString& command, const QString& key, const QString& data);
    void sendToServer(const QString& command, const QString& key, const QString& data);

    QTcpServer* m_server = nullptr;
    std::array<Slot, MaxClients + 1> m_slots;
    int m_created = 0;
    bool m_isListen = false;

    QTcpSocket* m_client = nullptr;
    clsPeerMessageReader m_clientReceiver;
    quint64 m_clientGeneration = 0;
    bool m_isLink = false;
    QString m_remoteHost;
    qint32 m_remotePort = 0;

    QTimer m_idleTimer;
    QTimer m_keepAliveTimer;
    std::function<double()> m_clock;
    QString m_computerName;
};
