// The peer link over real sockets on 127.0.0.1: a second component or a raw socket plays the
// other side, so the bytes on the wire are checked as well as the events.
#include "ctlSimpleNetwork.h"

#include "WaitFor.h"
#include "basDate.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QHostAddress>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// An independent UTF-16LE encoder, so the component's own encoding is not used to check itself.
QByteArray utf16le(const QString& text) {
    QStringEncoder enc(QStringConverter::Utf16LE);
    return enc(text);
}

QByteArray wire(const QString& cmd, const QString& key, const QString& data) {
    return utf16le(cmd + u"/mk2od/"_s + key + u"/mk2od/"_s + data + u"/mk2cd/"_s);
}

// Every event of one component as text, in the order raised.
struct Recorder {
    QStringList events;
    QString answerFor; // when set, DataRequested answers with this prefix plus the values
    explicit Recorder(ctlSimpleNetwork& n) {
        auto add = [this](const QString& e) { events << e; };
        QObject::connect(&n, &ctlSimpleNetwork::Connecting, [add] { add(u"Connecting"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::Connected, [add] { add(u"Connected"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::DisConnected, [add] { add(u"DisConnected"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::ConnectFailed, [add](const QString& e) {
            add(u"ConnectFailed("_s + (e.isEmpty() ? u""_s : u"text"_s) + u")"_s);
        });
        QObject::connect(&n, &ctlSimpleNetwork::ListenStarted, [add] { add(u"ListenStarted"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::ListenStopped, [add] { add(u"ListenStopped"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::ListenFailed, [add] { add(u"ListenFailed"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::SocketOpened,
                         [add](int s, const QString& ip) { add(u"SocketOpened(%1,%2)"_s.arg(s).arg(ip)); });
        QObject::connect(&n, &ctlSimpleNetwork::SocketClosed,
                         [add](int s) { add(u"SocketClosed(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::ClientConnecting,
                         [add](int s) { add(u"ClientConnecting(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::ClientConnected,
                         [add](int s) { add(u"ClientConnected(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::ClientDisconnected,
                         [add](int s) { add(u"ClientDisconnected(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::SocketErrorToClient,
                         [add](int s, const QString&) { add(u"SocketErrorToClient(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::SocketErrorToRemote,
                         [add](const QString&) { add(u"SocketErrorToRemote"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::SocketTimeout,
                         [add](int s) { add(u"SocketTimeout(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::DataArrivedFromClient,
                         [add](int s) { add(u"DataArrivedFromClient(%1)"_s.arg(s)); });
        QObject::connect(&n, &ctlSimpleNetwork::DataArrivedFromRemote,
                         [add] { add(u"DataArrivedFromRemote"_s); });
        QObject::connect(&n, &ctlSimpleNetwork::DataRequested,
                         [this, add](const QString& t, const QString& o, int s, QString& answer) {
                             add(u"DataRequested(%1,%2,%3)"_s.arg(t, o).arg(s));
                             if (!answerFor.isNull())
                                 answer = answerFor + t + u"|"_s + o;
                         });
        QObject::connect(&n, &ctlSimpleNetwork::RequestedDataReplied,
                         [add](const QString& t, const QString& o, int s, const QString& a) {
                             add(u"RequestedDataReplied(%1,%2,%3,%4)"_s.arg(t, o).arg(s).arg(a));
                         });
        QObject::connect(&n, &ctlSimpleNetwork::DataAnswered, [add](qint32 id, const QString& a) {
            add(u"DataAnswered(%1,%2)"_s.arg(id).arg(a));
        });
    }
    // Events without the arrival bookkeeping, for comparing sequences.
    QStringList main() const {
        QStringList out;
        for (const QString& e : events)
            if (!e.startsWith(u"DataArrived"_s))
                out << e;
        return out;
    }
    bool has(const QString& e) const { return events.contains(e); }
};

struct Server {
    ctlSimpleNetwork net;
    Recorder rec{net};
    quint16 port = 0;
    Server() {
        net.setThisComputerName(u"FINISH-PC"_s);
        net.StartListen(0);
        port = net.ListenPort();
    }
};

// A raw client that speaks the protocol by hand.
struct RawClient {
    QTcpSocket socket;
    QByteArray received;
    explicit RawClient(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    bool waitConnected() {
        return waitUntil([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    void send(const QByteArray& b) {
        socket.write(b);
        socket.flush();
    }
    QString text() const {
        QStringDecoder dec(QStringConverter::Utf16LE);
        return dec(received);
    }
};

TEST(ctlSimpleNetwork, HandshakeBetweenTwoComponentsRaisesBothSidesEventsInOrder) {
    Server server;
    ASSERT_TRUE(server.net.IsListen());
    ASSERT_NE(server.port, 0);
    ctlSimpleNetwork client;
    client.setThisComputerName(u"GATE-PC"_s);
    Recorder crec(client);

    client.OpenLink(u"127.0.0.1"_s, server.port);
    EXPECT_EQ(client.RemoteHostName(), u"127.0.0.1"_s);
    EXPECT_EQ(client.RemoteHostPort(), server.port);
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"ClientConnected(1)"_s); }));
    ASSERT_TRUE(waitUntil([&] { return client.IsLink(); }));

    EXPECT_EQ(crec.main(), (QStringList{u"Connecting"_s, u"Connected"_s}));
    EXPECT_EQ(server.rec.main(), (QStringList{u"ListenStarted"_s, u"SocketOpened(1,127.0.0.1)"_s,
                                              u"ClientConnecting(1)"_s, u"ClientConnected(1)"_s}));
    EXPECT_EQ(server.net.ClientComputerName(1), u"GATE-PC"_s);
    EXPECT_EQ(client.RemoteHostName(), u"FINISH-PC"_s);
    EXPECT_GT(server.net.ClientLastAccessTime(1), 0.0);
    EXPECT_EQ(server.net.ClientLastAccessTime(2), 0.0);

    // Closing from the client side ends the slot on the server.
    client.CloseLink();
    EXPECT_FALSE(client.IsLink());
    EXPECT_EQ(crec.main().last(), u"DisConnected"_s);
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"SocketClosed(1)"_s); }));
    const QStringList tail = server.rec.main().mid(4);
    EXPECT_EQ(tail, (QStringList{u"ClientDisconnected(1)"_s, u"SocketClosed(1)"_s}));
    EXPECT_EQ(server.net.ClientComputerName(1), QString());
    EXPECT_EQ(server.net.ClientLastAccessTime(1), 0.0);
}

TEST(ctlSimpleNetwork, ServerSideOfTheHandshakeOnTheWire) {
    Server server;
    RawClient raw(server.port);
    ASSERT_TRUE(raw.waitConnected());
    raw.send(wire(u"SetClientInfo"_s, u"ComputerName"_s, u"受付端末"_s) +
             wire(u"RequestRemoteInfo"_s, u"ComputerName"_s, QString()));
    const QByteArray expected = wire(u"AnswerRemoteInfo"_s, u"ComputerName"_s, u"FINISH-PC"_s);
    ASSERT_TRUE(waitUntil([&] { return raw.received.size() >= expected.size(); }));
    EXPECT_EQ(raw.received, expected);
    EXPECT_EQ(server.net.ClientComputerName(1), u"受付端末"_s);
    raw.send(wire(u"SetConnect"_s, QString(), QString()));
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"ClientConnected(1)"_s); }));

    // A request from the server carries the slot number as its key.
    raw.received.clear();
    EXPECT_EQ(server.net.SendRequestToClient(u"T"_s, u"O"_s, 1, 66), 66);
    const QByteArray request = wire(u"RequestData"_s, u"1"_s, u"66/mk2rd/T/mk2rd/O/mk2rd/-1"_s);
    ASSERT_TRUE(waitUntil([&] { return raw.received.size() >= request.size(); }));
    EXPECT_EQ(raw.received, request);
    raw.send(wire(u"AnswerData"_s, u"0"_s, u"66/mk2rd/答え/mk2rd/ignored"_s));
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"DataAnswered(66,答え)"_s); }));
}

TEST(ctlSimpleNetwork, ClientSideOfTheHandshakeOnTheWire) {
    QTcpServer raw;
    ASSERT_TRUE(raw.listen(QHostAddress::LocalHost, 0));
    ctlSimpleNetwork client;
    client.setThisComputerName(u"GATE-PC"_s);
    Recorder crec(client);
    client.OpenLink(u"127.0.0.1"_s, raw.serverPort());
    ASSERT_TRUE(waitUntil([&] { return raw.hasPendingConnections(); }));
    std::unique_ptr<QTcpSocket> peer(raw.nextPendingConnection());
    QByteArray got;
    const QByteArray hello = wire(u"SetClientInfo"_s, u"ComputerName"_s, u"GATE-PC"_s) +
                             wire(u"RequestRemoteInfo"_s, u"ComputerName"_s, QString());
    ASSERT_TRUE(waitUntil([&] {
        got += peer->readAll();
        return got.size() >= hello.size();
    }));
    EXPECT_EQ(got, hello);
    EXPECT_FALSE(client.IsLink());

    peer->write(wire(u"AnswerRemoteInfo"_s, u"ComputerName"_s, u"本部"_s));
    ASSERT_TRUE(waitUntil([&] { return client.IsLink(); }));
    EXPECT_EQ(client.RemoteHostName(), u"本部"_s);
    got.clear();
    const QByteArray setConnect = wire(u"SetConnect"_s, QString(), QString());
    ASSERT_TRUE(waitUntil([&] {
        got += peer->readAll();
        return got.size() >= setConnect.size();
    }));
    EXPECT_EQ(got, setConnect);

    // A request and a keep-alive from the client, byte for byte.
    got.clear();
    client.setKeepAliveInterval(30);
    EXPECT_EQ(client.SendRequestToRemote(u"FolderNameData"_s, u"12,名前,クラブ"_s, 55), 55);
    const QByteArray request =
        wire(u"RequestData"_s, u"0"_s, u"55/mk2rd/FolderNameData/mk2rd/12,名前,クラブ/mk2rd/-1"_s);
    const QByteArray keepAlive = wire(u"KeepConnect"_s, QString(), QString());
    ASSERT_TRUE(waitUntil([&] {
        got += peer->readAll();
        return got.size() >= request.size() + keepAlive.size();
    }));
    EXPECT_EQ(got.left(request.size()), request);
    EXPECT_EQ(got.mid(request.size(), keepAlive.size()), keepAlive);

    // The server's answer reaches DataAnswered with its number.
    peer->write(wire(u"AnswerData"_s, u"3"_s, u"55/mk2rd/OK"_s));
    ASSERT_TRUE(waitUntil([&] { return crec.has(u"DataAnswered(55,OK)"_s); }));

    // The server going away ends a set-up link with DisConnected.
    peer->close();
    ASSERT_TRUE(waitUntil([&] { return crec.has(u"DisConnected"_s); }));
    EXPECT_FALSE(client.IsLink());
    EXPECT_EQ(client.RemoteHostName(), QString());
    EXPECT_EQ(client.RemoteHostPort(), 0);
}

// How a stream of three requests is cut into arrivals.
struct Chunking {
    const char* name;
    std::vector<int> cuts; // byte offsets where one write ends and the next begins; -1: every byte
};
void PrintTo(const Chunking& c, std::ostream* os) {
    *os << c.name;
}

class Arrivals : public ::testing::TestWithParam<Chunking> {};

TEST_P(Arrivals, RequestsAreHandledOnceCompleteAndInOrder) {
    Server server;
    server.rec.answerFor = u""_s;
    RawClient raw(server.port);
    ASSERT_TRUE(raw.waitConnected());
    const QByteArray stream = wire(u"RequestData"_s, u"0"_s, u"11/mk2rd/T1/mk2rd/甲,乙/mk2rd/-1"_s) +
                              wire(u"RequestData"_s, u"0"_s, u"22/mk2rd/T2/mk2rd/二/mk2rd/-1"_s) +
                              wire(u"RequestData"_s, u"0"_s, u"33/mk2rd/T3/mk2rd/三/mk2rd/-1"_s);
    std::vector<int> cuts = GetParam().cuts;
    if (cuts == std::vector<int>{-1}) {
        cuts.clear();
        for (int i = 1; i < stream.size(); ++i)
            cuts.push_back(i);
    }
    int from = 0;
    cuts.push_back(static_cast<int>(stream.size()));
    for (int cut : cuts) {
        raw.send(stream.mid(from, cut - from));
        from = cut;
        if (from < stream.size())
            settle(cuts.size() > 20 ? 1 : 30); // let each part arrive on its own
    }
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"RequestedDataReplied"_s).size() == 3; }));
    settle(50);
    EXPECT_EQ(server.rec.events.filter(u"DataRequested"_s),
              (QStringList{u"DataRequested(T1,甲,乙,1)"_s, u"DataRequested(T2,二,1)"_s,
                           u"DataRequested(T3,三,1)"_s}));
    // The answers go back in order, each with its request's number.
    const QByteArray answers = wire(u"AnswerData"_s, u"1"_s, u"11/mk2rd/T1|甲,乙"_s) +
                               wire(u"AnswerData"_s, u"1"_s, u"22/mk2rd/T2|二"_s) +
                               wire(u"AnswerData"_s, u"1"_s, u"33/mk2rd/T3|三"_s);
    ASSERT_TRUE(waitUntil([&] { return raw.received.size() >= answers.size(); }));
    EXPECT_EQ(raw.received, answers);
}

INSTANTIATE_TEST_SUITE_P(ctlSimpleNetwork, Arrivals,
                         ::testing::Values(Chunking{"AllInOneArrival", {}},
                                           Chunking{"OddByteSplitsACharacter", {7, 61, 133}},
                                           Chunking{"CutInsideTheEndMarker", {100, 104, 107}},
                                           Chunking{"EveryByteAlone", {-1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ctlSimpleNetwork, EleventhClientIsRefusedAndAFreedSlotIsReused) {
    Server server;
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 1; i <= 10; ++i) {
        clients.push_back(std::make_unique<RawClient>(server.port));
        ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"SocketOpened(%1,127.0.0.1)"_s.arg(i)); }));
    }
    RawClient eleventh(server.port);
    bool dropped = false;
    QObject::connect(&eleventh.socket, &QTcpSocket::disconnected, [&] { dropped = true; });
    ASSERT_TRUE(
        waitUntil([&] { return dropped || eleventh.socket.state() == QAbstractSocket::UnconnectedState; }));
    settle(50);
    EXPECT_EQ(server.rec.events.filter(u"SocketOpened"_s).size(), 10);
    EXPECT_EQ(server.net.CreatedSlots(), 10);

    // Slot 4 freed: the next client gets it.
    clients[3]->socket.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"SocketClosed(4)"_s); }));
    RawClient again(server.port);
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"SocketOpened"_s).size() == 11; }));
    EXPECT_EQ(server.rec.events.filter(u"SocketOpened"_s).last(), u"SocketOpened(4,127.0.0.1)"_s);
}

struct IdleCase {
    const char* name;
    qint64 secondsLater;
    bool closed;
};
void PrintTo(const IdleCase& c, std::ostream* os) {
    *os << c.name;
}

class IdleCheck : public ::testing::TestWithParam<IdleCase> {};

TEST_P(IdleCheck, SlotsIdleForMoreThanTwoMinutesAreClosedAtTheNextCheck) {
    double clock = basDate::fromSeconds(45000 * basDate::SecondsPerDay + 36000);
    ctlSimpleNetwork net;
    Recorder rec(net);
    net.setClock([&] { return clock; });
    net.setIdleCheckInterval(20);
    net.StartListen(0);
    RawClient raw(net.ListenPort());
    ASSERT_TRUE(waitUntil([&] { return rec.has(u"SocketOpened(1,127.0.0.1)"_s); }));
    EXPECT_EQ(net.ClientLastAccessTime(1), clock);
    clock += basDate::fromSeconds(GetParam().secondsLater);
    settle(150); // several checks
    if (GetParam().closed) {
        EXPECT_EQ(rec.main().mid(2),
                  (QStringList{u"SocketTimeout(1)"_s, u"ClientDisconnected(1)"_s, u"SocketClosed(1)"_s}));
        EXPECT_TRUE(waitUntil([&] { return raw.socket.state() == QAbstractSocket::UnconnectedState; }));
    } else {
        EXPECT_EQ(rec.main().size(), 2);
        EXPECT_EQ(raw.socket.state(), QAbstractSocket::ConnectedState);
    }
}

INSTANTIATE_TEST_SUITE_P(ctlSimpleNetwork, IdleCheck,
                         ::testing::Values(IdleCase{"JustUnderTwoMinutes", 119, false},
                                           IdleCase{"ExactlyTwoMinutes", 120, false},
                                           IdleCase{"JustOverTwoMinutes", 121, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ctlSimpleNetwork, KeepAliveRefreshesTheServersAccessTime) {
    double clock = basDate::fromSeconds(45000 * basDate::SecondsPerDay);
    Server server;
    server.net.setClock([&] { return clock; });
    ctlSimpleNetwork client;
    client.setKeepAliveInterval(10);
    client.OpenLink(u"127.0.0.1"_s, server.port);
    ASSERT_TRUE(waitUntil([&] { return client.IsLink(); }));
    clock += basDate::fromSeconds(500);
    EXPECT_TRUE(waitUntil([&] { return server.net.ClientLastAccessTime(1) == clock; }));
}

struct GarbageCase {
    const char* name;
    QByteArray bytes;
};
void PrintTo(const GarbageCase& c, std::ostream* os) {
    *os << c.name;
}

class Garbage : public ::testing::TestWithParam<GarbageCase> {};

TEST_P(Garbage, IsIgnoredAndTheNextMessageStillWorks) {
    Server server;
    server.rec.answerFor = u"ok:"_s;
    RawClient raw(server.port);
    ASSERT_TRUE(raw.waitConnected());
    raw.send(GetParam().bytes);
    settle(50);
    raw.send(wire(u"RequestData"_s, u"0"_s, u"5/mk2rd/T/mk2rd/O/mk2rd/-1"_s));
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"RequestedDataReplied"_s).size() == 1; }));
    EXPECT_EQ(server.rec.events.filter(u"DataRequested"_s), (QStringList{u"DataRequested(T,O,1)"_s}));
    EXPECT_FALSE(server.rec.has(u"ClientConnecting(1)"_s));
    EXPECT_EQ(raw.socket.state(), QAbstractSocket::ConnectedState);
}

INSTANTIATE_TEST_SUITE_P(
    ctlSimpleNetwork, Garbage,
    ::testing::Values(GarbageCase{"TooFewFields",
                                  wire(u"x"_s, u"y"_s, u"z"_s).mid(0, 14) + utf16le(u"/mk2cd/"_s)},
                      GarbageCase{"UnknownCommand", wire(u"DropTables"_s, u"ComputerName"_s, u"x"_s)},
                      GarbageCase{"KeepAliveOnly", wire(u"KeepConnect"_s, QString(), QString())},
                      GarbageCase{"WrongKey", wire(u"SetClientInfo"_s, u"Name"_s, u"x"_s)},
                      GarbageCase{"BinaryNoise", QByteArray::fromHex("fffe0001026761726261676500d8") +
                                                     utf16le(u"/mk2cd/"_s)},
                      GarbageCase{"EmptyPieces", utf16le(u"/mk2cd//mk2cd//mk2cd/"_s)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ctlSimpleNetwork, UnterminatedInputBeyondTheCapClosesTheSlotWithAnError) {
    Server server;
    server.net.setMaxBufferBytes(4000);
    RawClient raw(server.port);
    ASSERT_TRUE(raw.waitConnected());
    raw.send(utf16le(QString(1500, u'a'))); // 3000 bytes: still within the cap
    settle(50);
    EXPECT_FALSE(server.rec.has(u"SocketClosed(1)"_s));
    raw.send(utf16le(QString(1500, u'a')));
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"SocketClosed(1)"_s); }));
    EXPECT_EQ(server.rec.main().mid(2),
              (QStringList{u"SocketErrorToClient(1)"_s, u"ClientDisconnected(1)"_s, u"SocketClosed(1)"_s}));
    EXPECT_TRUE(waitUntil([&] { return raw.socket.state() == QAbstractSocket::UnconnectedState; }));
}

TEST(ctlSimpleNetwork, CompleteMessagesAreNotHeldBackByAFollowingFragment) {
    Server server;
    server.net.setMaxBufferBytes(4000);
    RawClient raw(server.port);
    ASSERT_TRUE(raw.waitConnected());
    // Many complete messages, each followed by the start of the next: the buffer never ends
    // with the end marker, yet it must not grow past the cap.
    const QByteArray one = wire(u"RequestData"_s, u"0"_s, u"7/mk2rd/T/mk2rd/O/mk2rd/-1"_s);
    raw.send(one.left(20));
    for (int i = 0; i < 60; ++i) {
        raw.send(one.mid(20) + one.left(20));
        settle(2);
    }
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"RequestedDataReplied"_s).size() == 60; }));
    EXPECT_FALSE(server.rec.has(u"SocketErrorToClient(1)"_s));
}

TEST(ctlSimpleNetwork, ClientDropsAServerThatNeverEndsAMessage) {
    QTcpServer raw;
    ASSERT_TRUE(raw.listen(QHostAddress::LocalHost, 0));
    ctlSimpleNetwork client;
    client.setMaxBufferBytes(2000);
    Recorder crec(client);
    client.OpenLink(u"127.0.0.1"_s, raw.serverPort());
    ASSERT_TRUE(waitUntil([&] { return raw.hasPendingConnections(); }));
    std::unique_ptr<QTcpSocket> peer(raw.nextPendingConnection());
    peer->write(wire(u"AnswerRemoteInfo"_s, u"ComputerName"_s, u"S"_s));
    ASSERT_TRUE(waitUntil([&] { return client.IsLink(); }));
    peer->write(utf16le(QString(1200, u'x')));
    ASSERT_TRUE(waitUntil([&] { return crec.has(u"DisConnected"_s); }));
    EXPECT_EQ(crec.main(),
              (QStringList{u"Connecting"_s, u"Connected"_s, u"SocketErrorToRemote"_s, u"DisConnected"_s}));
}

TEST(ctlSimpleNetwork, ASlotClosedMidMessageLeavesNothingForTheNextClient) {
    Server server;
    server.rec.answerFor = u"ok:"_s;
    const QByteArray req = wire(u"RequestData"_s, u"0"_s, u"9/mk2rd/Stale/mk2rd/X/mk2rd/-1"_s);
    {
        RawClient first(server.port);
        ASSERT_TRUE(first.waitConnected());
        first.send(req.left(31)); // ends in the middle of a character
        settle(50);
        first.socket.disconnectFromHost();
        ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"SocketClosed(1)"_s); }));
    }
    RawClient second(server.port);
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"SocketOpened(1"_s).size() == 2; }));
    // The rest of the first client's message would complete it if anything were left over.
    second.send(req.mid(30));
    second.send(wire(u"RequestData"_s, u"0"_s, u"10/mk2rd/Fresh/mk2rd/Y/mk2rd/-1"_s));
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"RequestedDataReplied"_s).size() >= 1; }));
    settle(50);
    EXPECT_EQ(server.rec.events.filter(u"DataRequested"_s), (QStringList{u"DataRequested(Fresh,Y,1)"_s}));
}

TEST(ctlSimpleNetwork, RequestsAndAnswersInBothDirectionsCarryTheirRequestID) {
    Server server;
    server.rec.answerFor = u"server:"_s;
    ctlSimpleNetwork a, b;
    Recorder ra(a), rb(b);
    ra.answerFor = u"A:"_s;
    rb.answerFor = u"B:"_s;
    a.OpenLink(u"127.0.0.1"_s, server.port);
    ASSERT_TRUE(waitUntil([&] { return a.IsLink(); }));
    b.OpenLink(u"127.0.0.1"_s, server.port);
    ASSERT_TRUE(waitUntil([&] { return b.IsLink() && server.rec.has(u"ClientConnected(2)"_s); }));

    // Client to server, one number drawn, one given.
    const qint32 drawn = a.SendRequestToRemote(u"ApplicationNameData"_s, u"401739,山田 太郎,OLC"_s);
    EXPECT_GE(drawn, 1);
    EXPECT_LE(drawn, 1000000000);
    EXPECT_EQ(b.SendRequestToRemote(u"FolderNameData"_s, u"5,x"_s, 4242), 4242);
    ASSERT_TRUE(waitUntil([&] { return ra.events.filter(u"DataAnswered"_s).size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return rb.events.filter(u"DataAnswered"_s).size() == 1; }));
    EXPECT_EQ(
        ra.events.filter(u"DataAnswered"_s),
        (QStringList{u"DataAnswered(%1,server:ApplicationNameData|401739,山田 太郎,OLC)"_s.arg(drawn)}));
    EXPECT_EQ(rb.events.filter(u"DataAnswered"_s),
              (QStringList{u"DataAnswered(4242,server:FolderNameData|5,x)"_s}));
    EXPECT_TRUE(server.rec.has(u"DataRequested(ApplicationNameData,401739,山田 太郎,OLC,1)"_s));
    EXPECT_TRUE(server.rec.has(u"RequestedDataReplied(FolderNameData,5,x,2,server:FolderNameData|5,x)"_s));

    // Server to each client: the answer comes from the right one.
    EXPECT_EQ(server.net.SendRequestToClient(u"Q"_s, u"to-b"_s, 2, 77), 77);
    EXPECT_EQ(server.net.SendRequestToClient(u"Q"_s, u"to-a"_s, 1, 78), 78);
    ASSERT_TRUE(waitUntil([&] { return server.rec.events.filter(u"DataAnswered"_s).size() == 2; }));
    QStringList answered = server.rec.events.filter(u"DataAnswered"_s);
    answered.sort(); // the two clients answer independently
    EXPECT_EQ(answered, (QStringList{u"DataAnswered(77,B:Q|to-b)"_s, u"DataAnswered(78,A:Q|to-a)"_s}));
    EXPECT_TRUE(rb.has(u"DataRequested(Q,to-b,0)"_s));
    EXPECT_TRUE(ra.has(u"DataRequested(Q,to-a,0)"_s));

    // Requests that cannot be sent are answered at once, empty.
    server.rec.events.clear();
    EXPECT_EQ(server.net.SendRequestToClient(u"Q"_s, u"x"_s, 7, 99), 99);
    EXPECT_EQ(server.rec.events, (QStringList{u"DataAnswered(99,)"_s}));
    ctlSimpleNetwork unlinked;
    Recorder ru(unlinked);
    EXPECT_EQ(unlinked.SendRequestToRemote(u"Q"_s, u"x"_s, 5), 5);
    EXPECT_EQ(ru.events, (QStringList{u"DataAnswered(5,)"_s}));
}

TEST(ctlSimpleNetwork, StopListenClosesEveryClient) {
    Server server;
    ctlSimpleNetwork a, b;
    Recorder ra(a), rb(b);
    a.OpenLink(u"127.0.0.1"_s, server.port);
    b.OpenLink(u"127.0.0.1"_s, server.port);
    ASSERT_TRUE(waitUntil([&] { return a.IsLink() && b.IsLink(); }));
    ASSERT_TRUE(waitUntil([&] { return server.rec.has(u"ClientConnected(2)"_s); }));
    server.rec.events.clear();
    server.net.StopListen();
    EXPECT_FALSE(server.net.IsListen());
    EXPECT_EQ(server.rec.main(),
              (QStringList{u"ClientDisconnected(2)"_s, u"SocketClosed(2)"_s, u"ClientDisconnected(1)"_s,
                           u"SocketClosed(1)"_s, u"ListenStopped"_s}));
    EXPECT_TRUE(waitUntil([&] { return ra.has(u"DisConnected"_s) && rb.has(u"DisConnected"_s); }));
    // Listening again works.
    server.net.StartListen(0);
    EXPECT_TRUE(server.net.IsListen());
}

TEST(ctlSimpleNetwork, FailuresToListenOrConnectAreReported) {
    Server server;
    server.net.StartListen(0);
    EXPECT_EQ(server.rec.main().last(), u"ListenFailed"_s);

    ctlSimpleNetwork other;
    Recorder ro(other);
    other.StartListen(server.port); // the port is taken
    EXPECT_EQ(ro.main(), (QStringList{u"ListenFailed"_s}));
    EXPECT_FALSE(other.IsListen());

    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    ctlSimpleNetwork client;
    Recorder rc(client);
    client.OpenLink(u"127.0.0.1"_s, closedPort);
    ASSERT_TRUE(waitUntil([&] { return rc.events.size() >= 2; }));
    EXPECT_EQ(rc.main(), (QStringList{u"Connecting"_s, u"ConnectFailed(text)"_s}));
    EXPECT_FALSE(client.IsLink());
    EXPECT_EQ(client.RemoteHostName(), QString());
    // And a later attempt to a live server works.
    client.OpenLink(u"127.0.0.1"_s, server.port);
    EXPECT_TRUE(waitUntil([&] { return client.IsLink(); }));
}

} // namespace
