#pragma once

#include "Quorvelin2Global.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;

// The root object's control for the published pages: each member builds one complete page as
// a text. Texts from the data set (names, clubs, class and event names) are escaped; TopValue
// and LinkStyleFile are the host's own HTML and address and go in as given. The page builders
// only read the analyzer or results holder, so pages of different data sets may be built on
// different threads at once.
class QV_EXPORT clsHtmlControl : public QObject {
    Q_OBJECT
public:
    explicit clsHtmlControl(clsQuorvelin2* root);

    // 1 The page that embeds the lap viewer control with the lap file at LapFileURL.
    Q_INVOKABLE QString OutputActiveXPage(const QString& LapFileURL) const;
    // 2 The result list of a results holder; TopValue is HTML placed at the top of the body.
    Q_INVOKABLE QString OutputResult(const std::shared_ptr<clsResultsHolder>& ResultsHolder,
                                     const QString& TopValue = QString(),
                                     const QString& LinkStyleFile = QString(),
                                     const QString& Encoding = QStringLiteral("x-sjis")) const;
    // 3 The lap analysis table of an executed analyzer.
    Q_INVOKABLE QString OutputAnalysis(const std::shared_ptr<clsAnalyzer>& Analyzer,
                                       const QString& LinkStyleFile = QString(),
                                       const QString& Encoding = QStringLiteral("x-sjis")) const;
    // 4 The per-leg table: leg share, upper average, difficulty and the six best leg times.
    Q_INVOKABLE QString OutputLegData(const std::shared_ptr<clsAnalyzer>& Analyzer,
                                      const QString& LinkStyleFile = QString(),
                                      const QString& Encoding = QStringLiteral("x-sjis")) const;
    // 5 The chart page; "?" in ChartName stands for the chart mode of each image.
    Q_INVOKABLE QString OutputChart(const std::shared_ptr<clsAnalyzer>& Analyzer, const QString& ChartName,
                                    const QString& ChartOption) const;

    clsQuorvelin2* root() const { return m_root; }

    // Library side: the same pages from plain references, and the style sheet of the chart
    // page (the automation member links none).
    QString resultPage(const clsResultsHolder& holder, const QString& topValue, const QString& linkStyleFile,
                       const QString& encoding) const;
    QString analysisPage(const clsAnalyzer& analyzer, const QString& linkStyleFile,
                         const QString& encoding) const;
    QString legDataPage(const clsAnalyzer& analyzer, const QString& linkStyleFile,
                        const QString& encoding) const;
    QString chartPage(const clsAnalyzer& analyzer, const QString& chartName, const QString& chartOption,
                      const QString& linkStyleFile) const;

    // The chart modes a chart option names, in order: whole numbers 0 to 6 (the modes the
    // chart page has a heading for); anything else is left out.
    static QList<int> ChartModes(const QString& chartOption);
    // The real-time chart needs every runner's start time.
    static bool EveryRunnerHasStartTime(const clsAnalyzer& analyzer);

    // The texts of the per-leg table, unescaped: one row per leg, then the total row (no best
    // runners). The leg data page and the host's leg grid show the same texts.
    struct LegDataRow {
        struct Upper {
            bool exists = false;
            QString name; // without spaces
            QString time;
        };
        QString label, length, average, difficulty;
        std::array<Upper, 6> upper;
    };
    static std::vector<LegDataRow> LegDataRows(const clsAnalyzer& analyzer);
    // The rank a result list shows for the selected record at a 1-based position: the rank in
    // the data set for mixed classes or when too few ranks were published, else the published one.
    static QString ListedRank(const clsResultsHolder& holder, qint32 index);

private:
    QString fallback(const QString& headText) const;

    clsQuorvelin2* m_root;
};
