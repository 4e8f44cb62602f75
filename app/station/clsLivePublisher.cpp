#include "clsLivePublisher.h"

#include "basDate.h"
#include "basHtmlOutput.h"
#include "basHtmlPage.h"
#include "basQuorvelin2.h"
#include "clsEcardTagStock.h"
#include "clsFileControl.h"
#include "clsFinishStation.h"
#include "clsHtmlControl.h"
#include "clsQuorvelin2.h"
#include "clsResultManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString Crlf = u"\r\n"_s;

// Writes a file under a temporary name in its folder and renames it over the old one: a reader
// sees the old file or the new one. Not synced to disk: the pages are made again at the next
// change, and a sync per page would hold up the card store's own synced appends.
QString replaceFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    QTemporaryFile file(info.absolutePath() + u"/."_s + info.fileName() + u".XXXXXX"_s);
    file.setAutoRemove(true);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    // Readable by a web server like any file written here.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    file.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(file.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), error);
    if (error)
        return QString::fromLocal8Bit(error.message());
    file.setAutoRemove(false);
    return QString();
}

qint64 steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A card's own synced append to Ecard.txt goes first: the worker's renames would join its
// journal commit. Bounded, so that a card that never comes cannot stop the pages.
void waitForCard(const std::atomic<qint64>& busyUntil) {
    const qint64 giveUp = steadyMs() + 3000;
    for (qint64 now = steadyMs(); now < busyUntil.load() && now < giveUp; now = steadyMs())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

QString failureText(const QString& detail) {
    return u"結果を公開できません: "_s + QString(detail).replace(Crlf, u" "_s).trimmed();
}

} // namespace

// Everything a write needs, taken on the owner's thread; the worker owns it alone.
struct clsLivePublisher::Job {
    std::shared_ptr<clsQuorvelin2> root;
    QString folder;
    bool analysis = false;
    QString eventName;
    std::vector<LatestRow> rows;
    QString writtenAt;
    QSet<QString> previous; // files the last write left, in this folder
    std::shared_ptr<std::atomic<qint64>> cardBusyUntil;
};

clsLivePublisher::clsLivePublisher(clsFinishStation* station, RootFactory makeRoot, QObject* parent)
    : QObject(parent), m_station(station), m_makeRoot(std::move(makeRoot)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &clsLivePublisher::onTimer);
    // One write at a time, behind the reading in the scheduler's eyes.
    m_pool.setMaxThreadCount(1);
    m_pool.setThreadPriority(QThread::LowPriority);
    connect(station, &clsFinishStation::resultsChanged, this, &clsLivePublisher::resultsChanged);
    connect(station, &clsFinishStation::cardHandling, this, &clsLivePublisher::cardHandling);
    connect(station, &clsFinishStation::tagRead, this, &clsLivePublisher::cardRead);
}

clsLivePublisher::~clsLivePublisher() {
    m_pool.waitForDone();
}

void clsLivePublisher::setFolder(const QString& folder) {
    const QString clean = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
    if (clean == m_folder)
        return;
    m_folder = clean;
    m_written.clear();
    m_failed = false;
    m_lastError.clear();
    if (!isEnabled()) {
        m_timer.stop();
        return;
    }
    m_dirty = true;
    schedule();
}

void clsLivePublisher::setAnalysisPages(bool on) {
    if (on == m_analysis)
        return;
    m_analysis = on;
    resultsChanged();
}

void clsLivePublisher::resultsChanged() {
    m_dirty = true;
    schedule();
}

void clsLivePublisher::cardArriving() {
    m_arriving.start();
    *m_cardBusyUntil = steadyMs() + ArrivalHold;
}

void clsLivePublisher::cardHandling(bool started) {
    if (started) {
        ++m_handling;
        *m_cardBusyUntil = steadyMs() + ArrivalHold;
        return;
    }
    m_handling = std::max(0, m_handling - 1);
    m_arriving.invalidate();
    if (m_handling == 0)
        *m_cardBusyUntil = 0;
    // A batch that fell due while the card was handled goes out from the event loop, after the
    // handling has returned.
    if (m_handling == 0 && m_dirty && isEnabled() && !m_running && !m_timer.isActive())
        m_timer.start(0);
}

void clsLivePublisher::seedRecent() const {
    if (m_station->folder() == m_recentFolder)
        return;
    m_recentFolder = m_station->folder();
    m_recent.clear();
    const auto& table = m_station->TagStock()->TagTable();
    for (int i = table.Count(); i >= 1 && static_cast<int>(m_recent.size()) < LatestCount; --i)
        m_recent.push_back(table.Item(i));
}

void clsLivePublisher::cardRead(const std::shared_ptr<clsEcardTagData>& tag) {
    seedRecent();
    std::erase_if(m_recent, [&](const auto& t) { return t->UniqueKey() == tag->UniqueKey(); });
    m_recent.push_front(tag);
    if (static_cast<int>(m_recent.size()) > LatestCount)
        m_recent.resize(LatestCount);
}

std::vector<clsLivePublisher::LatestRow> clsLivePublisher::latestRows() const {
    seedRecent();
    std::vector<LatestRow> rows;
    for (const auto& tag : m_recent) {
        LatestRow row;
        row.time = basDate::format(tag->ReadTime(), basDate::Form::HhNnSs);
        const auto results = m_station->ResultManager()->ResultDataListOfEcard(tag->UniqueKey());
        if (results.empty()) {
            const clsNameDataPtr name = m_station->NameDataOfEcardTag(*tag);
            row.name = name ? name->RunnerName : u'(' + QString::number(tag->EcardNo()) + u')';
            rows.push_back(row);
            continue;
        }
        // The lists' own name texts, so that the page and the result pages agree.
        row.name = results.front()->RunnerName();
        for (const auto& r : results) {
            row.className = r->CourseData() ? r->CourseData()->CourseName() : QString();
            row.result = r->Result();
            row.rank = r->Rank();
            rows.push_back(row);
            row.first = false;
        }
    }
    return rows;
}

QByteArray clsLivePublisher::latestPage(const QString& eventName, const std::vector<LatestRow>& rows,
                                        const QString& writtenAt) {
    using basHtmlPage::Escape;
    const auto cell = [](const QString& text, const QString& attributes) -> QString {
        return u"<td"_s + attributes + u'>' + (text.isEmpty() ? u"&nbsp;"_s : Escape(text)) + u"</td>"_s;
    };
    QString page = u"<html>"_s + Crlf + u"<head>"_s + Crlf +
                   u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"_s + Crlf +
                   u"<meta http-equiv=\"refresh\" content=\""_s + QString::number(RefreshSeconds) + u"\">"_s +
                   Crlf + u"<title>"_s + Escape(eventName) + u" - 最新の読み込み</title>"_s + Crlf +
                   u"<style type=\"text/css\">"_s + Crlf + u"<!--"_s + Crlf +
                   u"td { font-size: 14pt; padding: 2px 8px; white-space: nowrap }"_s + Crlf + u"-->"_s +
                   Crlf + u"</style>"_s + Crlf + u"</head>"_s + Crlf + u"<body bgcolor=\"#ffffff\">"_s + Crlf;
    page += u"<table cellpadding=\"2\" cellspacing=\"0\" border=\"1\" class=\"latest\">"_s + Crlf;
    page += u"<tr><td colspan=\"5\" bgcolor=\"#c04040\" class=\"l-event-name\"><font size=\"+1\" "
            u"color=\"white\"><b>"_s +
            Escape(eventName) + u" - 最新の読み込み</b></font></td></tr>"_s + Crlf;
    page += u"<tr bgcolor=\"#405080\" class=\"l-head\">"_s;
    for (const QString& head : {u"時刻"_s, u"氏名"_s, u"クラス"_s, u"記録"_s, u"順位"_s})
        page += u"<td><font color=\"white\"><b>"_s + head + u"</b></font></td>"_s;
    page += u"</tr>"_s + Crlf;
    int read = 0;
    for (const LatestRow& row : rows) {
        if (row.first)
            ++read;
        page += read % 2 == 0 ? u"<tr bgcolor=\"#eeeeee\" class=\"l-even\">"_s : u"<tr class=\"l-odd\">"_s;
        page += cell(row.first ? row.time : QString(), u" class=\"l-time\""_s);
        page += cell(row.first ? row.name : QString(), u" class=\"l-name\""_s);
        page += cell(row.className, u" class=\"l-class\""_s);
        page += cell(row.result, u" align=\"right\" class=\"l-result\""_s);
        page += cell(row.rank, u" align=\"right\" class=\"l-rank\""_s);
        page += u"</tr>"_s + Crlf;
    }
    page += u"<tr><td colspan=\"5\" bgcolor=\"#f0f0f0\" align=\"right\" class=\"l-output\">出力日時 : "_s +
            Escape(writtenAt) + u"&nbsp;&nbsp;<a href=\""_s + IndexFile + u"\">成績一覧</a></td></tr>"_s +
            Crlf + u"</table>"_s + Crlf + u"</body>"_s + Crlf + u"</html>"_s;
    return page.toUtf8();
}

QByteArray clsLivePublisher::withRefresh(const QByteArray& page) {
    const qsizetype head = page.indexOf("<head>");
    if (head < 0)
        return page;
    qsizetype at = head + 6;
    const bool crlf = page.mid(at, 2) == "\r\n";
    if (crlf)
        at += 2;
    const QByteArray meta =
        "<meta http-equiv=\"refresh\" content=\"" + QByteArray::number(RefreshSeconds) + "\">";
    QByteArray out = page;
    out.insert(at, crlf ? QByteArray(meta + "\r\n") : QByteArray("\r\n" + meta));
    return out;
}

QByteArray clsLivePublisher::withLatestLink(const QByteArray& index) {
    const qsizetype body = index.indexOf("<body");
    const qsizetype at = body < 0 ? -1 : index.indexOf('>', body);
    if (at < 0)
        return index;
    QByteArray out = index;
    const QString link = u"<a href=\""_s + LatestFile + u"\" class=\"t-latest\">最新の読み込み</a><br><br>"_s;
    out.insert(at + 1, QByteArray("\r\n" + basHtmlPage::encode(link)));
    return out;
}

void clsLivePublisher::schedule() {
    // Nothing to publish before a data folder is open.
    if (!isEnabled() || !m_dirty || m_running || m_timer.isActive() || m_station->folder().isEmpty())
        return;
    // Counted from the first change after the last write began: a burst of reads is one write,
    // and two writes are never closer than the interval.
    m_timer.start(m_interval);
}

void clsLivePublisher::onTimer() {
    if (!isEnabled() || !m_dirty || m_running || m_station->folder().isEmpty())
        return;
    if (m_handling > 0)
        return; // cardHandling(false) starts it
    if (m_arriving.isValid() && m_arriving.elapsed() < ArrivalHold) {
        m_timer.start(static_cast<int>(ArrivalHold - m_arriving.elapsed()));
        return;
    }
    start();
}

void clsLivePublisher::start() {
    m_dirty = false;
    auto job = std::make_shared<Job>();
    job->folder = m_folder;
    job->analysis = m_analysis;
    job->rows = latestRows();
    job->writtenAt = basDate::format(basDate::now(), u"yyyy/mm/dd hh:nn:ss");
    job->previous = m_written;
    job->cardBusyUntil = m_cardBusyUntil;
    // Building the data set makes it the library's current root of this thread: the one an open
    // analysis window works on stays current.
    clsQuorvelin2* const current = basQuorvelin2::CurrentRoot();
    QString failure;
    try {
        job->root = m_makeRoot ? m_makeRoot() : nullptr;
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    basQuorvelin2::SetCurrentRoot(current);
    if (job->root) {
        job->eventName = job->root->EventData()->EventName();
        // The worker alone uses the data set from here on.
        job->root->moveToThread(nullptr);
        job->root->FileControl()->moveToThread(nullptr);
        job->root->HtmlControl()->moveToThread(nullptr);
    }
    m_running = true;
    if (!failure.isEmpty()) {
        QMetaObject::invokeMethod(
            this,
            [this, f = failureText(failure), folder = m_folder] {
                finished({folder, f, {}});
            },
            Qt::QueuedConnection);
        return;
    }
    m_pool.start([this, job] {
        Outcome outcome;
        // Nothing may leave the worker by an exception: the write fails and reading goes on.
        try {
            outcome = run(*job);
        } catch (const std::exception& e) {
            outcome = {job->folder, failureText(QString::fromLocal8Bit(e.what())), {}};
        } catch (...) {
            outcome = {job->folder, failureText(u"unexpected failure"_s), {}};
        }
        QMetaObject::invokeMethod(
            this, [this, outcome] { finished(outcome); }, Qt::QueuedConnection);
    });
}

clsLivePublisher::Outcome clsLivePublisher::run(Job& job) {
    Outcome out;
    out.folder = job.folder;
    const QString target = job.folder + u'/';
    if (!job.root) {
        out.error = failureText(u"the analysis library cannot make its root object"_s);
        return out;
    }
    if (!QDir().mkpath(job.folder)) {
        out.error = failureText(job.folder);
        return out;
    }
    // The library writes its files in place: they are staged and then renamed into the folder
    // one by one.
    QTemporaryDir staging(QDir::tempPath() + u"/brevanto2-publish-XXXXXX"_s);
    if (!staging.isValid()) {
        out.error = failureText(QDir::tempPath() + u": "_s + staging.errorString());
        return out;
    }
    basHtmlOutput::Parameters p;
    p.OutputFolder = staging.path() + u'/';
    p.IndexFile = IndexFile;
    p.ResultFile = ResultPattern;
    if (job.analysis) {
        p.AnalysisFile = AnalysisPattern;
        p.LegDataFile = LegDataPattern;
        p.ChartFile = ChartPattern;
        p.ChartOption = u"0,2"_s;
    }
    basHtmlOutput::Settings s;
    s.threads = 1;
    basQuorvelin2::SetCurrentRoot(job.root.get());
    const bool written = basHtmlOutput::OutputHtml(*job.root->FileControl(), p, s);
    basQuorvelin2::ReleaseCurrentRoot(job.root.get());
    job.root.reset();
    if (!written) {
        out.error = failureText(basQuorvelin2::ErrorComment());
        return out;
    }

    QStringList names = QDir(staging.path()).entryList(QDir::Files, QDir::Name);
    // The index last: it never links to a page that is not there yet.
    names.removeAll(IndexFile);
    names << IndexFile;
    for (const QString& name : names) {
        QFile staged(staging.filePath(name));
        if (!staged.open(QIODevice::ReadOnly)) {
            out.error = failureText(staged.fileName() + u": "_s + staged.errorString());
            return out;
        }
        QByteArray bytes = staged.readAll();
        if (name.endsWith(u".html"_s, Qt::CaseInsensitive))
            bytes = withRefresh(bytes);
        if (name == IndexFile)
            bytes = withLatestLink(bytes);
        waitForCard(*job.cardBusyUntil);
        if (const QString error = replaceFile(target + name, bytes); !error.isEmpty()) {
            out.error = failureText(target + name + u": "_s + error);
            return out;
        }
        out.files.insert(name);
    }
    waitForCard(*job.cardBusyUntil);
    if (const QString error =
            replaceFile(target + LatestFile, latestPage(job.eventName, job.rows, job.writtenAt));
        !error.isEmpty()) {
        out.error = failureText(target + LatestFile + u": "_s + error);
        return out;
    }
    // Pages of classes that have lost their runners would stay reachable by their address.
    for (const QString& name : std::as_const(job.previous))
        if (!out.files.contains(name))
            QFile::remove(target + name);
    return out;
}

void clsLivePublisher::finished(const Outcome& outcome) {
    m_running = false;
    ++m_writes;
    if (outcome.folder == m_folder) {
        if (outcome.error.isEmpty()) {
            m_written = outcome.files;
            m_lastError.clear();
            if (m_failed) {
                m_failed = false;
                emit publishRecovered();
            }
        } else {
            m_lastError = outcome.error;
            if (!m_failed) {
                m_failed = true;
                emit publishFailed(outcome.error);
            }
        }
    }
    emit written();
    schedule();
}
