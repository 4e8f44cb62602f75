// The reading-unit panel on the offscreen platform over a real pseudo-terminal.
#include "ctlEcard250Reader.h"

#include "PseudoTerminal.h"
#include "WaitFor.h"
#include "basEcard250Wire.h"
#include "clsEcard250FrameReader.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QStringList>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Panel {
    ctlEcard250Reader panel;
    QStringList events;
    std::vector<std::shared_ptr<clsEcardTagData>> tags;
    Panel() {
        QObject::connect(&panel, &ctlEcard250Reader::Connected, [this] { events << u"Connected"_s; });
        QObject::connect(&panel, &ctlEcard250Reader::DisConnected, [this] { events << u"DisConnected"_s; });
        QObject::connect(&panel, &ctlEcard250Reader::ComPortChanged,
                         [this](int p) { events << u"ComPortChanged(%1)"_s.arg(p); });
        QObject::connect(&panel, &ctlEcard250Reader::Reading,
                         [this](qint32 n) { events << u"Reading(%1)"_s.arg(n); });
        QObject::connect(&panel, &ctlEcard250Reader::ReadTag, [this](std::shared_ptr<clsEcardTagData> t) {
            events << u"ReadTag(%1)"_s.arg(t->EcardNo());
            tags.push_back(std::move(t));
        });
        QObject::connect(&panel, &ctlEcard250Reader::PortError,
                         [this](const QString&) { events << u"PortError"_s; });
    }
};

struct Look {
    QString status;
    QColor colour;
    QString button;
    bool listEnabled;
};

void expectLook(const ctlEcard250Reader& p, const Look& look) {
    EXPECT_EQ(p.statusText(), look.status);
    EXPECT_EQ(p.statusColor(), look.colour);
    EXPECT_EQ(p.buttonText(), look.button);
    EXPECT_EQ(p.portListEnabled(), look.listEnabled);
}

const Look NotConnected{u"× 接続していません"_s, QColor(255, 0, 0), u"接続"_s, true};
const Look IsConnected{u"○ 接続しました"_s, QColor(0, 0, 255), u"切断"_s, false};
const Look CannotConnect{u"× 接続できません"_s, QColor(255, 0, 0), u"接続"_s, true};

QByteArray cardBytes(qint32 number, int salt) {
    clsEcardTagData t;
    t.setEcardNo(number);
    t.setProductionWeek(10);
    t.setProductionYear(2015);
    t.setPunch(1, 0, 0);
    t.setPunch(2, 31 + salt, 100 + salt);
    t.setPunch(3, 250, 200 + salt);
    const QByteArray f = clsEcard250FrameReader::scramble(basEcard250Wire::frameOf(t));
    return f + f;
}

TEST(ctlEcard250Reader, StartsDisconnectedWithItsDefaults) {
    Panel p;
    expectLook(p.panel, NotConnected);
    EXPECT_FALSE(p.panel.IsConnected());
    EXPECT_EQ(p.panel.ComPort(), 1);
    EXPECT_EQ(p.panel.BackColor(), QColor(224, 224, 224));
    EXPECT_TRUE(p.events.isEmpty());
    p.panel.setBackColor(QColor(10, 20, 30));
    EXPECT_EQ(p.panel.BackColor(), QColor(10, 20, 30));
    EXPECT_EQ(p.panel.palette().color(QPalette::Window), QColor(10, 20, 30));
}

TEST(ctlEcard250Reader, APortThatCannotBeOpenedEndsDisconnectedAndIsReported) {
    Panel p;
    p.panel.setDevicePath(u"/dev/no-such-serial-port"_s);
    p.panel.Connect();
    expectLook(p.panel, CannotConnect);
    EXPECT_FALSE(p.panel.IsConnected());
    EXPECT_EQ(p.events, (QStringList{u"PortError"_s}));
}

TEST(ctlEcard250Reader, ReadsCardsFromAPseudoTerminalAndSurvivesItsEnd) {
    auto pty = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(pty->ok());
    Panel p;
    p.panel.setDevicePath(pty->path());
    EXPECT_EQ(p.panel.DevicePath(), pty->path());
    p.panel.Connect();
    expectLook(p.panel, IsConnected);
    ASSERT_TRUE(p.panel.IsConnected());
    p.panel.Connect(); // ignored while connected
    EXPECT_EQ(p.events, (QStringList{u"Connected"_s}));

    ASSERT_TRUE(pty->write(cardBytes(401739, 1)));
    ASSERT_TRUE(waitUntil([&] { return !p.tags.empty(); }));
    EXPECT_EQ(p.events, (QStringList{u"Connected"_s, u"Reading(401739)"_s, u"ReadTag(401739)"_s}));
    EXPECT_EQ(p.tags[0]->ControlSeconds(2), 101);

    // The far end goes away: disconnected, reported, and nothing else happens.
    pty->close();
    ASSERT_TRUE(waitUntil([&] { return !p.panel.IsConnected(); }));
    expectLook(p.panel, NotConnected);
    EXPECT_EQ(p.events.mid(3), (QStringList{u"DisConnected"_s, u"PortError"_s}));

    // Connecting again to a terminal that is there works, and the watch state was kept: the
    // same card is not delivered twice in a row.
    pty = std::make_unique<PseudoTerminal>();
    p.panel.setDevicePath(pty->path());
    p.panel.Connect();
    ASSERT_TRUE(p.panel.IsConnected());
    ASSERT_TRUE(pty->write(cardBytes(401739, 1) + cardBytes(777, 2)));
    ASSERT_TRUE(waitUntil([&] { return p.tags.size() == 2; }));
    EXPECT_EQ(p.tags[1]->EcardNo(), 777);

    // The button disconnects.
    p.panel.findChild<QPushButton*>()->click();
    expectLook(p.panel, NotConnected);
    EXPECT_EQ(p.events.last(), u"DisConnected"_s);
}

TEST(ctlEcard250Reader, ComPortFollowsTheListAndOnlyTheUserRaisesTheEvent) {
    Panel p;
    QComboBox* list = p.panel.findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    // Make sure there are at least three entries, whatever this machine has.
    p.panel.setDevicePath(u"/tmp/port-a"_s);
    p.panel.setDevicePath(u"/tmp/port-b"_s);
    p.panel.setDevicePath(u"/tmp/port-c"_s);
    p.events.clear();

    p.panel.setComPort(2);
    EXPECT_EQ(p.panel.ComPort(), 2);
    EXPECT_EQ(list->currentIndex(), 1);
    p.panel.setComPort(16); // ignored
    p.panel.setComPort(0);  // ignored
    EXPECT_EQ(p.panel.ComPort(), 2);
    EXPECT_TRUE(p.events.isEmpty());

    list->setCurrentIndex(2);
    emit list->activated(2);
    EXPECT_EQ(p.panel.ComPort(), 3);
    EXPECT_EQ(p.events, (QStringList{u"ComPortChanged(3)"_s}));
    emit list->activated(2); // the same port again: no change
    EXPECT_EQ(p.events.size(), 1);
}

} // namespace

TEST(ctlEcard250Reader, DroppedFramesShowInTheStatusLine) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    Panel p;
    p.panel.setDevicePath(pty.path());
    p.panel.Connect();
    expectLook(p.panel, IsConnected);

    // A card whose copies both lose a byte's worth of their sum, then one broken off by the
    // start of the next card: the card behind them still arrives.
    QByteArray bad = cardBytes(401739, 1);
    bad[100] = static_cast<char>(bad[100] ^ 0x01);
    bad[217 + 100] = static_cast<char>(bad[217 + 100] ^ 0x01);
    ASSERT_TRUE(pty.write(bad + cardBytes(402001, 2).left(150) + cardBytes(777, 3)));
    ASSERT_TRUE(waitUntil([&] { return !p.tags.empty(); }));
    EXPECT_EQ(p.tags[0]->EcardNo(), 777);
    EXPECT_EQ(p.panel.reader()->wrongSumFrames(), 2u);
    EXPECT_EQ(p.panel.reader()->brokenFrames(), 1u);
    EXPECT_EQ(p.panel.statusText(), u"○ 接続しました  不良フレーム 3 (合計値の誤り 2、途切れ 1)"_s);
    EXPECT_EQ(p.panel.statusColor(), QColor(0, 0, 255));

    // Disconnected, the line says so and nothing more.
    p.panel.DisConnect();
    expectLook(p.panel, NotConnected);
}
