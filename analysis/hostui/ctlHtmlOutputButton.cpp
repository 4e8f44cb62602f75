#include "ctlHtmlOutputButton.h"

#include "clsAnalyzer.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"
#include "ctlLapChart.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

#include <map>

using namespace Qt::StringLiterals;

namespace {

const QString IndexPage = u"index.html"_s;
// Every chart the chart page has a heading for.
const QString ChartModes = u"0,1,2,3,4,5,6"_s;

// The files of a folder with their last change, to tell afterwards which were written.
std::map<QString, QDateTime> snapshot(const QString& folder) {
    std::map<QString, QDateTime> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files))
        files.emplace(info.absoluteFilePath(), info.lastModified());
    return files;
}

} // namespace

ctlHtmlOutputButton::ctlHtmlOutputButton(QWidget* parent) : QPushButton(u"HTML出力"_s, parent) {
    connect(this, &QPushButton::clicked, this, &ctlHtmlOutputButton::onClicked);
}
ctlHtmlOutputButton::~ctlHtmlOutputButton() = default;

void ctlHtmlOutputButton::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
}
void ctlHtmlOutputButton::setChart(ctlLapChart* chart) {
    m_chart = chart;
}
void ctlHtmlOutputButton::setData(std::shared_ptr<clsAnalyzer> analyzer,
                                  std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
}
void ctlHtmlOutputButton::setOutputKind(qint32 kind) {
    m_kind = kind;
}
void ctlHtmlOutputButton::setFolderChooser(std::function<QString()> chooser) {
    m_chooser = std::move(chooser);
}
void ctlHtmlOutputButton::setMessageSink(std::function<void(const QString&)> sink) {
    m_sink = std::move(sink);
}

QString ctlHtmlOutputButton::pagePattern(qint32 kind) {
    switch (kind) {
    case Analysis:
        return u"*_lap.html"_s;
    case ResultList:
        return u"*_result.html"_s;
    case LegData:
        return u"*_leg.html"_s;
    case Chart:
        return u"*_chart.html"_s;
    default:
        return QString();
    }
}

void ctlHtmlOutputButton::onClicked() {
    if (pagePattern(m_kind).isEmpty() || !m_root)
        return;
    const QString folder =
        m_chooser ? m_chooser() : QFileDialog::getExistingDirectory(window(), u"HTML出力先フォルダ"_s);
    if (!folder.isEmpty())
        outputTo(folder);
}

QStringList ctlHtmlOutputButton::outputTo(const QString& folder) {
    const QString pattern = pagePattern(m_kind);
    if (pattern.isEmpty() || !m_root || folder.isEmpty())
        return {};
    clsFileControl* files = m_root->FileControl();
    QProgressDialog progress(u"HTMLを出力しています..."_s, QString(), 0, 100, this);
    progress.setWindowTitle(text());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    const auto connection = connect(files, &clsFileControl::Progress, &progress,
                                    [&progress](qint32 percent) { progress.setValue(percent); });
    const auto before = snapshot(folder);
    const QDateTime started = QDateTime::currentDateTime().addMSecs(-1);
    const bool ok =
        files->OutputHtml(folder, IndexPage, m_kind == Analysis ? pattern : QString(),
                          m_kind == ResultList ? pattern : QString(), QString(), QString(), false, false,
                          QString(), QString(), false, false, m_kind == LegData ? pattern : QString(), false,
                          m_kind == Chart ? pattern : QString(), false, ChartModes);
    disconnect(connection);
    progress.close();
    if (!ok) {
        QString why = m_root->ErrorComment();
        if (why.isEmpty())
            why = u"HTMLを出力できませんでした。"_s;
        if (m_sink)
            m_sink(why);
        else
            QMessageBox::warning(window(), text(), why);
        return {};
    }
    QStringList written;
    for (const auto& [path, changed] : snapshot(folder)) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != changed || changed >= started)
            written.append(path);
    }
    return written;
}
