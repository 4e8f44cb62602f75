// The simulator program on a pseudo-terminal it creates, read by the panel at 9600 8N2: the
// cards the panel raises are the cards of the file, less the layings the simulator spoiled.
#include "ctlEcard250Reader.h"

#include "TestFolder.h"
#include "WaitFor.h"
#include "basDate.h"
#include "basTextFile.h"
#include "clsEcardTagData.h"
#include "clsEventGenerator.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QProcess>
#include <QStringList>

#include <memory>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct SimCase {
    const char* name;
    int cards;
    QStringList options;
    int minLost;  // the noise must have spoiled at least this many layings
    int minTwice; // and laid at least this many cards twice
    int timeoutMs;
};
void PrintTo(const SimCase& c, std::ostream* os) {
    *os << c.name;
}

class Simulator : public ::testing::TestWithParam<SimCase> {};

std::vector<clsEcardTagData> makeCards(int count, unsigned seed) {
    std::mt19937 rng(seed);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<clsEcardTagData> cards;
    for (int i = 0; i < count; ++i) {
        clsEcardTagData t;
        t.setReadTime(basDate::dateSerial(2026, 12, 8) + basDate::timeSerial(9, 0, i));
        t.setEcardNo(uniform(1, 999999));
        t.setProductionYear(uniform(1990, 2030));
        t.setProductionWeek(uniform(1, 52));
        t.setPunch(1, 0, 0);
        const int controls = uniform(0, 25);
        int s = 0;
        for (int k = 0; k < controls; ++k) {
            s += uniform(20, 700);
            t.setPunch(k + 2, uniform(31, 200), s);
        }
        t.setPunch(controls + 2, 250, s + uniform(3, 60));
        t.setReadingUnitPosIndex(controls + 2);
        cards.push_back(t);
    }
    return cards;
}

TEST_P(Simulator, PanelRaisesTheCardsSent) {
    const SimCase& c = GetParam();
    TestFolder folder;
    const std::vector<clsEcardTagData> cards = makeCards(c.cards, 99);
    QStringList lines;
    for (const auto& t : cards)
        lines << t.RegnlyFormat();
    ASSERT_TRUE(basTextFile::writeLines(folder.file(u"Ecard.txt"_s), lines));

    QProcess sim;
    QStringList args{u"--cards"_s,  folder.file(u"Ecard.txt"_s),
                     u"--seed"_s,   u"5"_s,
                     u"--settle"_s, u"200"_s,
                     u"--linger"_s, u"1500"_s};
    sim.start(QString::fromUtf8(ECARD250_SIM), args + c.options);
    ASSERT_TRUE(sim.waitForStarted());
    QByteArray out;
    ASSERT_TRUE(waitUntil([&] {
        out += sim.readAllStandardOutput();
        return out.contains('\n');
    })) << sim.readAllStandardError().toStdString();
    const QString path = QString::fromLocal8Bit(out.left(out.indexOf('\n')));
    ASSERT_TRUE(path.startsWith(u"/dev/"_s)) << path.toStdString();

    ctlEcard250Reader panel;
    std::vector<std::shared_ptr<clsEcardTagData>> got;
    QObject::connect(&panel, &ctlEcard250Reader::ReadTag,
                     [&](std::shared_ptr<clsEcardTagData> t) { got.push_back(std::move(t)); });
    const double before = basDate::now();
    panel.setDevicePath(path);
    panel.Connect();
    ASSERT_TRUE(panel.IsConnected());

    ASSERT_TRUE(waitUntil(
        [&] {
            out += sim.readAllStandardOutput();
            return out.contains("\ndone ");
        },
        c.timeoutMs))
        << out.toStdString();
    settle(300); // the last bytes on their way through the terminal
    const double after = basDate::now();

    // The simulator's account of each laying.
    QList<int> expectedIndex;
    int lost = 0, twice = 0;
    for (const QString& line : QString::fromLocal8Bit(out).split(u'\n')) {
        const QStringList f = line.split(u' ');
        if (f.size() != 5 || f[0] != u"card")
            continue;
        const int i = f[1].toInt() - 1;
        ASSERT_EQ(f[2].toInt(), cards[static_cast<size_t>(i)].EcardNo());
        const bool spoiled = f[3].contains(u"damaged-second"_s) && !f[3].contains(u"lay-twice"_s);
        EXPECT_EQ(f[4], spoiled ? u"lost"_s : u"delivered"_s) << line.toStdString();
        if (spoiled)
            ++lost;
        else
            expectedIndex << i;
        twice += f[3].contains(u"lay-twice"_s);
    }
    EXPECT_EQ(lost + expectedIndex.size(), c.cards);
    EXPECT_GE(lost, c.minLost);
    EXPECT_GE(twice, c.minTwice);

    ASSERT_EQ(static_cast<int>(got.size()), expectedIndex.size());
    for (size_t k = 0; k < got.size(); ++k) {
        const clsEcardTagData& sent = cards[static_cast<size_t>(expectedIndex[static_cast<int>(k)])];
        const clsEcardTagData& read = *got[k];
        EXPECT_EQ(read.EcardNo(), sent.EcardNo());
        EXPECT_EQ(read.ProductionYear(), sent.ProductionYear());
        EXPECT_EQ(read.ProductionWeek(), sent.ProductionWeek());
        EXPECT_EQ(read.ReadingUnitPosIndex(), sent.ReadingUnitPosIndex());
        for (int r = 1; r <= clsEcardTagData::RecordCount; ++r) {
            EXPECT_EQ(read.ControlNum(r), sent.ControlNum(r)) << "card " << k << " record " << r;
            EXPECT_EQ(read.ControlSeconds(r), sent.ControlSeconds(r)) << "card " << k << " record " << r;
        }
        EXPECT_EQ(read.StockKey(), sent.StockKey());
        EXPECT_GE(read.ReadTime(), before);
        EXPECT_LE(read.ReadTime(), after);
    }
    sim.waitForFinished(3000);
    EXPECT_EQ(sim.exitCode(), 0);
}

// Runs the simulator with these arguments into a panel; gives the cards raised and the
// simulator's own lines.
struct SimRun {
    std::vector<std::shared_ptr<clsEcardTagData>> got;
    QStringList report;
    int exitCode = -1;
};

SimRun runSimulator(const QStringList& args, int timeoutMs) {
    SimRun run;
    QProcess sim;
    sim.start(QString::fromUtf8(ECARD250_SIM),
              args + QStringList{u"--settle"_s, u"200"_s, u"--linger"_s, u"1000"_s});
    if (!sim.waitForStarted())
        return run;
    QByteArray out;
    if (!waitUntil([&] {
            out += sim.readAllStandardOutput();
            return out.contains('\n');
        }))
        return run;
    ctlEcard250Reader panel;
    QObject::connect(&panel, &ctlEcard250Reader::ReadTag,
                     [&](std::shared_ptr<clsEcardTagData> t) { run.got.push_back(std::move(t)); });
    panel.setDevicePath(QString::fromLocal8Bit(out.left(out.indexOf('\n'))));
    panel.Connect();
    waitUntil(
        [&] {
            out += sim.readAllStandardOutput();
            return out.contains("\ndone ");
        },
        timeoutMs);
    settle(300);
    sim.waitForFinished(3000);
    run.exitCode = sim.exitCode();
    run.report = QString::fromLocal8Bit(out).split(u'\n', Qt::SkipEmptyParts);
    return run;
}

TEST(ecard250sim, SendsEveryLayingOfAGeneratedEvent) {
    // The simulator builds the same event from the same seed.
    clsEventGenerator::Options o;
    o.seed = 4;
    o.readCount = 15;
    const auto readings = clsEventGenerator(o).generate().readings;
    // What a reader takes: every laying but one that repeats the laying right before it.
    QStringList expected;
    QString previous;
    for (const auto& r : readings) {
        if (r.tag->StockKey() != previous)
            expected << r.tag->StockKey();
        previous = r.tag->StockKey();
    }
    ASSERT_GE(expected.size(), 15);

    const SimRun run = runSimulator(
        {u"--generate"_s, u"15"_s, u"--seed"_s, u"4"_s, u"--rate"_s, u"20000"_s, u"--gap"_s, u"20"_s}, 30000);
    ASSERT_EQ(run.exitCode, 0);
    QStringList got;
    for (const auto& t : run.got)
        got << t->StockKey();
    EXPECT_EQ(got, expected);
    EXPECT_EQ(run.report.filter(u"delivered"_s).size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    ecard250sim, Simulator,
    ::testing::Values(SimCase{"AtTheLineRate",
                              4,
                              {u"--gap"_s, u"100"_s, u"--garbage"_s, u"0.5"_s, u"--wrong-sum"_s, u"0.5"_s,
                               u"--broken-frame"_s, u"0.5"_s},
                              0,
                              0,
                              20000},
                      SimCase{"FastWithEveryFault",
                              40,
                              {u"--rate"_s, u"20000"_s, u"--gap"_s, u"20"_s, u"--garbage"_s, u"0.3"_s,
                               u"--wrong-sum"_s, u"0.3"_s, u"--damaged-second"_s, u"0.3"_s, u"--lay-twice"_s,
                               u"0.3"_s, u"--broken-frame"_s, u"0.3"_s},
                              3,
                              3,
                              30000}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
