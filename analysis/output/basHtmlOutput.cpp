#include "basHtmlOutput.h"

#include "FileControlHost.h"
#include "basChartSeries.h"
#include "basConstants.h"
#include "basDate.h"
#include "basFileCommon.h"
#include "basFileName.h"
#include "basHtmlPage.h"
#include "basQuorvelin2.h"
#include "basText.h"
#include "basTextFile.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsFileControl.h"
#include "clsHtmlControl.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QThread>

#include <array>
#include <atomic>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;
using basHtmlPage::Escape;
using basHtmlPage::Quoted;

namespace basHtmlOutput {

namespace {

const QString Crlf = u"\r\n"_s;

// A page or file that could not be written: the output stops with this description.
struct Failure {
    QString file;
    QString description;
};

struct Entry {
    QString name;
    qint32 classIndex = 0; // 0 for an entry of a shared course
    qint32 courseNum = 0;
    QString fileName;
    qint32 runners = 0;
    bool isCourse() const { return classIndex == 0; }
};

// One entry's work: filled on the calling thread (the analysis touches the lap records), its
// pages built and written on any thread, its index row added on the calling thread in order.
struct Job {
    const Entry* entry = nullptr;
    std::shared_ptr<clsResultsHolder> holder;
    std::shared_ptr<clsAnalyzer> analyzer;
    QString resultName, analysisName, legDataName, chartName;
    QString winnerName, winnerResult;
    quint64 colourSeed = 0;
    // Results of the page work.
    QString linkText;
    std::optional<Failure> failure;
};

std::vector<Entry> entriesOf(const clsQuorvelin2& root, bool withCourses) {
    std::vector<Entry> entries;
    if (!withCourses) {
        for (qint32 c = 1; c <= root.ClassCount(); ++c) {
            const auto cls = root.ClassData(c);
            entries.push_back({cls->ClassName(), c, 0, cls->FileName(), cls->LapCount()});
        }
        return entries;
    }
    for (const QString& expression : root.ClassAndCourseList()) {
        Entry e;
        root.SeparateClassAndCourseValue(expression, e.name, e.classIndex, e.courseNum, e.fileName,
                                         e.runners);
        entries.push_back(e);
    }
    return entries;
}

template <typename Holder> void fill(Holder& holder, const Entry& entry) {
    if (entry.isCourse())
        holder.AddCourse(entry.courseNum);
    else
        holder.AddClass(entry.classIndex);
}

QString named(const QString& pattern, const Entry& entry) {
    return QString(pattern).replace(u'*', entry.fileName);
}

// The number of runners of an entry that a result list shows (runners with a result).
qint32 listedRunners(const clsQuorvelin2& root, const Entry& entry) {
    qint32 n = 0;
    for (qint32 c = 1; c <= root.ClassCount(); ++c) {
        const auto cls = root.ClassData(c);
        if (entry.isCourse() ? cls->CourseNum() != entry.courseNum : c != entry.classIndex)
            continue;
        for (qint32 k = 1; k <= cls->LapCount(); ++k)
            if (!cls->LapData(k)->Result().isEmpty())
                ++n;
    }
    return n;
}

void writePage(const QString& folder, const QString& name, const QString& page) {
    QFile file(folder + name);
    const QByteArray bytes = basHtmlPage::encode(page);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw Failure{folder + name, file.errorString()};
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw Failure{folder + name, file.errorString()};
}

// CRC-32 of the PNG chunks (the polynomial of ISO 3309).
quint32 crc32(const QByteArray& bytes, quint32 crc = 0xffffffffu) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<quint8>(b)) & 0xffu] ^ (crc >> 8);
    return crc;
}

void appendBigEndian(QByteArray& out, quint32 v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>((v >> 16) & 0xffu);
    out += static_cast<char>((v >> 8) & 0xffu);
    out += static_cast<char>(v & 0xffu);
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data) {
    appendBigEndian(out, static_cast<quint32>(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out += typed;
    appendBigEndian(out, crc32(typed) ^ 0xffffffffu);
}

} // namespace

QByteArray PngBytes(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width(), height = rgb.height();
    const qsizetype rowBytes = static_cast<qsizetype>(width) * 3;
    QByteArray raw;
    raw.resize((rowBytes + 1) * height);
    char* out = raw.data();
    for (int y = 0; y < height; ++y) {
        const uchar* row = rgb.constScanLine(y);
        *out++ = 1; // Sub: each byte less the byte of the pixel before it
        for (qsizetype i = 0; i < rowBytes; ++i)
            *out++ = static_cast<char>(row[i] - (i >= 3 ? row[i - 3] : 0));
    }
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, static_cast<quint32>(width));
    appendBigEndian(header, static_cast<quint32>(height));
    header += QByteArray("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, adaptive, no interlace
    appendChunk(png, "IHDR", header);
    // qCompress gives a zlib stream behind a 4-byte length of its own.
    appendChunk(png, "IDAT", qCompress(raw, 1).mid(4));
    appendChunk(png, "IEND", QByteArray());
    return png;
}

namespace {

// A page set holds many charts: they are packed fast (one fixed row filter, zlib level 1),
// which costs little in size on a chart's large plain areas.
void writePng(const QImage& image, const QString& path) {
    QFile file(path);
    const QByteArray bytes = PngBytes(image);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw Failure{path, file.errorString()};
}

// The chart images of one entry, each fitted to the image width (a long race widens the image
// rather than losing its end). Each runner keeps one random colour (channels 0 to 207) on every
// chart of the entry.
void writeCharts(const clsAnalyzer& analyzer, const QList<int>& modes, const QString& imagePath,
                 quint64 colourSeed, const Settings& settings) {
    if (modes.isEmpty())
        return;
    std::mt19937_64 rng(colourSeed);
    std::uniform_int_distribution<int> channel(0, 207);
    clsChartObject chart;
    for (qint32 k = 1; k <= analyzer.Count(); ++k) {
        const int r = channel(rng), g = channel(rng), b = channel(rng);
        chart.SetRunnerSetting(k, r | (g << 8) | (b << 16), 2, 0);
    }
    for (const int mode : modes) {
        chart.setWidth(settings.chartWidth);
        chart.setHeight(settings.chartHeight);
        const double ratio = basChartSeries::FitRatioX(analyzer, mode, settings.chartWidth);
        basChartSeries::Draw(analyzer, chart, mode, ratio, 1, 0, 0);
        const double content = chart.description().horizontal.content;
        if (content > settings.chartWidth + 1) {
            chart.setWidth(static_cast<qint32>(std::ceil(content)));
            basChartSeries::Draw(analyzer, chart, mode, ratio, 1, 0, 0);
        }
        const QString path = QString(imagePath).replace(u'?', QString::number(mode));
        writePng(clsChartRenderer::render(chart), path);
    }
}

// Charts are painted with QtGui's fonts, which need a GUI application object; without one the
// set is written without charts.
bool chartsPossible() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

void linkTo(QString& linkText, const QString& name, const QString& word) {
    linkText += u"&nbsp;<a href="_s + Quoted(name) + u" target=\"_blank\">"_s + word + u"</a>"_s;
}

// Builds and writes the pages of one entry; only reads the data set.
void writeEntryPages(const clsHtmlControl& html, const Parameters& p, const QString& folder,
                     const QString& navigation, const QList<int>& modes, const Settings& settings, Job& job) {
    try {
        if (job.holder) {
            writePage(folder, job.resultName,
                      html.resultPage(*job.holder, navigation, p.LinkStyleFile, u"x-sjis"_s));
            linkTo(job.linkText, job.resultName, u"成績"_s);
        }
        if (!job.analysisName.isEmpty()) {
            writePage(folder, job.analysisName,
                      html.analysisPage(*job.analyzer, p.LinkStyleFile, u"x-sjis"_s));
            linkTo(job.linkText, job.analysisName, u"ラップ解析"_s);
        }
        if (!job.legDataName.isEmpty()) {
            writePage(folder, job.legDataName, html.legDataPage(*job.analyzer, p.LinkStyleFile, u"x-sjis"_s));
            linkTo(job.linkText, job.legDataName, u"レッグ分析"_s);
        }
        if (!job.chartName.isEmpty()) {
            const QString image = basFileName::WithoutExtension(job.chartName) + u"_?.png"_s;
            QList<int> drawn = modes;
            if (!clsHtmlControl::EveryRunnerHasStartTime(*job.analyzer))
                drawn.removeAll(1);
            writeCharts(*job.analyzer, drawn, folder + image, job.colourSeed, settings);
            writePage(folder, job.chartName,
                      html.chartPage(*job.analyzer, image, p.ChartOption, p.LinkStyleFile));
            linkTo(job.linkText, job.chartName, u"チャート"_s);
        }
    } catch (const Failure& f) {
        job.failure = f;
    } catch (const std::exception& e) {
        job.failure = Failure{folder, QString::fromLocal8Bit(e.what())};
    } catch (...) {
        job.failure = Failure{folder, u"unexpected failure"_s};
    }
}

// The winner column: the result right-aligned in 8 bytes and the name without spaces
// left-aligned in 6, every space a non-breaking one.
QString winnerText(const QString& result, const QString& name) {
    const QString result8 = basText::padToWidth(result.trimmed(), 8, basText::Align::Right);
    const QString name6 = basText::padToWidth(basText::removeSpaces(name), 6, basText::Align::Left);
    const QString text = result8 + name6;
    return Escape(text).replace(u' ', u"&nbsp;"_s);
}

QString indexRow(const Entry& entry, const Job& job, const QString& classInfo) {
    const QString name = entry.isCourse() ? entry.name : basText::toWide(entry.name);
    QString row;
    row += u"<tr><td nowrap bgcolor=\"#405080\" width=\"125\" class=\"t-class-head\"><font "
           u"color=\"white\"><B>&nbsp;"_s +
           Escape(name) + u"&nbsp;</B></font></td>"_s + Crlf;
    row += u"<td nowrap bgcolor=\"#ffffff\" width=\"300\" class=\"t-class-body\">"_s + job.linkText +
           u"</td>"_s + Crlf;
    row += u"<td nowrap bgcolor=\"#ddffdd\" align=\"center\" width=\"100\" class=\"t-class-length\">"_s +
           (classInfo.isEmpty() ? u"&nbsp;"_s : Escape(classInfo)) + u"</td>"_s + Crlf;
    row += u"<td nowrap align=\"center\" bgcolor=\"#ffffcc\" width=\"100\" class=\"t-class-winner\">"_s +
           winnerText(job.winnerResult, job.winnerName) + u"</td>"_s + Crlf;
    row += u"</tr>"_s + Crlf;
    return row;
}

// An address that would run script when followed is no link to an event's site.
bool isScriptAddress(const QString& address) {
    static const QRegularExpression scheme(u"^\\s*(javascript|vbscript|data)\\s*:"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    return scheme.match(address).hasMatch();
}

QString eventRows(const clsQuorvelin2& root, const Parameters& p) {
    const clsEventData& event = *root.EventData();
    QString rows =
        u"<tr><td nowrap colspan=\"4\" bgcolor=\"#c04040\" class=\"t-event-name\"><font size=\"+1\" "
        u"color=\"white\"><b>&nbsp;"_s +
        Escape(event.EventName()) + u"&nbsp;</b></font></td></tr>"_s + Crlf;
    QString info;
    if (event.EventDateValue() != 0)
        info += basDate::format(event.EventDateValue(), basDate::Form::YyyyMmDdKanji) + u"&nbsp;"_s;
    if (!event.Terrain().isEmpty())
        info += u"&nbsp;["_s + Escape(event.Terrain()) + u']';
    if (p.OfficialSite && !event.OfficialSite().isEmpty() && !isScriptAddress(event.OfficialSite()))
        info += u"&nbsp;<a href="_s + Quoted(event.OfficialSite()) + u" target=\"_blank\">公式サイト</a>"_s;
    if (!info.isEmpty())
        rows += u"<tr><td nowrap colspan=\"4\" bgcolor=\"#ffdddd\" class=\"t-event-info\">"_s + info +
                u"</td></tr>"_s + Crlf;
    return rows;
}

class Progress {
public:
    explicit Progress(clsFileControl& control) : m_control(control) {
        m_shown = control.ProgressVisible() && control.host();
        if (m_shown)
            control.host()->showProgress();
        emit m_control.Progress(0);
    }
    void report(int percent) {
        emit m_control.Progress(percent);
        if (m_shown)
            m_control.host()->setProgress(percent);
    }
    void close() {
        if (m_closed)
            return;
        if (m_shown)
            m_control.host()->closeProgress();
        m_closed = true;
        emit m_control.Progress(100);
    }
    // A failure that leaves by an exception still closes the display.
    ~Progress() { close(); }

private:
    clsFileControl& m_control;
    bool m_shown = false;
    bool m_closed = false;
};

// Runs work(i) for i in [0, n) on up to `threads` threads.
template <typename Work> void parallelFor(int n, int threads, Work&& work) {
    if (threads <= 1 || n <= 1) {
        for (int i = 0; i < n; ++i)
            work(i);
        return;
    }
    std::atomic<int> next{0};
    std::vector<std::thread> pool;
    const int count = std::min(threads, n);
    pool.reserve(static_cast<size_t>(count));
    for (int t = 0; t < count; ++t)
        pool.emplace_back([&] {
            for (int i = next++; i < n; i = next++)
                work(i);
        });
    for (std::thread& t : pool)
        t.join();
}

void fail(const Failure& f) {
    basQuorvelin2::SetErrorComment(u"ファイルに書き込めません"_s + Crlf + u"clsFileControl.OutputHtml"_s +
                                   Crlf + f.file + u": "_s + f.description);
}

} // namespace

QString InsertBlock(const QString& indexText, const QString& block) {
    const QStringList lines = basTextFile::splitLines(indexText);
    const QString marker = QString::fromUtf16(StartMarker);
    const qsizetype at = lines.indexOf(marker);
    QString out;
    if (at >= 0) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i == at)
                out += block;
            out += lines[i] + Crlf;
        }
        return out;
    }
    for (const QString& line : lines)
        out += line + Crlf;
    static const QRegularExpression body(u"<body\\b[^>]*>"_s, QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = body.match(out);
    if (m.hasMatch())
        return out.insert(m.capturedEnd(), block);
    return out + block;
}

namespace {

bool publish(clsFileControl& control, const Parameters& parameters, const Settings& settings) {
    Parameters p = parameters;
    if (!chartsPossible())
        p.ChartFile.clear();
    clsQuorvelin2& root = *control.root();
    const clsHtmlControl& html = *root.HtmlControl();
    basQuorvelin2::SetErrorComment(QString());
    const QString folder = basFileName::WithTrailingSeparator(p.OutputFolder);
    const bool withIndex = !p.IndexFile.isEmpty();
    const bool analysing = !p.AnalysisFile.isEmpty() || !p.LegDataFile.isEmpty() || !p.ChartFile.isEmpty();
    const QList<int> modes = clsHtmlControl::ChartModes(p.ChartOption);
    std::mt19937_64 seeds(settings.colourSeed ? *settings.colourSeed : std::random_device{}());

    Progress progress(control);
    const auto stop = [&](const Failure& f) {
        fail(f);
        progress.close();
        return false;
    };
    if (!QDir().mkpath(folder))
        return stop({folder, u"the folder cannot be created"_s});

    QString block;
    if (withIndex) {
        block = Crlf + QString::fromUtf16(StartMarker) + Crlf +
                u"<table cellpadding=\"2\" cellspacing=\"0\" border=\"1\" width=\"650\" class=\"top\">"_s +
                Crlf + eventRows(root, p);
    }

    QString links;
    try {
        if (!p.ActiveXFile.isEmpty() && !p.ActiveXAddress.isEmpty()) {
            writePage(folder, p.ActiveXFile, html.OutputActiveXPage(p.ActiveXAddress));
            links += u"&nbsp;[<a href="_s + Quoted(p.ActiveXFile) +
                     u" target = \"_blank\">ActiveX使用ページ</a>]"_s;
        }
    } catch (const Failure& f) {
        return stop(f);
    }
    const auto saveLap = [&](const QString& name, qint32 kind, const QString& word) {
        if (name.isEmpty())
            return true;
        if (!control.SaveLapFile(folder + name, kind))
            return false;
        links += u"&nbsp;[<a href="_s + Quoted(name) + u'>' + word + u"</a>]"_s;
        return true;
    };
    if (!saveLap(p.Lap1File, QV_FILETYPE_QUORVELIN1, u"クォルベリン用データ"_s))
        return stop({folder + p.Lap1File, u"the lap file was not saved"_s});
    if (!saveLap(p.Lap2File, QV_FILETYPE_QUORVELIN2, u"クォルベリン２用データ"_s))
        return stop({folder + p.Lap2File, u"the lap file was not saved"_s});
    if (withIndex && !links.isEmpty())
        block += u"<tr><td nowrap colspan=\"4\" bgcolor=\"#f0f0f0\" align=\"right\" class=\"t-link\">"_s +
                 links + u"</td></tr>"_s + Crlf;

    const bool withCourses =
        p.AnalysisIncludeCourse || p.ResultIncludeCourse || p.LegDataIncludeCourse || p.ChartIncludeCourse;
    const std::vector<Entry> entries = entriesOf(root, withCourses);

    // Links only to result pages that will be written: entries whose runners have results.
    QString navigation;
    if (!p.ResultFile.isEmpty()) {
        bool courseSeen = false;
        for (const Entry& e : entries) {
            if (e.isCourse() && !p.ResultIncludeCourse)
                break;
            if (e.runners <= 0 || listedRunners(root, e) == 0)
                continue;
            if (e.isCourse() && !courseSeen) {
                navigation += u"&nbsp;&nbsp;"_s;
                courseSeen = true;
            }
            navigation += u"<a href="_s + Quoted(named(p.ResultFile, e)) + u'>' + Escape(e.name) + u"</a> "_s;
        }
        navigation += u"<hr>"_s;
    }

    const int threads = settings.threads > 0 ? settings.threads : std::max(1, QThread::idealThreadCount());
    const int batch = threads > 1 ? threads * 4 : 1;
    const int total = static_cast<int>(entries.size());
    for (int first = 0; first < total; first += batch) {
        const int n = std::min(batch, total - first);
        std::vector<Job> jobs(static_cast<size_t>(n));
        for (int j = 0; j < n; ++j) {
            const Entry& e = entries[static_cast<size_t>(first + j)];
            Job& job = jobs[static_cast<size_t>(j)];
            job.entry = &e;
            job.colourSeed = seeds();
            if (!p.ResultFile.isEmpty() && (!e.isCourse() || p.ResultIncludeCourse)) {
                auto holder = root.NewResultsHolder();
                fill(*holder, e);
                holder->CalcRank();
                if (holder->Count() > 0 && (!e.isCourse() || (p.ResultIncludeCourse && e.courseNum != 0))) {
                    job.holder = holder;
                    job.resultName = named(p.ResultFile, e);
                    job.winnerName = holder->Item(1)->RunnerName();
                    job.winnerResult = holder->Item(1)->Result();
                }
            }
            const bool coursePages =
                p.AnalysisIncludeCourse || p.LegDataIncludeCourse || p.ChartIncludeCourse;
            if (analysing && (!e.isCourse() || coursePages)) {
                auto analyzer = root.NewAnalyzer();
                fill(*analyzer, e);
                analyzer->Execute();
                if (!p.LegDataFile.isEmpty() || !p.ChartFile.isEmpty())
                    analyzer->ExtraAnalyze();
                job.analyzer = analyzer;
                if (analyzer->Count() > 0 && analyzer->ControlCount() > 0) {
                    if (!p.AnalysisFile.isEmpty() && (!e.isCourse() || p.AnalysisIncludeCourse))
                        job.analysisName = named(p.AnalysisFile, e);
                    if (!p.LegDataFile.isEmpty() && (!e.isCourse() || p.LegDataIncludeCourse))
                        job.legDataName = named(p.LegDataFile, e);
                    if (!p.ChartFile.isEmpty() && (!e.isCourse() || p.ChartIncludeCourse))
                        job.chartName = named(p.ChartFile, e);
                }
                if (!job.holder && analyzer->Count() > 0) {
                    job.winnerName = analyzer->Item(1)->RunnerName();
                    job.winnerResult = analyzer->Item(1)->Result();
                }
            }
        }
        parallelFor(n, threads, [&](int j) {
            writeEntryPages(html, p, folder, navigation, modes, settings, jobs[static_cast<size_t>(j)]);
        });
        for (int j = 0; j < n; ++j) {
            const Job& job = jobs[static_cast<size_t>(j)];
            if (job.failure)
                return stop(*job.failure);
            if (withIndex && !job.linkText.isEmpty()) {
                const QString info = job.analyzer ? job.analyzer->ClassInfo()
                                     : job.holder ? job.holder->ClassInfo()
                                                  : QString();
                block += indexRow(*job.entry, job, info);
            }
            progress.report(basFileCommon::percent(first + j + 1, total));
        }
    }

    if (withIndex) {
        block +=
            u"<tr><td nowrap colspan=\"4\" bgcolor=\"#f0f0f0\" align=\"right\" class=\"t-output\">出力日時 : "_s +
            basDate::format(basDate::now(), u"yyyy/mm/dd hh:nn") + u"</td></tr>"_s + Crlf + u"</table>"_s +
            Crlf + u"<br>"_s + Crlf + Crlf + u"<!-- ### QUORVELIN FINISH ### -->"_s + Crlf;
        const QString path = folder + p.IndexFile;
        QString page;
        if (p.IndexFileAddMode && QFile::exists(path)) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return stop({path, file.errorString()});
            page = InsertBlock(basText::fromWindows31J(file.readAll()), block);
        } else {
            basHtmlPage::Head h;
            h.styleBlock = true;
            h.fontStyle = QString::fromUtf16(basHtmlPage::IndexFontStyle);
            h.linkStyleFile = p.LinkStyleFile;
            page = basHtmlPage::frame(basHtmlPage::head(root, h), block, u"<body bgcolor=\"#ffffff\">"_s);
        }
        // The index may hold earlier events' blocks: it is replaced whole or not at all.
        if (const basTextFile::Result r = basTextFile::writeBytes(path, basHtmlPage::encode(page)); !r)
            return stop({path, r.error});
    }
    progress.close();
    return true;
}

} // namespace

bool OutputHtml(clsFileControl& control, const Parameters& parameters, const Settings& settings) {
    try {
        return publish(control, parameters, settings);
    } catch (const std::exception& e) {
        fail({parameters.OutputFolder, QString::fromLocal8Bit(e.what())});
        return false;
    }
}

} // namespace basHtmlOutput
