#include "PublishedPages.h"
#include "ScriptedPrompt.h"
#include "TestFolder.h"
#include "WaitFor.h"
#include "basBrevanto2.h"
#include "basDate.h"
#include "clsEcardTagStock.h"
#include "clsEventGenerator.h"
#include "clsLivePublisher.h"
#include "clsQuorvelin2.h"

#include <QDir>
#include <QDirIterator>
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
    // Each laying of a card as the reading unit delivers it.
    void read(int from, int to) {
        for (int i = from; i < to && i < static_cast<int>(event.readings.size()); ++i)
            station.readTag(std::make_shared<clsEcardTagData>(*event.readings[static_cast<size_t>(i)].tag));
    }
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

TEST_F(LivePublisher, PagesAgreeWithTheListsAndTheLatestPageLeadsWithTheLastCard) {
    const struct {
        bool analysis;
        QString extraPage; // present only with the analysis pages
    } cases[] = {{false, u"_lap.html"_s}, {true, u"_lap.html"_s}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.analysis ? "with analysis pages" : "result pages only");
        QDir(out).removeRecursively();
        QFile::remove(QDir(data).filePath(clsEcardTagStock::FileName));
        station.openFolder(data + u'/', event.penacheckRule);
        auto p = publisher(50);
        p->setAnalysisPages(c.analysis);
        p->setFolder(out);
        read(0, static_cast<int>(event.readings.size()));
        ASSERT_TRUE(waitUntil([&] { return p->isIdle() && p->writeCount() > 0; }, 20000));
        EXPECT_TRUE(p->lastError().isEmpty()) << p->lastError().toStdString();

        publishedpages::expectPagesAgreeWithLists(out, station);
        const QStringList lap = QDir(out).entryList({u"*"_s + c.extraPage}, QDir::Files);
        EXPECT_EQ(!lap.isEmpty(), c.analysis);

        // Newest first, one row per result of a read; the last laying's runner heads the page.
        const QList<QStringList> latest = publishedpages::latestRows(out);
        ASSERT_FALSE(latest.isEmpty());
        const auto& last = *event.readings.back().tag;
        const auto results = station.ResultManager()->ResultDataListOfEcard(station.lastTag()->UniqueKey());
        const clsNameDataPtr named = station.NameDataOfEcardTag(last);
        const QString name = !results.empty() ? results.front()->RunnerName()
                             : named          ? named->RunnerName
                                              : u'(' + QString::number(last.EcardNo()) + u')';
        EXPECT_EQ(latest[0][1], name.trimmed());
        EXPECT_EQ(latest[0][0], basDate::format(station.lastTag()->ReadTime(), basDate::Form::HhNnSs));
        if (!results.empty()) {
            EXPECT_EQ(latest[0][3], results.front()->Result());
            EXPECT_EQ(latest[0][4], results.front()->Rank());
        }
        int reads = 0;
        for (const QStringList& row : latest)
            reads += row[0].isEmpty() ? 0 : 1;
        EXPECT_EQ(reads, clsLivePublisher::LatestCount);
        EXPECT_TRUE(publishedpages::readPage(QDir(out).filePath(clsLivePublisher::LatestFile), true)
                        .contains(u"<meta http-equiv=\"refresh\" content=\"30\">"_s));
    }
}

TEST_F(LivePublisher, ChangesAreBatchedAndHeldWhileACardIsHandled) {
    // Interval 400 ms. Steps run in order; each waits `after` ms and then expects that many
    // completed writes in all.
    enum class Do { Change, HandlingStarts, HandlingEnds, CardArriving, Nothing };
    const struct {
        const char* what;
        Do action;
        int after;
        int writes;
    } steps[] = {
        {"a first change waits out the interval", Do::Change, 100, 0},
        {"more changes within it", Do::Change, 50, 0},
        {"still within it", Do::Change, 50, 0},
        {"one write for all of them", Do::Change, 800, 1},
        {"a card being handled holds the due write", Do::HandlingStarts, 0, 1},
        {"a change falls due during the handling", Do::Change, 900, 1},
        {"the write follows the handling", Do::HandlingEnds, 500, 2},
        {"a card on its way holds it too", Do::CardArriving, 0, 2},
        {"a change falls due while it comes", Do::Change, 900, 2},
        {"until the card came or the hold ran out", Do::Nothing, 1500, 3},
        {"nothing changed, nothing written", Do::Nothing, 800, 3},
    };
    auto p = publisher(400);
    p->setFolder(out);
    ASSERT_TRUE(waitUntil([&] { return p->writeCount() == 1; }, 5000)); // the new folder's pages
    int base = p->writeCount();
    for (const auto& s : steps) {
        switch (s.action) {
        case Do::Change:
            p->resultsChanged();
            break;
        case Do::HandlingStarts:
            p->cardHandling(true);
            break;
        case Do::HandlingEnds:
            p->cardHandling(false);
            break;
        case Do::CardArriving:
            p->cardArriving();
            break;
        case Do::Nothing:
            break;
        }
        settle(s.after);
        EXPECT_EQ(p->writeCount() - base, s.writes) << s.what;
    }
}

TEST_F(LivePublisher, AnUnwritableFolderIsReportedOnceAndReadingGoesOn) {
    // A file where the folder should be: not even the superuser can write there.
    work.write(u"blocked"_s, "a file");
    const QString target = work.file(u"blocked/pages"_s);
    auto p = publisher(30);
    QStringList failures;
    int recovered = 0;
    QObject::connect(p.get(), &clsLivePublisher::publishFailed, [&](const QString& m) { failures << m; });
    QObject::connect(p.get(), &clsLivePublisher::publishRecovered, [&] { ++recovered; });
    p->setFolder(target);
    for (int i = 0; i < 6; ++i) {
        const int before = p->writeCount();
        read(i, i + 1);
        ASSERT_TRUE(waitUntil([&] { return p->writeCount() > before && p->isIdle(); }, 5000));
    }
    EXPECT_EQ(station.TagStock()->TagTable().Count(), 6) << "every card was taken";
    ASSERT_EQ(failures.size(), 1) << failures.join(u'\n').toStdString();
    EXPECT_TRUE(failures[0].startsWith(u"結果を公開できません: "_s)) << failures[0].toStdString();
    EXPECT_FALSE(p->lastError().isEmpty());

    // The way cleared, the next change gets through and says so.
    QFile::remove(work.file(u"blocked"_s));
    read(6, 7);
    ASSERT_TRUE(waitUntil([&] { return recovered == 1 && p->isIdle(); }, 5000));
    EXPECT_TRUE(p->lastError().isEmpty());
    publishedpages::expectPagesAgreeWithLists(target, station);
}

TEST_F(LivePublisher, AReaderNeverSeesAHalfWrittenPage) {
    auto p = publisher(0); // write after write
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
    const int reads = static_cast<int>(event.readings.size());
    for (int i = 0; i < reads; ++i) {
        read(i, i + 1);
        settle(20);
    }
    waitUntil([&] { return p->isIdle(); }, 20000);
    stop = true;
    reader.join();
    EXPECT_GT(p->writeCount(), 5);
    EXPECT_GT(pagesRead.load(), 100);
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
    // No temporary file is left behind in the folder.
    const QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.filter(QRegularExpression(u"\\.html$"_s)), left) << left.join(u' ').toStdString();
}

} // namespace
