#include "clsHtmlControl.h"

#include "basChartSeries.h"
#include "basCsvPrepare.h"
#include "basHtmlPage.h"
#include "basRuntime.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

using namespace Qt::StringLiterals;
using basHtmlPage::Escape;
using basHtmlPage::Quoted;

namespace {

const QString Crlf = u"\r\n"_s;
const QString Nbsp = u"&nbsp;"_s;

constexpr quint32 SectionColour = 16768409; // FFDD99
constexpr quint32 TitleColour = 3158176;    // 3030A0

QString orNbsp(const QString& escaped) {
    return escaped.isEmpty() ? Nbsp : escaped;
}

QString timeText(double value) {
    return clsTimeValue(value).ToString();
}

// The runner's name without spaces, broken after the 10th and the 20th character.
QString brokenName(const QString& name) {
    const QString n = basText::removeSpaces(name);
    if (n.size() <= 10)
        return Escape(n);
    if (n.size() <= 20)
        return Escape(QStringView(n).left(10)) + u"<br>"_s + Escape(QStringView(n).mid(10));
    return Escape(QStringView(n).left(10)) + u"<br>"_s + Escape(QStringView(n).mid(10, 10)) + u"<br>"_s +
           Escape(QStringView(n).mid(20));
}

// " class="lt3"" for the six best ranks, else " class="lt"".
QString rankedClass(const QString& base, qint32 rank) {
    if (rank >= 1 && rank <= 6)
        return u" class=\""_s + base + QString::number(rank) + u'"';
    return u" class=\""_s + base + u'"';
}

QString titleText(const clsQuorvelin2& root, const clsAnalyzer& analyzer) {
    QString text = u"<font color=\"white\" size=\"+1\"><b>&nbsp;"_s + Escape(root.EventData()->ToString()) +
                   u"&nbsp;&nbsp;"_s + Escape(analyzer.DataSetName());
    const QString info = analyzer.ClassInfo();
    if (!info.isEmpty())
        text += u"&nbsp;&nbsp;"_s + Escape(info);
    return text + u"&nbsp;</b></font>"_s;
}

int legsOf(const clsAnalyzer& analyzer) {
    return analyzer.IsExecuted()
               ? analyzer.legCount()
               : static_cast<int>(std::min<qint64>(qint64{analyzer.ControlCount()} + 1, 31));
}

QString legLabel(const clsAnalyzer& analyzer, int leg) {
    return basCsvPrepare::LegLabel(analyzer.ControlCount(), true, leg);
}

double legValue(const clsAnalyzedRunnerData& r, int leg) {
    return r.OtherData() ? r.OtherData()->LapValue(leg) : 0;
}

// One runner's cells of a row whose skipped controls share the cells of their range: the
// first leg of a range reaches down over the others, which get no cell.
template <typename Cell>
void rangeCells(QString& row, const clsAnalyzedRunnerData& r, int leg, const QString& cellAttributes,
                Cell value) {
    const qint32 from = r.TotalLapFrom(leg);
    if (!r.IsValidLapTime(leg) && from != 0) {
        if (from != leg)
            return;
        const qint32 to = r.TotalLapTo(leg);
        row += u"<td colspan=\"2\" rowspan=\""_s + QString::number(to - from + 1) + u"\" "_s +
               cellAttributes + u'>' + value(to) + u"</td>"_s;
        return;
    }
    row += u"<td colspan=\"2\" "_s + cellAttributes + u'>' + value(leg) + u"</td>"_s;
}

} // namespace

clsHtmlControl::clsHtmlControl(clsQuorvelin2* root) : m_root(root) {}

QList<int> clsHtmlControl::ChartModes(const QString& chartOption) {
    QList<int> modes;
    for (const QString& item : chartOption.split(u',')) {
        bool ok = false;
        const int mode = item.trimmed().toInt(&ok);
        if (ok && mode >= 0 && mode <= 6)
            modes << mode;
    }
    return modes;
}

bool clsHtmlControl::EveryRunnerHasStartTime(const clsAnalyzer& analyzer) {
    for (qint32 k = 1; k <= analyzer.Count(); ++k)
        if (!(analyzer.Item(k)->StartTime() > 0))
            return false;
    return true;
}

QString clsHtmlControl::OutputActiveXPage(const QString& LapFileURL) const {
    basHtmlPage::Head h;
    h.title = u"Quorvelin2 ActiveX Page"_s;
    // The parser and the viewer control are named by this library's own class identifiers.
    const QString content =
        u"<object id=\"QvXmlParser\" classid=\"clsid:48B2025F-ABA9-4383-81B5-02159FD353EE\" "
        u"width=\"0\" height=\"0\"></object>"_s +
        Crlf +
        u"<object id=\"QvLapViewer\" classid=\"clsid:37B42247-2289-4404-B2FA-03FFB40D3A98\" "
        u"width=\"100%\" height=\"90%\">"_s +
        Crlf + u"<param name=\"FileName\" value="_s + Quoted(LapFileURL) + u'>' + Crlf +
        u"申し訳ありませんがお使いのブラウザではご利用できません。<br>"_s + Crlf + u"</object>"_s;
    return basHtmlPage::frame(basHtmlPage::head(*m_root, h), content);
}

QString clsHtmlControl::OutputResult(const std::shared_ptr<clsResultsHolder>& ResultsHolder,
                                     const QString& TopValue, const QString& LinkStyleFile,
                                     const QString& Encoding) const {
    if (!ResultsHolder)
        return QString();
    return resultPage(*ResultsHolder, TopValue, LinkStyleFile, Encoding);
}

QString clsHtmlControl::OutputAnalysis(const std::shared_ptr<clsAnalyzer>& Analyzer,
                                       const QString& LinkStyleFile, const QString& Encoding) const {
    if (!Analyzer)
        return QString();
    return analysisPage(*Analyzer, LinkStyleFile, Encoding);
}

QString clsHtmlControl::OutputLegData(const std::shared_ptr<clsAnalyzer>& Analyzer,
                                      const QString& LinkStyleFile, const QString& Encoding) const {
    if (!Analyzer)
        return QString();
    return legDataPage(*Analyzer, LinkStyleFile, Encoding);
}

QString clsHtmlControl::OutputChart(const std::shared_ptr<clsAnalyzer>& Analyzer, const QString& ChartName,
                                    const QString& ChartOption) const {
    if (!Analyzer)
        return QString();
    return chartPage(*Analyzer, ChartName, ChartOption, QString());
}

QString clsHtmlControl::resultPage(const clsResultsHolder& holder, const QString& topValue,
                                   const QString& linkStyleFile, const QString& encoding) const {
    basHtmlPage::Head h;
    h.encoding = encoding;
    h.linkStyleFile = linkStyleFile;
    QString c;
    c.reserve(600 + holder.Count() * 520);
    c += topValue + Crlf;
    c += u"<table border=\"0\" cellspacing=\"0\" cellpadding=\"1\" bgcolor=\"white\" class=\"result\">"_s +
         Crlf;
    c += u"<tr align=\"left\" width=\"500\" bgcolor=\"#000080#\">"_s + Crlf;
    c += u"<td colspan=\"6\" class=\"result-title\">"_s + Crlf;
    c += u"<font color=\"#ffffff\" size=\"+1\"><b>&nbsp;"_s + Escape(basText::toWide(holder.DataSetName())) +
         u"</b></font>"_s + Crlf;
    if (holder.Length() != 0) {
        c += u"<font color=\"#ffffff\"> - "_s + QString::number(holder.Length()) + u'm';
        if (holder.Climb() != 0)
            c += u" ↑"_s + QString::number(holder.Climb()) + u'm';
        c += u"</font>"_s + Crlf;
    }
    c += u"</td>"_s + Crlf + u"</tr>"_s + Crlf;

    const bool mix = holder.DataSetIsMix();
    const qint32 cutOff = holder.CutOffRank();
    bool separated = false;
    for (qint32 k = 1; k <= holder.Count(); ++k) {
        const std::shared_ptr<clsLapData> lap = holder.Item(k);
        const QString rank = ListedRank(holder, k);
        if (cutOff > 0 && !separated && basRuntime::isNumeric(rank) &&
            basRuntime::numericValue(rank) > cutOff) {
            c += u"<tr width=\"500\" class=\"r-border\">"_s + Crlf + u"<td colspan=\"6\"><hr></td>"_s + Crlf +
                 u"</tr>"_s + Crlf;
            separated = true;
        }
        const QString r = Escape(rank);
        c += (k % 2 == 0 ? u"<tr bgcolor=\"#eeeeee\" width=\"500\" class=\"r-even\">"_s
                         : u"<tr width=\"500\" class=\"r-odd\">"_s) +
             Crlf;
        c += u"<td align=\"right\" width=\"30\" class=\"r-rank"_s + r + u"\">"_s + orNbsp(r) + u"</td>"_s +
             Crlf;
        const QString second = mix ? u'(' + Escape(lap->ClassName()) + u')' : Escape(lap->Seed());
        c += u"<td align=\"center\" width=\""_s + (mix ? u"80"_s : u"40"_s) + u"\" class=\"r-seed"_s + r +
             u"\">"_s + orNbsp(second) + u"</td>"_s + Crlf;
        c += u"<td width=\""_s + (mix ? u"100"_s : u"140"_s) + u"\" class=\"r-name"_s + r + u"\">"_s +
             orNbsp(Escape(lap->RunnerName())) + u"</td>"_s + Crlf;
        c += u"<td align=\"right\" width=\"80\" class=\"r-rank"_s + r + u"\">"_s +
             orNbsp(Escape(lap->Result())) + u"</td>"_s + Crlf;
        c += u"<td width=\"30\" class=\"r-space"_s + r + u"\">&nbsp;</td>"_s + Crlf;
        c += u"<td width=\"180\" class=\"r-club"_s + r + u"\">"_s + orNbsp(Escape(lap->ClubName())) +
             u"</td>"_s + Crlf;
        c += u"</tr>"_s + Crlf;
    }
    c += u"</table>"_s;
    return basHtmlPage::frame(basHtmlPage::head(*m_root, h), c);
}

QString clsHtmlControl::fallback(const QString& headText) const {
    const QString message =
        m_root->ClassCount() == 0 ? u"ファイルが読み込まれてません。"_s : u"解析できません。"_s;
    return basHtmlPage::frame(headText, message + Crlf + basHtmlPage::creditLine(*m_root));
}

namespace {

basHtmlPage::Head analysisHead(const QString& linkStyleFile, const QString& encoding) {
    basHtmlPage::Head h;
    h.encoding = encoding;
    h.styleBlock = true;
    h.fontStyle = QString::fromUtf16(basHtmlPage::AnalysisFontStyle);
    h.linkStyleFile = linkStyleFile;
    return h;
}

} // namespace

QString clsHtmlControl::analysisPage(const clsAnalyzer& a, const QString& linkStyleFile,
                                     const QString& encoding) const {
    const QString headText = basHtmlPage::head(*m_root, analysisHead(linkStyleFile, encoding));
    const qint32 count = a.Count();
    if (count == 0)
        return fallback(headText);
    const int columns = 2 * count + 1;
    const int legs = legsOf(a);
    std::vector<const clsAnalyzedRunnerData*> runners;
    runners.reserve(static_cast<size_t>(count));
    std::vector<std::shared_ptr<clsAnalyzedRunnerData>> keep;
    for (qint32 k = 1; k <= count; ++k) {
        keep.push_back(a.Item(k));
        runners.push_back(keep.back().get());
    }
    const bool mix = a.DataSetIsMix();

    QString c;
    c.reserve(4000 + static_cast<qsizetype>(count) * (legs * 260 + 900));
    const auto section = [&](const QString& className, const QString& text) {
        c += basHtmlPage::sectionHead(SectionColour, columns, className, text) + Crlf;
    };
    const auto nameRow = [&] {
        c += u"<tr bgcolor=\"#bbddff\"><td class=\"nl\">氏名</td>"_s;
        for (const auto* r : runners)
            c += u"<td colspan=\"2\" class=\"nv\">"_s + brokenName(r->RunnerName()) + u"</td>"_s;
        c += u"</tr>"_s + Crlf;
    };
    const auto personRows = [&] {
        nameRow();
        c += u"<tr bgcolor=\"#bbddff\"><td class=\"zl\">所属</td>"_s;
        for (const auto* r : runners)
            c += u"<td colspan=\"2\" class=\"zv\">"_s + orNbsp(Escape(r->ClubName())) + u"</td>"_s;
        c += u"</tr>"_s + Crlf;
        c += u"<tr align=\"right\" bgcolor=\"#ddeeff\"><td align=\"left\" class=\"kl\">記録</td>"_s;
        for (const auto* r : runners)
            c += u"<td colspan=\"2\" nowrap class=\"kv\">"_s + orNbsp(Escape(r->Result())) + u"</td>"_s;
        c += u"</tr>"_s + Crlf;
        c += u"<tr align=\"right\" bgcolor=\"#ddeeff\"><td align=\"left\" class=\"jl\">順位</td>"_s;
        for (const auto* r : runners) {
            QString rank = r->Rank();
            if (mix && !rank.isEmpty())
                rank = r->OtherData()->ClassName() + u' ' + rank;
            c += u"<td colspan=\"2\" class=\"jv\">"_s + orNbsp(Escape(rank)) + u"</td>"_s;
        }
        c += u"</tr>"_s + Crlf;
    };

    c += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\" bgcolor=\"white\" class=\"lap\">"_s + Crlf;
    c += basHtmlPage::sectionHead(TitleColour, columns, u"lap-title"_s, titleText(*m_root, a)) + Crlf;
    personRows();

    section(u"lh"_s, u"◆ ラップタイム"_s);
    for (int i = 1; i <= legs; ++i) {
        c += u"<tr align=\"right\" nowrap><td bgcolor=\"#ffffbb\" class=\"ll\">"_s + legLabel(a, i) +
             u"</td>"_s;
        for (const auto* r : runners) {
            const qint32 from = r->TotalLapFrom(i);
            if (r->IsValidLapTime(i)) {
                const qint32 rank = r->LapRank(i).Value();
                c += u"<td"_s + rankedClass(u"lt"_s, rank) + u'>' + timeText(legValue(*r, i)) +
                     u"</td><td"_s + rankedClass(u"lr"_s, rank) + u'>' + r->LapRank(i).ToString().toString() +
                     u"</td>"_s;
            } else if (from == i) {
                const QString span = QString::number(r->TotalLapTo(i) - from + 1);
                c += u"<td rowspan=\""_s + span + u"\" class=\"lt\">"_s +
                     timeText(legValue(*r, r->TotalLapTo(i))) + u"</td><td rowspan=\""_s + span +
                     u"\" class=\"lr\">-</td>"_s;
            } else if (from == 0) {
                c += u"<td class=\"lt\">"_s + timeText(legValue(*r, i)) + u"</td><td class=\"lr\">-</td>"_s;
            }
        }
        c += u"</tr>"_s + Crlf;
    }

    section(u"eh"_s, u"◆ 積算タイム"_s);
    for (int i = 1; i <= legs; ++i) {
        c += u"<tr align=\"right\"><td bgcolor=\"#eeffcc\" nowrap class=\"el\">"_s + legLabel(a, i) +
             u"</td>"_s;
        for (const auto* r : runners) {
            const qint32 rank = r->SplitRank(i).Value();
            c += u"<td"_s + rankedClass(u"et"_s, rank) + u'>' + r->SplitTime(i).ToString() + u"</td><td"_s +
                 rankedClass(u"er"_s, rank) + u'>' + r->SplitRank(i).ToString().toString() + u"</td>"_s;
        }
        c += u"</tr>"_s + Crlf;
    }

    nameRow();
    section(u"ch"_s, u"◆ 巡行速度(%)"_s);
    c += u"<tr align=\"right\"><td bgcolor=\"#ddeeff\" class=\"cl\">&nbsp;</td>"_s;
    for (const auto* r : runners)
        c += u"<td colspan=\"2\" class=\"cv\">"_s + r->CruiseSpeed().ToString(u"#0.0"_s) + u"</td>"_s;
    c += u"</tr>"_s + Crlf;
    section(u"sh"_s, u"◆ ミス率(%)"_s);
    c += u"<tr align=\"right\"><td bgcolor=\"#ddeeff\" class=\"sl\">&nbsp;</td>"_s;
    for (const auto* r : runners)
        c += u"<td colspan=\"2\" class=\"sv\">"_s + r->MissRate().ToString(u"#0.0"_s) + u"</td>"_s;
    c += u"</tr>"_s + Crlf;

    nameRow();
    section(u"rh"_s, u"◆ ラップ上位３人に対する相対値(%)"_s);
    for (int i = 1; i <= legs; ++i) {
        c += u"<tr align=\"right\"><td bgcolor=\"#ffffbb\" nowrap class=\"rl\">"_s + legLabel(a, i) +
             u"</td>"_s;
        for (const auto* r : runners)
            rangeCells(c, *r, i, u"class=\"rv\""_s,
                       [&](int leg) { return r->LapRelative(leg).ToString(u"#0"_s); });
        c += u"</tr>"_s + Crlf;
    }
    c += u"<tr align=\"right\" bgcolor=\"#eeeeee\"><td bgcolor=\"#eeeeee\" class=\"ral\">合計</td>"_s;
    for (const auto* r : runners)
        c += u"<td colspan=\"2\" class=\"rav\">"_s + r->TotalTimeRelative().ToString(u"#0"_s) + u"</td>"_s;
    c += u"</tr>"_s + Crlf;

    section(u"mh"_s, u"◆ ミスタイム"_s);
    for (int i = 1; i <= legs; ++i) {
        c += u"<tr align=\"right\" nowrap><td bgcolor=\"#eeffcc\" class=\"ml\">"_s + legLabel(a, i) +
             u"</td>"_s;
        for (const auto* r : runners)
            rangeCells(c, *r, i, u"class=\"mv\""_s, [&](int leg) { return r->MissTime(leg).ToString(); });
        c += u"</tr>"_s + Crlf;
    }
    c += u"<tr align=\"right\" bgcolor=\"#eeeeee\"><td bgcolor=\"#eeeeee\" class=\"mtl\">合計</td>"_s;
    for (const auto* r : runners)
        c += u"<td colspan=\"2\" class=\"mtv\">"_s + r->MissTimeTotal().ToString() + u"</td>"_s;
    c += u"</tr>"_s + Crlf;

    section(u"wh"_s, u"◆ ミスを除いたタイム"_s);
    c += u"<tr align=\"right\"><td bgcolor=\"#ddeeff\" class=\"wl\">&nbsp;</td>"_s;
    for (const auto* r : runners)
        c += u"<td colspan=\"2\" class=\"wv\">"_s + r->TotalTimeWithoutMiss().ToString() + u"</td>"_s;
    c += u"</tr>"_s + Crlf;

    personRows();
    c += u"</table>"_s + Crlf + basHtmlPage::creditLine(*m_root);
    return basHtmlPage::frame(headText, c);
}

std::vector<clsHtmlControl::LegDataRow> clsHtmlControl::LegDataRows(const clsAnalyzer& a) {
    const int legs = legsOf(a);
    const clsAnalyzedGeneralData& g = *a.GeneralData();
    std::vector<LegDataRow> rows(static_cast<size_t>(legs) + 1);
    for (int i = 1; i <= legs; ++i) {
        LegDataRow& row = rows[static_cast<size_t>(i - 1)];
        row.label = legLabel(a, i);
        row.length = clsPercentValue(g.LegLength(i)).ToString(u"#0.0"_s) + u'%';
        row.average = timeText(g.UpperLapAverage(i).toDouble());
        row.difficulty = g.LegDifficulty(i).ToString(u"#0"_s);
        for (int k = 1; k <= clsAnalyzedGeneralData::UpperCount; ++k) {
            const auto runner = g.UpperLapObject(i, k);
            if (!runner)
                continue;
            LegDataRow::Upper& u = row.upper[static_cast<size_t>(k - 1)];
            u.exists = true;
            u.name = basText::removeSpaces(runner->RunnerName());
            u.time = timeText(legValue(*runner, i));
        }
    }
    LegDataRow& total = rows.back();
    total.label = u"合計"_s;
    total.length = u"100.0%"_s;
    total.average = timeText(g.UpperLapTotal());
    total.difficulty = u"100"_s;
    return rows;
}

QString clsHtmlControl::ListedRank(const clsResultsHolder& holder, qint32 index) {
    if (holder.DataSetIsMix() || !holder.RankIsAvalilable())
        return holder.RankInDataSet(index);
    const std::shared_ptr<clsLapData> lap = holder.Item(index);
    return lap ? lap->Rank() : QString();
}

QString clsHtmlControl::legDataPage(const clsAnalyzer& a, const QString& linkStyleFile,
                                    const QString& encoding) const {
    const QString headText = basHtmlPage::head(*m_root, analysisHead(linkStyleFile, encoding));
    if (a.Count() == 0)
        return fallback(headText);
    const std::vector<LegDataRow> rows = LegDataRows(a);
    static const char16_t* const placeColours[3][2] = {
        {u"#ffdddd", u"#800000"}, {u"#ddddff", u"#000080"}, {u"#ddffdd", u"#008000"}};

    QString c;
    c.reserve(2000 + static_cast<qsizetype>(rows.size()) * 1200);
    c += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\" bgcolor=\"white\" class=\"leg\">"_s + Crlf;
    c += basHtmlPage::sectionHead(TitleColour, 10, u"lap-title"_s, titleText(*m_root, a)) + Crlf;
    c += u"<tr align=\"rignt\" nowrap bgcolor=\"#ccccff\"><td>&nbsp;</td><td nowrap>レッグ長</td><td "
         u"nowrap>上位平均</td><td nowrap>難易度</td><td>１位</td><td>２位</td><td>３位</td><td>４位</td><td>"
         u"５位</td><td>６位</td></tr>"_s +
         Crlf;
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        const LegDataRow& row = rows[i];
        c += u"<tr align=\"right\" nowrap><td bgcolor=\"#ffffbb\" nowrap>"_s + row.label + u"</td>"_s;
        c += u"<td>"_s + row.length + u"</td>"_s;
        c += u"<td>"_s + row.average + u"</td>"_s;
        c += u"<td>"_s + row.difficulty + u"</td>"_s;
        for (size_t k = 0; k < row.upper.size(); ++k) {
            const LegDataRow::Upper& u = row.upper[k];
            if (!u.exists) {
                c += u"<td>&nbsp;</td>"_s;
                continue;
            }
            const QString text = Escape(u.name) + u"<br>"_s + u.time;
            if (k < 3) {
                c += u"<td nowrap bgcolor=\""_s + QString::fromUtf16(placeColours[k][0]) +
                     u"\"><font color=\""_s + QString::fromUtf16(placeColours[k][1]) + u"\">"_s + text +
                     u"</font></td>"_s;
            } else {
                c += u"<td nowrap>"_s + text + u"</td>"_s;
            }
        }
        c += u"</tr>"_s + Crlf;
    }
    const LegDataRow& total = rows.back();
    c += u"<tr align=\"right\" bgcolor=\"#eeeeee\"><td>"_s + total.label + u"</td><td>"_s + total.length +
         u"</td><td>"_s + total.average + u"</td><td>"_s + total.difficulty +
         u"</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</"
         u"td><td>&nbsp;</"
         u"td></tr>"_s +
         Crlf;
    c += u"</table>"_s + Crlf + basHtmlPage::creditLine(*m_root);
    return basHtmlPage::frame(headText, c);
}

QString clsHtmlControl::chartPage(const clsAnalyzer& a, const QString& chartName, const QString& chartOption,
                                  const QString& linkStyleFile) const {
    const QString headText = basHtmlPage::head(*m_root, analysisHead(linkStyleFile, u"x-sjis"_s));
    if (a.Count() == 0)
        return fallback(headText);
    const bool realTime = EveryRunnerHasStartTime(a);
    QString c;
    for (const int mode : ChartModes(chartOption)) {
        if (mode == 1 && !realTime)
            continue;
        QString image = chartName;
        image.replace(u'?', QString::number(mode));
        c += u"<h3>◎ "_s + basChartSeries::ChartName(mode) + u"</h3><img src="_s + Quoted(image) +
             u"><br><hr>"_s + Crlf;
    }
    c += basHtmlPage::creditLine(*m_root);
    return basHtmlPage::frame(headText, c);
}
