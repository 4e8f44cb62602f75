#include "ScriptedPrompt.h"
#include "TestFolder.h"
#include "WaitFor.h"
#include "basBrevanto2.h"
#include "clsEcardTagStock.h"
#include "clsEventGenerator.h"
#include "clsFinishStation.h"
#include "clsLivePublisher.h"
#include "clsQuorvelin2.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// A generated event's data folder without its card reads: the reads arrive in the test.
class LivePublisher : public ::testing::Test {
protected:
    void SetUp() override {
        clsEventGenerator::Options o;
        o.seed = 16;
        o.readCount = 30;
        o.classCount = 4;
        o.typedResults = 2;
        event = clsEventGenerator(o).generate();
        data = work.file(u"event"_s);
        QDir().mkpath(data);
        ASSERT_TRUE(clsEventGenerator::writeDataFolder(event, data));
        QFile::remove(QDir(data).filePath(clsEcardTagStock::FileName));
        station.openFolder(data + u'/', event.penacheckRule);
        out = work.file(u"pub"_s);
    }
    // A laying of a card as the reading unit delivers it.
    void read(size_t i) { station.readTag(std::make_shared<clsEcardTagData>(*event.readings[i].tag)); }
    std::unique_ptr<clsLivePublisher> publisher(int interval) {
        auto p = std::make_unique<clsLivePublisher>(&station, [this] {
            return station.Quorvelin2Object(event.eventName, event.eventDate, basBrevanto2::windowCaption());
        });
        p->setInterval(interval);
        return p;
    }

    TestFolder work;
    ScriptedPrompt prompt;
    clsFinishStation station{&prompt};
    clsEventGenerator::Event event;
    QString data, out;
};

TEST_F(LivePublisher, ChangesAreBatchedAndHeldWhileACardIsHandled) {
    // Interval 400 ms. Steps run in order; each waits `after` ms and then expects that many
    // completed writes in all.
    using Action = void (*)(clsLivePublisher&);
    const Action change = [](clsLivePublisher& p) { p.resultsChanged(); };
    const Action nothing = [](clsLivePublisher&) {};
    const struct {
        const char* what;
        Action action;
        int after;
        int writes;
    } steps[] = {
        {"a first change waits out the interval", change, 100, 0},
        {"more changes within it", change, 50, 0},
        {"still within it", change, 50, 0},
        {"one write for all of them", change, 800, 1},
        {"a card being handled holds the due write", [](clsLivePublisher& p) { p.cardHandling(true); }, 0, 1},
        {"a change falls due during the handling", change, 900, 1},
        {"the write follows the handling", [](clsLivePublisher& p) { p.cardHandling(false); }, 500, 2},
        {"a card on its way holds it too", [](clsLivePublisher& p) { p.cardArriving(); }, 0, 2},
        {"a change falls due while it comes", change, 900, 2},
        {"until the card came or the hold ran out", nothing, 1500, 3},
        {"nothing changed, nothing written", nothing, 800, 3},
    };
    auto p = publisher(400);
    p->setFolder(out);
    ASSERT_TRUE(waitUntil([&] { return p->writeCount() == 1; }, 5000)); // the new folder's pages
    for (const auto& s : steps) {
        s.action(*p);
        settle(s.after);
        EXPECT_EQ(p->writeCount() - 1, s.writes) << s.what;
    }
}

TEST_F(LivePublisher, AReaderNeverSeesAHalfWrittenPage) {
    auto p = publisher(0); // write after write, the analysis pages too
    p->setAnalysisPages(true);
    p->setFolder(out);
    std::atomic<bool> stop{false};
    std::atomic<int> pagesRead{0};
    QStringList bad;
    std::thread reader([&] {
        while (!stop) {
            for (const QString& name : QDir(out).entryList({u"*.html"_s}, QDir::Files)) {
                QFile f(QDir(out).filePath(name));
                if (!f.open(QIODevice::ReadOnly))
                    continue; // between a removal and its listing
                const QByteArray bytes = f.readAll();
                if (!bytes.trimmed().endsWith("</html>"))
                    bad << name + u": "_s + QString::number(bytes.size()) + u" bytes"_s;
                ++pagesRead;
            }
        }
    });
    for (size_t i = 0; i < event.readings.size(); ++i) {
        read(i);
        settle(20);
    }
    waitUntil([&] { return p->isIdle(); }, 20000);
    stop = true;
    reader.join();
    EXPECT_GT(p->writeCount(), 5);
    EXPECT_GT(pagesRead.load(), 100);
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
    EXPECT_FALSE(QDir(out).entryList({u"*_lap.html"_s}).isEmpty());
    // No temporary file is left behind in the folder.
    const QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.filter(QRegularExpression(u"\\.html$"_s)), left) << left.join(u' ').toStdString();
}

} // namespace
