#include "ctlSimpleNetwork.h"

#include "ProjectError.h"
#include "basDate.h"
#include "basPeerMessage.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

namespace {

const QString KeyComputerName = u"ComputerName"_s;

// IPv4 clients of the dual-stack listener show their plain IPv4 address.
QString peerText(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}

qint32 drawRequestID() {
    return static_cast<qint32>(QRandomGenerator::global()->bounded(1000000000)) + 1;
}

} // namespace

ctlSimpleNetwork::ctlSimpleNetwork(QObject* parent) : QObject(parent) {
    m_idleTimer.setInterval(DefaultTimerInterval);
    m_keepAliveTimer.setInterval(DefaultTimerInterval);
    connect(&m_idleTimer, &QTimer::timeout, this, &ctlSimpleNetwork::checkIdle);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &ctlSimpleNetwork::keepAlive);
}

ctlSimpleNetwork::~ctlSimpleNetwork() {
    // No events from here: the host is going away with us.
    m_idleTimer.stop();
    m_keepAliveTimer.stop();
    discardSocket(m_client);
    for (auto& slot : m_slots)
        discardSocket(slot.socket);
    if (m_server) {
        m_server->disconnect(this);
        m_server->close();
    }
}

double ctlSimpleNetwork::now() const {
    return m_clock ? m_clock() : basDate::now();
}

void ctlSimpleNetwork::setClock(std::function<double()> clock) {
    m_clock = std::move(clock);
}

QString ctlSimpleNetwork::ThisComputerName() const {
    return m_computerName.isEmpty() ? QHostInfo::localHostName() : m_computerName;
}

double ctlSimpleNetwork::ClientLastAccessTime(int SocketIndex) const {
    if (SocketIndex < 0 || SocketIndex > MaxClients)
        throw ProjectError(ProjectError::OutOfRange, u"SocketIndex"_s);
    const Slot& slot = m_slots[static_cast<size_t>(SocketIndex)];
    return slot.inUse ? slot.lastAccess : 0;
}

QString ctlSimpleNetwork::ClientComputerName(int SocketIndex) const {
    if (SocketIndex < 0 || SocketIndex > MaxClients)
        throw ProjectError(ProjectError::OutOfRange, u"SocketIndex"_s);
    return m_slots[static_cast<size_t>(SocketIndex)].computerName;
}

quint16 ctlSimpleNetwork::ListenPort() const {
    return m_server && m_server->isListening() ? m_server->serverPort() : 0;
}

void ctlSimpleNetwork::setMaxBufferBytes(qint64 bytes) {
    for (Slot& slot : m_slots)
        slot.receiver.setMaxBufferBytes(bytes);
    m_clientReceiver.setMaxBufferBytes(bytes);
}

QString ctlSimpleNetwork::overflowText() const {
    return u"受信データが上限の %1 バイトを超えました"_s.arg(m_clientReceiver.maxBufferBytes());
}

// ---- server role ----------------------------------------------------------------------------

void ctlSimpleNetwork::StartListen(int PortNum) {
    if (m_isListen) {
        emit ListenFailed();
        return;
    }
    if (!m_server) {
        m_server = new QTcpServer(this);
        connect(m_server, &QTcpServer::newConnection, this, &ctlSimpleNetwork::onNewConnection);
    }
    if (PortNum < 0 || PortNum > 65535 ||
        !m_server->listen(QHostAddress::Any, static_cast<quint16>(PortNum))) {
        emit ListenFailed();
        return;
    }
    m_isListen = true;
    m_idleTimer.start();
    emit ListenStarted();
}

void ctlSimpleNetwork::StopListen() {
    for (int s = m_created; s >= 1; --s) {
        QTcpSocket* socket = m_slots[static_cast<size_t>(s)].socket;
        if (socket && socket->state() == QAbstractSocket::ConnectedState)
            closeSlot(s);
    }
    if (m_server)
        m_server->close();
    m_isListen = false;
    m_idleTimer.stop();
    emit ListenStopped();
}

void ctlSimpleNetwork::discardSocket(QTcpSocket*& socket) {
    if (!socket)
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    socket = nullptr;
}

void ctlSimpleNetwork::onNewConnection() {
    while (m_server && m_server->hasPendingConnections()) {
        QTcpSocket* incoming = m_server->nextPendingConnection();
        if (!incoming)
            return;
        if (!m_isListen) {
            incoming->abort();
            incoming->deleteLater();
            continue;
        }
        int s = 0;
        for (int i = 1; i <= m_created; ++i)
            if (!m_slots[static_cast<size_t>(i)].inUse) {
                s = i;
                break;
            }
        if (!s) {
            if (m_created >= MaxClients) {
                // All ten slots are taken: the connection is refused.
                incoming->abort();
                incoming->deleteLater();
                continue;
            }
            s = ++m_created;
        }
        Slot& slot = m_slots[static_cast<size_t>(s)];
        discardSocket(slot.socket);
        slot.socket = incoming;
        slot.inUse = true;
        slot.lastAccess = now();
        slot.computerName.clear();
        slot.receiver.clear();
        ++slot.generation;
        incoming->setParent(this);
        // Messages are small and answered at once: no waiting for a full segment.
        incoming->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(incoming, &QTcpSocket::readyRead, this, [this, s] { onSlotReadyRead(s); });
        connect(incoming, &QTcpSocket::disconnected, this, [this, s] { closeSlot(s); });
        connect(incoming, &QTcpSocket::errorOccurred, this, [this, s] { onSlotError(s); });
        connect(incoming, &QTcpSocket::bytesWritten, this, [this, s] { emit DataSendingToClient(s); });
        emit SocketOpened(s, peerText(incoming->peerAddress()));
        // Data that came with the connection is already waiting.
        if (slot.socket == incoming && incoming->bytesAvailable() > 0)
            onSlotReadyRead(s);
    }
}

void ctlSimpleNetwork::closeSlot(int s) {
    if (s < 1 || s > m_created)
        return;
    Slot& slot = m_slots[static_cast<size_t>(s)];
    if (slot.socket) {
        // The socket is replaced by the next connection; keep it from reporting anything more.
        slot.socket->disconnect(this);
        slot.socket->abort();
        if (s == m_created) {
            discardSocket(slot.socket);
        }
    }
    slot.receiver.clear();
    ++slot.generation;
    if (slot.inUse) {
        slot.computerName.clear();
        emit ClientDisconnected(s);
        slot.inUse = false;
        slot.lastAccess = 0;
        emit SocketClosed(s);
    }
    while (m_created > 0 && !m_slots[static_cast<size_t>(m_created)].socket &&
           !m_slots[static_cast<size_t>(m_created)].inUse)
        --m_created;
}

void ctlSimpleNetwork::onSlotError(int s) {
    Slot& slot = m_slots[static_cast<size_t>(s)];
    if (!slot.socket)
        return;
    if (slot.socket->error() == QAbstractSocket::RemoteHostClosedError) {
        closeSlot(s); // an ordinary close by the peer
        return;
    }
    const bool closing = slot.socket->state() == QAbstractSocket::ClosingState;
    emit SocketErrorToClient(s, slot.socket->errorString());
    if (!closing)
        closeSlot(s);
}

void ctlSimpleNetwork::onSlotReadyRead(int s) {
    Slot& slot = m_slots[static_cast<size_t>(s)];
    if (!slot.socket || !slot.inUse)
        return;
    const quint64 generation = slot.generation;
    const QByteArray bytes = slot.socket->readAll();
    if (bytes.isEmpty())
        return;
    slot.lastAccess = now();
    const clsPeerMessageReader::Arrival arrival = slot.receiver.feed(bytes);
    emit DataArrivingFromClient(s, bytes.size(), arrival.buffered);
    if (slot.generation != generation)
        return;
    if (arrival.arrived) {
        emit DataArrivedFromClient(s);
        for (const basPeerMessage::Message& m : arrival.messages) {
            if (slot.generation != generation)
                return;
            dispatchFromClient(s, m.command, m.key, m.data);
        }
    }
    if (arrival.overflow && slot.generation == generation) {
        emit SocketErrorToClient(s, overflowText());
        if (slot.generation == generation)
            closeSlot(s);
    }
}

void ctlSimpleNetwork::dispatchFromClient(int s, const QString& command, const QString& key,
                                          const QString& data) {
    Slot& slot = m_slots[static_cast<size_t>(s)];
    if (command == u"SetClientInfo" && key == KeyComputerName) {
        slot.computerName = data;
        emit ClientConnecting(s);
    } else if (command == u"RequestRemoteInfo" && key == KeyComputerName) {
        sendToSlot(s, u"AnswerRemoteInfo"_s, KeyComputerName, ThisComputerName());
    } else if (command == u"SetConnect") {
        emit ClientConnected(s);
    } else if (command == u"RequestData") {
        handleRequest(data, s);
    } else if (command == u"AnswerData") {
        handleAnswer(data);
    }
}

void ctlSimpleNetwork::checkIdle() {
    const double limit = basDate::fromSeconds(IdleLimitSeconds);
    const double current = now();
    for (int s = 1; s <= m_created; ++s) {
        Slot& slot = m_slots[static_cast<size_t>(s)];
        if (!slot.socket || slot.socket->state() == QAbstractSocket::UnconnectedState)
            continue;
        if (current - slot.lastAccess > limit) {
            emit SocketTimeout(s);
            closeSlot(s);
        }
    }
}

void ctlSimpleNetwork::sendToSlot(int s, const QString& command, const QString& key, const QString& data) {
    if (s < 1 || s > m_created)
        return;
    emit DataSendingToClient(s);
    QTcpSocket* socket = m_slots[static_cast<size_t>(s)].socket;
    if (socket && socket->state() == QAbstractSocket::ConnectedState)
        socket->write(basPeerMessage::encodeMessage(command, key, data));
}

qint32 ctlSimpleNetwork::SendRequestToClient(const QString& TargetValue, const QString& OptionValue,
                                             int SocketIndex, qint32 RequestID) {
    if (RequestID == -1)
        RequestID = drawRequestID();
    const bool usable =
        SocketIndex >= 1 && SocketIndex <= m_created && m_slots[static_cast<size_t>(SocketIndex)].inUse;
    if (usable)
        sendToSlot(SocketIndex, u"RequestData"_s, QString::number(SocketIndex),
                   basPeerMessage::requestBody(RequestID, TargetValue, OptionValue));
    else
        emit DataAnswered(RequestID, QString());
    return RequestID;
}

// ---- both roles -----------------------------------------------------------------------------

void ctlSimpleNetwork::handleRequest(const QString& data, int s) {
    const basPeerMessage::Request request = basPeerMessage::parseRequest(data);
    QString answer;
    emit DataRequested(request.target, request.option, s, answer);
    const QString body = basPeerMessage::answerBody(request.id, answer);
    if (s == 0)
        sendToServer(u"AnswerData"_s, u"0"_s, body);
    else
        sendToSlot(s, u"AnswerData"_s, QString::number(s), body);
    emit RequestedDataReplied(request.target, request.option, s, answer);
}

void ctlSimpleNetwork::handleAnswer(const QString& data) {
    const basPeerMessage::Answer answer = basPeerMessage::parseAnswer(data);
    emit DataAnswered(answer.id, answer.answer);
}

// ---- client role ----------------------------------------------------------------------------

void ctlSimpleNetwork::OpenLink(const QString& RemoteHostName, int PortNum) {
    m_remoteHost = RemoteHostName;
    m_remotePort = PortNum;
    emit Connecting();
    if (m_client && m_client->state() != QAbstractSocket::UnconnectedState) {
        m_remoteHost.clear();
        m_remotePort = 0;
        m_clientReceiver.clear();
        emit ConnectFailed(QString());
        return;
    }
    if (PortNum < 1 || PortNum > 65535) {
        m_remoteHost.clear();
        m_remotePort = 0;
        m_clientReceiver.clear();
        emit ConnectFailed(u"ポート番号が正しくありません"_s);
        return;
    }
    discardSocket(m_client);
    m_clientReceiver.clear();
    m_client = new QTcpSocket(this);
    const quint64 generation = ++m_clientGeneration;
    connect(m_client, &QTcpSocket::connected, this, &ctlSimpleNetwork::onClientConnected);
    connect(m_client, &QTcpSocket::readyRead, this, &ctlSimpleNetwork::onClientReadyRead);
    connect(m_client, &QTcpSocket::disconnected, this, &ctlSimpleNetwork::onClientClosed);
    connect(m_client, &QTcpSocket::errorOccurred, this, &ctlSimpleNetwork::onClientError);
    connect(m_client, &QTcpSocket::bytesWritten, this, [this] { emit DataSendingToRemote(); });
    m_client->connectToHost(RemoteHostName, static_cast<quint16>(PortNum));
    if (generation == m_clientGeneration)
        m_keepAliveTimer.start();
}

void ctlSimpleNetwork::CloseLink() {
    endLink(nullptr, true);
}

void ctlSimpleNetwork::endLink(const QString* error, bool stopKeepAlive) {
    const bool hadSocket = m_client != nullptr;
    m_remoteHost.clear();
    m_remotePort = 0;
    m_clientReceiver.clear();
    if (stopKeepAlive)
        m_keepAliveTimer.stop();
    ++m_clientGeneration;
    discardSocket(m_client);
    if (m_isLink) {
        if (error)
            emit SocketErrorToRemote(*error);
        m_isLink = false;
        emit DisConnected();
    } else if (hadSocket) {
        // A connection attempt or a handshake that did not finish.
        emit ConnectFailed(error ? *error : QString());
    }
}

void ctlSimpleNetwork::onClientConnected() {
    if (m_client)
        m_client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    sendToServer(u"SetClientInfo"_s, KeyComputerName, ThisComputerName());
    sendToServer(u"RequestRemoteInfo"_s, KeyComputerName, QString());
}

void ctlSimpleNetwork::onClientError() {
    if (!m_client)
        return;
    if (m_client->error() == QAbstractSocket::RemoteHostClosedError) {
        onClientClosed();
        return;
    }
    const QString description = m_client->errorString();
    endLink(&description, false);
}

void ctlSimpleNetwork::onClientClosed() {
    if (!m_client)
        return;
    endLink(nullptr, false);
}

void ctlSimpleNetwork::onClientReadyRead() {
    if (!m_client)
        return;
    const quint64 generation = m_clientGeneration;
    const QByteArray bytes = m_client->readAll();
    if (bytes.isEmpty())
        return;
    const clsPeerMessageReader::Arrival arrival = m_clientReceiver.feed(bytes);
    emit DataArrivingFromRemote(bytes.size(), arrival.buffered);
    if (generation != m_clientGeneration)
        return;
    if (arrival.arrived) {
        emit DataArrivedFromRemote();
        for (const basPeerMessage::Message& m : arrival.messages) {
            if (generation != m_clientGeneration)
                return;
            dispatchFromServer(m.command, m.key, m.data);
        }
    }
    if (arrival.overflow && generation == m_clientGeneration) {
        const QString description = overflowText();
        endLink(&description, false);
    }
}

void ctlSimpleNetwork::dispatchFromServer(const QString& command, const QString& key, const QString& data) {
    if (command == u"AnswerRemoteInfo" && key == KeyComputerName) {
        m_remoteHost = data;
        sendToServer(u"SetConnect"_s, QString(), QString());
        m_isLink = true;
        emit Connected();
    } else if (command == u"RequestData") {
        handleRequest(data, 0);
    } else if (command == u"AnswerData") {
        handleAnswer(data);
    }
}

void ctlSimpleNetwork::sendToServer(const QString& command, const QString& key, const QString& data) {
    emit DataSendingToRemote();
    if (m_client && m_client->state() == QAbstractSocket::ConnectedState)
        m_client->write(basPeerMessage::encodeMessage(command, key, data));
}

void ctlSimpleNetwork::keepAlive() {
    if (m_client && m_client->state() == QAbstractSocket::ConnectedState)
        sendToServer(u"KeepConnect"_s, QString(), QString());
}

qint32 ctlSimpleNetwork::SendRequestToRemote(const QString& TargetValue, const QString& OptionValue,
                                             qint32 RequestID) {
    if (RequestID == -1)
        RequestID = drawRequestID();
    if (m_isLink)
        sendToServer(u"RequestData"_s, u"0"_s,
                     basPeerMessage::requestBody(RequestID, TargetValue, OptionValue));
    else
        emit DataAnswered(RequestID, QString());
    return RequestID;
}
