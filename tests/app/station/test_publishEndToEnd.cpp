#include "PublishedPages.h"
#include "ScriptedPrompt.h"
#include "TestFolder.h"
#include "clsEcardTagStock.h"
#include "clsEventGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString browser() {
    for (const QString& name : {u"chromium-headless-shell"_s, u"chromium"_s, u"chromium-browser"_s})
        if (const QString path = QStandardPaths::findExecutable(name); !path.isEmpty())
            return path;
    return QString();
}

// A screenshot of a page by headless Chromium with a fresh profile.
bool screenshot(const QString& page, const QString& png, const QString& size) {
    const QString program = browser();
    if (program.isEmpty())
        return false;
    QTemporaryDir profile;
    QTemporaryDir shortTemp(u"/tmp/b2p-XXXXXX"_s); // the browser's socket path must stay short
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_s, shortTemp.path());
    p.setProcessEnvironment(environment);
    p.start(program, {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
                      u"--disable-background-networking"_s, u"--user-data-dir="_s + profile.path(),
                      u"--hide-scrollbars"_s, u"--window-size="_s + size, u"--screenshot="_s + png,
                      QUrl::fromLocalFile(page).toString()});
    if (!p.waitForFinished(90000))
        p.kill();
    return QFileInfo(png).size() > 5000;
}

// The simulator lays 50 generated cards on a pseudo-terminal; the console station reads them
// and keeps the result pages in a folder.
TEST(PublishEndToEnd, FiftyCardsThroughTheConsoleStationArePublished) {
    TestFolder work;
    clsEventGenerator::Options o;
    o.seed = 1616;
    o.readCount = 50; // as the simulator generates them
    const clsEventGenerator::Event event = clsEventGenerator(o).generate();
    const QString data = work.file(u"event"_s);
    const QString out = work.file(u"www/results"_s);
    QDir().mkpath(data);
    ASSERT_TRUE(clsEventGenerator::writeDataFolder(event, data));
    QFile::remove(QDir(data).filePath(clsEcardTagStock::FileName));

    QProcess sim;
    sim.start(QStringLiteral(ECARD250_SIM_EXE), {u"--generate"_s, u"50"_s, u"--seed"_s, u"1616"_s,
                                                 u"--fast"_s, u"--gap"_s, u"60"_s, u"--linger"_s, u"3000"_s});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(pty.startsWith(u"/dev/"_s)) << pty.toStdString();

    QProcess station;
    station.start(QStringLiteral(BREVANTO2_CONSOLE_EXE),
                  {u"--console"_s, u"--data"_s, data, u"--port"_s, pty, u"--publish"_s, out});
    ASSERT_TRUE(station.waitForStarted());
    // A laying the unit would not pass on (the same content again at once) is not waited for.
    QString simSaid;
    const QString separator = u"----------------------------------------\n"_s;
    QString printed;
    QElapsedTimer clock;
    clock.start();
    int delivered = -1;
    while (clock.elapsed() < 60000 && station.state() == QProcess::Running) {
        station.waitForReadyRead(200);
        printed += QString::fromUtf8(station.readAllStandardOutput());
        if (sim.state() == QProcess::Running)
            sim.waitForReadyRead(20);
        simSaid += QString::fromUtf8(sim.readAllStandardOutput());
        if (delivered < 0 && simSaid.contains(u"done "_s))
            delivered = static_cast<int>(simSaid.count(u" delivered\n"_s));
        if (delivered >= 0 && printed.count(separator) >= delivered)
            break;
    }
    ASSERT_GT(delivered, 45) << simSaid.toStdString();
    ASSERT_EQ(printed.count(separator), delivered) << printed.toStdString();
    EXPECT_TRUE(printed.contains(u"結果を公開しています: "_s + out)) << printed.toStdString();

    // The last card taken: "card <n> <number> <noise> delivered", n counting the layings.
    const QStringList deliveredLines =
        simSaid.split(u'\n').filter(QRegularExpression(u"^card \\d+ .* delivered$"_s));
    ASSERT_FALSE(deliveredLines.isEmpty());
    const int lastLaying = deliveredLines.last().split(u' ')[1].toInt();
    ASSERT_TRUE(lastLaying >= 1 && lastLaying <= static_cast<int>(event.readings.size()));
    const auto& lastCard = *event.readings[static_cast<size_t>(lastLaying - 1)].tag;

    // Its runner heads the latest-reads page once the batch after it is written.
    ScriptedPrompt prompt;
    clsFinishStation lists(&prompt);
    QString expectedName;
    QList<QStringList> latest;
    while (clock.elapsed() < 70000) {
        lists.openFolder(data + u'/', event.penacheckRule);
        if (const auto stored = lists.TagStock()->TagTable().Item(lastCard.StockKey())) {
            const auto results = lists.ResultManager()->ResultDataListOfEcard(stored->UniqueKey());
            const clsNameDataPtr named = lists.NameDataOfEcardTag(*stored);
            expectedName = !results.empty() ? results.front()->RunnerName().trimmed()
                           : named          ? named->RunnerName
                                            : u'(' + QString::number(lastCard.EcardNo()) + u')';
            latest = publishedpages::latestRows(out);
            if (!latest.isEmpty() && latest[0][1] == expectedName)
                break;
        }
        QThread::msleep(200);
    }
    // Past the batching interval: the station has nothing more to write.
    QThread::msleep(2500);
    station.terminate();
    station.waitForFinished(3000);
    sim.kill();
    sim.waitForFinished(3000);
    ASSERT_FALSE(latest.isEmpty());
    EXPECT_EQ(latest[0][1], expectedName);

    lists.openFolder(data + u'/', event.penacheckRule);
    EXPECT_EQ(lists.TagStock()->TagTable().Count(), static_cast<int>(event.storedReads().size()));
    publishedpages::expectPagesAgreeWithLists(out, lists);

    // As a person at the arena sees them.
    const QString shots = QStringLiteral(SCREENSHOT_DIR);
    QDir().mkpath(shots);
    if (browser().isEmpty())
        GTEST_SKIP() << "no Chromium on this machine: the pages were not looked at";
    const QStringList results = QDir(out).entryList({u"*_result.html"_s}, QDir::Files, QDir::Name);
    ASSERT_FALSE(results.isEmpty());
    const struct {
        QString page, png, size;
    } pages[] = {
        {clsLivePublisher::IndexFile, u"publish_index.png"_s, u"900,1400"_s},
        {results.first(), u"publish_result.png"_s, u"800,500"_s},
        {clsLivePublisher::LatestFile, u"publish_latest.png"_s, u"800,900"_s},
    };
    for (const auto& p : pages)
        EXPECT_TRUE(screenshot(QDir(out).filePath(p.page), shots + u'/' + p.png, p.size))
            << p.png.toStdString();
}

} // namespace
