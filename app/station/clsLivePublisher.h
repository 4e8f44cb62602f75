#pragma once

// Keeps the event's result pages in a folder up to date while cards arrive, for an arena screen
// or a web server: the analysis library's index and result pages (and, on request, its analysis
// pages) and a page of the latest reads, each reloading itself every 30 s.
//
// Changes are batched: the pages are written at most once per interval, never while a card is
// on its way or being handled. The data set is taken on this thread; the pages are built and
// written on a worker thread, so a read never waits for the disk. Every file reaches the folder
// by an atomic rename: a browser or web server sees the old page or the new one, never a part.

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class clsEcardTagData;
class clsFinishStation;
class clsQuorvelin2;

class clsLivePublisher final : public QObject {
    Q_OBJECT
public:
    using RootFactory = std::function<std::shared_ptr<clsQuorvelin2>()>;

    static constexpr int DefaultInterval = 2000; // ms between two writes at least
    static constexpr int LatestCount = 20;
    static constexpr int RefreshSeconds = 30;
    // How long a card being read holds the writing back at most (two frames at 9600 baud take
    // half a second).
    static constexpr int ArrivalHold = 1500;
    static inline const QString IndexFile = QStringLiteral("index.html");
    static inline const QString ResultPattern = QStringLiteral("*_result.html");
    static inline const QString AnalysisPattern = QStringLiteral("*_lap.html");
    static inline const QString LegDataPattern = QStringLiteral("*_leg.html");
    static inline const QString ChartPattern = QStringLiteral("*_chart.html");
    static inline const QString LatestFile = QStringLiteral("latest.html");

    // makeRoot builds the hand-over data set of the station's current results.
    clsLivePublisher(clsFinishStation* station, RootFactory makeRoot, QObject* parent = nullptr);
    // Waits for a write in progress.
    ~clsLivePublisher() override;
    Q_DISABLE_COPY_MOVE(clsLivePublisher)

    // The folder the pages go to; empty switches publishing off. A new folder is written soon.
    void setFolder(const QString& folder);
    QString folder() const { return m_folder; }
    bool isEnabled() const { return !m_folder.isEmpty(); }
    // Also the lap analysis, leg data and chart pages of every class.
    void setAnalysisPages(bool on);
    bool analysisPages() const { return m_analysis; }
    void setInterval(int ms) { m_interval = ms; }

    // What the station tells: results changed; a card's bytes are arriving; a card is handled.
    void resultsChanged();
    void cardArriving();
    void cardHandling(bool started);
    // A card read heads the latest-reads page.
    void cardRead(const std::shared_ptr<clsEcardTagData>& tag);

    // Completed writes, successful or not; a write is in progress.
    int writeCount() const { return m_writes; }
    bool isWriting() const { return m_running; }
    // Every change so far is on disk (or failed to get there).
    bool isIdle() const { return !m_dirty && !m_running; }
    // The last write's failure; empty after a success.
    QString lastError() const { return m_lastError; }

    // One line of the latest-reads page.
    struct LatestRow {
        QString time;
        QString name;
        QString className;
        QString result;
        QString rank;
        bool first = true; // the first result of its read (later ones leave time and name out)
    };
    // The rows of the latest reads, newest first, with the results as they stand now.
    std::vector<LatestRow> latestRows() const;
    // The page of those rows, UTF-8.
    static QByteArray latestPage(const QString& eventName, const std::vector<LatestRow>& rows,
                                 const QString& writtenAt);
    // A page with the reload header after its head tag (unchanged without one).
    static QByteArray withRefresh(const QByteArray& page);
    // The library's index (Windows-31J) with a link to the latest reads at the top of its body.
    static QByteArray withLatestLink(const QByteArray& index);

signals:
    // A write ended (ok or not).
    void written();
    // A write failed after the last success (once, not at every retry).
    void publishFailed(const QString& message);
    // A write succeeded after a failure.
    void publishRecovered();

private:
    struct Job;
    struct Outcome {
        QString folder;
        QString error;
        QSet<QString> files;
    };
    void schedule();
    void onTimer();
    void start();
    void finished(const Outcome& outcome);
    static Outcome run(Job& job);
    // The latest reads start from the store's newest when the data folder changes.
    void seedRecent() const;

    clsFinishStation* m_station;
    RootFactory m_makeRoot;
    QString m_folder;
    bool m_analysis = false;
    int m_interval = DefaultInterval;

    QTimer m_timer;
    QElapsedTimer m_arriving; // valid while a card is on its way
    int m_handling = 0;
    bool m_dirty = false;
    bool m_running = false;
    int m_writes = 0;
    QString m_lastError;
    bool m_failed = false;
    QSet<QString> m_written; // files of the last successful write, for removing stale pages

    mutable QString m_recentFolder; // the data folder the latest reads belong to
    mutable std::deque<std::shared_ptr<clsEcardTagData>> m_recent;

    // Until when (steady clock, ms) the worker leaves the disk to a card being read; 0: free.
    std::shared_ptr<std::atomic<qint64>> m_cardBusyUntil = std::make_shared<std::atomic<qint64>>(0);

    QThreadPool m_pool;
};
