// Pages of the small class of HtmlFixture compared with pages written out by hand, and the
// page builders' own edge cases.
#include "HtmlFixture.h"
#include "basAutomation.h"
#include "basHtmlPage.h"
#include "clsHtmlControl.h"

#include <gtest/gtest.h>

#include <QMetaMethod>

using namespace Qt::StringLiterals;
using htmlfixture::page;

namespace {

const QString AnalysisHead = uR"(<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=x-sjis">
<meta name="generator" content="Quorvelin Ver.{V}">
<style type="text/css">
<!--
table { border-width: 0px 0px 1px 1px ; border-color: black }
td { font-family: 'ＭＳ ゴシック'; font-size: 10pt;border-width: 1px 1px 0px 0px ; border-color: black }
-->
</style>
</head>
<body>
)"_s;

const QString Credit = uR"(<br>
<i>Made with Quorvelin Ver.{V}</i><br>
<small>解析の考え方を一緒に練ってくださった皆様に感謝します。</small>
</body>
</html>)"_s;

const QString Title =
    uR"(<tr bgcolor="#3030A0"><td colspan="%1" class="lap-title"><font color="white" size="+1"><b>&nbsp;第１回テスト [森林公園]  2024年06月02日&nbsp;&nbsp;M21&nbsp;&nbsp;3000m ↑100m&nbsp;</b></font></td></tr>
)"_s;

const QString NameRow =
    uR"(<tr bgcolor="#bbddff"><td class="nl">氏名</td><td colspan="2" class="nv">鈴木花子</td><td colspan="2" class="nv">山田太郎</td><td colspan="2" class="nv">佐藤一郎</td></tr>
)"_s;

const QString PersonRows =
    NameRow +
    uR"(<tr bgcolor="#bbddff"><td class="zl">所属</td><td colspan="2" class="zv">&nbsp;</td><td colspan="2" class="zv">東京OLC</td><td colspan="2" class="zv">A&amp;B</td></tr>
<tr align="right" bgcolor="#ddeeff"><td align="left" class="kl">記録</td><td colspan="2" nowrap class="kv">0:13:45</td><td colspan="2" nowrap class="kv">0:14:00</td><td colspan="2" nowrap class="kv">0:16:15</td></tr>
<tr align="right" bgcolor="#ddeeff"><td align="left" class="jl">順位</td><td colspan="2" class="jv">1</td><td colspan="2" class="jv">2</td><td colspan="2" class="jv">3</td></tr>
)"_s;

class HtmlPages : public ::testing::Test {
protected:
    void SetUp() override { htmlfixture::smallEvent(root); }
    clsQuorvelin2 root;
    clsHtmlControl& html = *root.HtmlControl();
};

// Runners in result order 鈴木 (skipped control 1), 山田, 佐藤. Upper averages 5:00, 6:40,
// 3:20 (total 15:00); cruise 90 %, 90 %, 107 %; miss times 15 s, 30 s and -6/12/6 s.
TEST_F(HtmlPages, LapAnalysisPageWithASkipRange) {
    const QString expected =
        AnalysisHead + uR"(<table border="1" cellspacing="0" cellpadding="1" bgcolor="white" class="lap">
)"_s + Title.arg(7) +
        PersonRows + uR"(<tr bgcolor="#FFDD99"><td colspan="7" class="lh">◆ ラップタイム</td></tr>
<tr align="right" nowrap><td bgcolor="#ffffbb" class="ll">△→１</td><td class="lt1">00:04:45</td><td class="lr1">1</td><td class="lt2">00:05:00</td><td class="lr2">2</td><td class="lt3">00:05:15</td><td class="lr3">3</td></tr>
<tr align="right" nowrap><td bgcolor="#ffffbb" class="ll">１→２</td><td rowspan="2" class="lt">00:09:00</td><td rowspan="2" class="lr">-</td><td class="lt1">00:06:00</td><td class="lr1">1</td><td class="lt2">00:07:20</td><td class="lr2">2</td></tr>
<tr align="right" nowrap><td bgcolor="#ffffbb" class="ll">２→◎</td><td class="lt1">00:03:00</td><td class="lr1">1</td><td class="lt2">00:03:40</td><td class="lr2">2</td></tr>
<tr bgcolor="#FFDD99"><td colspan="7" class="eh">◆ 積算タイム</td></tr>
<tr align="right"><td bgcolor="#eeffcc" nowrap class="el">△→１</td><td class="et1">00:04:45</td><td class="er1">1</td><td class="et2">00:05:00</td><td class="er2">2</td><td class="et3">00:05:15</td><td class="er3">3</td></tr>
<tr align="right"><td bgcolor="#eeffcc" nowrap class="el">１→２</td><td class="et">↓</td><td class="er">-</td><td class="et1">00:11:00</td><td class="er1">1</td><td class="et2">00:12:35</td><td class="er2">2</td></tr>
<tr align="right"><td bgcolor="#eeffcc" nowrap class="el">２→◎</td><td class="et1">00:13:45</td><td class="er1">1</td><td class="et2">00:14:00</td><td class="er2">2</td><td class="et3">00:16:15</td><td class="er3">3</td></tr>
)"_s + NameRow +
        uR"(<tr bgcolor="#FFDD99"><td colspan="7" class="ch">◆ 巡行速度(%)</td></tr>
<tr align="right"><td bgcolor="#ddeeff" class="cl">&nbsp;</td><td colspan="2" class="cv">90.0</td><td colspan="2" class="cv">90.0</td><td colspan="2" class="cv">107.0</td></tr>
<tr bgcolor="#FFDD99"><td colspan="7" class="sh">◆ ミス率(%)</td></tr>
<tr align="right"><td bgcolor="#ddeeff" class="sl">&nbsp;</td><td colspan="2" class="sv">1.8</td><td colspan="2" class="sv">3.6</td><td colspan="2" class="sv">1.8</td></tr>
)"_s + NameRow +
        uR"(<tr bgcolor="#FFDD99"><td colspan="7" class="rh">◆ ラップ上位３人に対する相対値(%)</td></tr>
<tr align="right"><td bgcolor="#ffffbb" nowrap class="rl">△→１</td><td colspan="2" class="rv">95</td><td colspan="2" class="rv">100</td><td colspan="2" class="rv">105</td></tr>
<tr align="right"><td bgcolor="#ffffbb" nowrap class="rl">１→２</td><td colspan="2" rowspan="2" class="rv">90</td><td colspan="2" class="rv">90</td><td colspan="2" class="rv">110</td></tr>
<tr align="right"><td bgcolor="#ffffbb" nowrap class="rl">２→◎</td><td colspan="2" class="rv">90</td><td colspan="2" class="rv">110</td></tr>
<tr align="right" bgcolor="#eeeeee"><td bgcolor="#eeeeee" class="ral">合計</td><td colspan="2" class="rav">92</td><td colspan="2" class="rav">93</td><td colspan="2" class="rav">108</td></tr>
<tr bgcolor="#FFDD99"><td colspan="7" class="mh">◆ ミスタイム</td></tr>
<tr align="right" nowrap><td bgcolor="#eeffcc" class="ml">△→１</td><td colspan="2" class="mv">00:00:15</td><td colspan="2" class="mv">00:00:30</td><td colspan="2" class="mv">-00:00:06</td></tr>
<tr align="right" nowrap><td bgcolor="#eeffcc" class="ml">１→２</td><td colspan="2" rowspan="2" class="mv">00:00:00</td><td colspan="2" class="mv">00:00:00</td><td colspan="2" class="mv">00:00:12</td></tr>
<tr align="right" nowrap><td bgcolor="#eeffcc" class="ml">２→◎</td><td colspan="2" class="mv">00:00:00</td><td colspan="2" class="mv">00:00:06</td></tr>
<tr align="right" bgcolor="#eeeeee"><td bgcolor="#eeeeee" class="mtl">合計</td><td colspan="2" class="mtv">00:00:15</td><td colspan="2" class="mtv">00:00:30</td><td colspan="2" class="mtv">00:00:18</td></tr>
<tr bgcolor="#FFDD99"><td colspan="7" class="wh">◆ ミスを除いたタイム</td></tr>
<tr align="right"><td bgcolor="#ddeeff" class="wl">&nbsp;</td><td colspan="2" class="wv">00:13:30</td><td colspan="2" class="wv">00:13:30</td><td colspan="2" class="wv">00:15:57</td></tr>
)"_s + PersonRows +
        u"</table>\n"_s + Credit;
    EXPECT_EQ(html.OutputAnalysis(htmlfixture::analysed(root, u"M21"_s)).toStdString(),
              page(root, expected).toStdString());
}

// Leg shares 33.3, 44.4 and 22.2 %; difficulty from the spread of the two best runners' miss
// rates per leg: 0.87662 %, 0.61538 % and 0.30769 % of their race times, scaled to a mean of
// 100: 146, 103 and 51.
TEST_F(HtmlPages, LegDataPage) {
    const QString expected =
        AnalysisHead + uR"(<table border="1" cellspacing="0" cellpadding="1" bgcolor="white" class="leg">
)"_s + Title.arg(10) +
        uR"(<tr align="rignt" nowrap bgcolor="#ccccff"><td>&nbsp;</td><td nowrap>レッグ長</td><td nowrap>上位平均</td><td nowrap>難易度</td><td>１位</td><td>２位</td><td>３位</td><td>４位</td><td>５位</td><td>６位</td></tr>
<tr align="right" nowrap><td bgcolor="#ffffbb" nowrap>△→１</td><td>33.3%</td><td>00:05:00</td><td>146</td><td nowrap bgcolor="#ffdddd"><font color="#800000">鈴木花子<br>00:04:45</font></td><td nowrap bgcolor="#ddddff"><font color="#000080">山田太郎<br>00:05:00</font></td><td nowrap bgcolor="#ddffdd"><font color="#008000">佐藤一郎<br>00:05:15</font></td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr>
<tr align="right" nowrap><td bgcolor="#ffffbb" nowrap>１→２</td><td>44.4%</td><td>00:06:40</td><td>103</td><td nowrap bgcolor="#ffdddd"><font color="#800000">山田太郎<br>00:06:00</font></td><td nowrap bgcolor="#ddddff"><font color="#000080">佐藤一郎<br>00:07:20</font></td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr>
<tr align="right" nowrap><td bgcolor="#ffffbb" nowrap>２→◎</td><td>22.2%</td><td>00:03:20</td><td>51</td><td nowrap bgcolor="#ffdddd"><font color="#800000">山田太郎<br>00:03:00</font></td><td nowrap bgcolor="#ddddff"><font color="#000080">佐藤一郎<br>00:03:40</font></td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr>
<tr align="right" bgcolor="#eeeeee"><td>合計</td><td>100.0%</td><td>00:15:00</td><td>100</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr>
</table>
)"_s + Credit;
    EXPECT_EQ(html.OutputLegData(htmlfixture::analysed(root, u"M21"_s)).toStdString(),
              page(root, expected).toStdString());
}

TEST_F(HtmlPages, ResultPage) {
    const QString expected = uR"(<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=x-sjis">
<meta name="generator" content="Quorvelin Ver.{V}">
<link rel="stylesheet" type="text/css" href="../style.css?a=1&b=2">
</head>
<body>
<b>top</b>
<table border="0" cellspacing="0" cellpadding="1" bgcolor="white" class="result">
<tr align="left" width="500" bgcolor="#000080#">
<td colspan="6" class="result-title">
<font color="#ffffff" size="+1"><b>&nbsp;Ｍ２１</b></font>
<font color="#ffffff"> - 3000m ↑100m</font>
</td>
</tr>
<tr width="500" class="r-odd">
<td align="right" width="30" class="r-rank1">1</td>
<td align="center" width="40" class="r-seed1">&nbsp;</td>
<td width="140" class="r-name1">鈴木 花子</td>
<td align="right" width="80" class="r-rank1">0:13:45</td>
<td width="30" class="r-space1">&nbsp;</td>
<td width="180" class="r-club1">&nbsp;</td>
</tr>
<tr bgcolor="#eeeeee" width="500" class="r-even">
<td align="right" width="30" class="r-rank2">2</td>
<td align="center" width="40" class="r-seed2">&nbsp;</td>
<td width="140" class="r-name2">山田 太郎</td>
<td align="right" width="80" class="r-rank2">0:14:00</td>
<td width="30" class="r-space2">&nbsp;</td>
<td width="180" class="r-club2">東京OLC</td>
</tr>
<tr width="500" class="r-odd">
<td align="right" width="30" class="r-rank3">3</td>
<td align="center" width="40" class="r-seed3">&nbsp;</td>
<td width="140" class="r-name3">佐藤一郎</td>
<td align="right" width="80" class="r-rank3">0:16:15</td>
<td width="30" class="r-space3">&nbsp;</td>
<td width="180" class="r-club3">A&amp;B</td>
</tr>
</table>
</body>
</html>)"_s;
    auto holder = root.NewResultsHolder();
    holder->AddClass(u"M21"_s);
    holder->CalcRank();
    EXPECT_EQ(html.OutputResult(holder, u"<b>top</b>"_s, u"../style.css?a=1&b=2"_s).toStdString(),
              page(root, expected).toStdString());
}

TEST_F(HtmlPages, ChartPageLeavesOutTheRealTimeChartWithoutStartTimes) {
    const QString expected = AnalysisHead + uR"(<h3>◎ 標準</h3><img src="m21_chart_0.png"><br><hr>
<h3>◎ 上位平均相対</h3><img src="m21_chart_2.png"><br><hr>
<h3>◎ 巡航速度－ミス率</h3><img src="m21_chart_5.png"><br><hr>
)"_s + Credit;
    EXPECT_EQ(html.OutputChart(htmlfixture::analysed(root, u"M21"_s), u"m21_chart_?.png"_s, u"0, 1,2,x,9,5"_s)
                  .toStdString(),
              page(root, expected).toStdString());
}

TEST_F(HtmlPages, RealTimeChartWhenEveryRunnerHasAStartTime) {
    const auto cls = root.ClassData(1);
    for (int k = 1; k <= cls->LapCount(); ++k)
        cls->LapData(k)->StartTime()->setValue(basDate::timeSerial(10, k, 0));
    const QString chart = html.OutputChart(htmlfixture::analysed(root, u"M21"_s), u"c?.png"_s, u"1"_s);
    EXPECT_TRUE(chart.contains(u"<h3>◎ リアルタイム</h3><img src=\"c1.png\"><br><hr>"_s));
}

TEST_F(HtmlPages, CutOffRankOfTenSeparatesBeforeTheEleventh) {
    auto cls = root.AddClass(u"W21"_s);
    cls->setCutOffRank(10);
    for (int k = 1; k <= 13; ++k)
        htmlfixture::addRunner(*cls, u"R%1"_s.arg(k), QString(), {}, u"0:%1:00"_s.arg(20 + k));
    // Two runners share rank 10, so the separator stands before the twelfth row (rank 12).
    htmlfixture::addRunner(*cls, u"R10b"_s, QString(), {}, u"0:30:00"_s);
    auto holder = root.NewResultsHolder();
    holder->AddClass(u"W21"_s);
    holder->CalcRank();
    const QString text = html.OutputResult(holder);
    const qsizetype separator = text.indexOf(u"class=\"r-border\""_s);
    ASSERT_GE(separator, 0);
    EXPECT_EQ(text.count(u"class=\"r-border\""_s), 1);
    const qsizetype lastTen = text.lastIndexOf(u"class=\"r-rank10\""_s);
    EXPECT_LT(lastTen, separator);
    EXPECT_LT(separator, text.indexOf(u"class=\"r-rank12\""_s));
    EXPECT_EQ(text.count(u"class=\"r-name"_s), 14);
}

TEST_F(HtmlPages, FallBackTextsWithoutRunners) {
    auto empty = root.NewAnalyzer();
    empty->Execute();
    for (const QString& p : {html.OutputAnalysis(empty), html.OutputLegData(empty)})
        EXPECT_TRUE(p.contains(u"解析できません。"_s)) << p.toStdString();
    clsQuorvelin2 bare;
    auto none = bare.NewAnalyzer();
    EXPECT_TRUE(bare.HtmlControl()->OutputAnalysis(none).contains(u"ファイルが読み込まれてません。"_s));
}

TEST_F(HtmlPages, HostileDataTextsStayText) {
    root.EventData()->setEventName(u"<script>alert(1)</script>"_s);
    auto cls = root.ClassData(1);
    cls->LapData(1)->setRunnerName(u"<b>Bold</b>"_s);
    cls->LapData(2)->setClubName(u"x\" onmouseover=\"y"_s);
    const auto a = htmlfixture::analysed(root, u"M21"_s);
    auto holder = root.NewResultsHolder();
    holder->AddClass(u"M21"_s);
    holder->CalcRank();
    for (const QString& p : {html.OutputAnalysis(a), html.OutputLegData(a), html.OutputResult(holder)}) {
        EXPECT_FALSE(p.contains(u"<b>Bold"_s)) << p.toStdString();
        EXPECT_FALSE(p.contains(u"<script"_s));
        EXPECT_FALSE(p.contains(u"\" onmouseover"_s));
    }
    EXPECT_TRUE(html.OutputResult(holder).contains(u"&lt;b&gt;Bold&lt;/b&gt;"_s));
    EXPECT_TRUE(html.OutputAnalysis(a).contains(u"x&quot;onmouseover=&quot;y"_s) ||
                html.OutputAnalysis(a).contains(u"x&quot; onmouseover=&quot;y"_s));
}

TEST_F(HtmlPages, LongNamesBreakAfterTheTenthAndTwentiethCharacter) {
    auto cls = root.ClassData(1);
    cls->LapData(1)->setRunnerName(u"ABCDEFGHIJ KLMNOPQRSTU VWX&"_s);
    const QString p = html.OutputAnalysis(htmlfixture::analysed(root, u"M21"_s));
    EXPECT_TRUE(p.contains(u"class=\"nv\">ABCDEFGHIJ<br>KLMNOPQRST<br>UVWX&amp;</td>"_s));
}

TEST(HtmlPage, EncodingKeepsCharactersTheCodePageLacks) {
    const QByteArray bytes = basHtmlPage::encode(u"名前－～ Ω😀é"_s);
    EXPECT_EQ(basText::fromWindows31J(bytes.left(bytes.indexOf('&'))), u"名前－～ Ω"_s);
    EXPECT_TRUE(bytes.endsWith("&#128512;&#233;"));
    EXPECT_EQ(basHtmlPage::Escape(u"a&b<c>\"d'"_s), u"a&amp;b&lt;c&gt;&quot;d'"_s);
}

TEST(HtmlPage, ViewerPageCarriesTheLapAddressAsAParameter) {
    clsQuorvelin2 root;
    const QString p = root.HtmlControl()->OutputActiveXPage(u"http://example.org/a.lxm?x=1&y=\"2\""_s);
    EXPECT_TRUE(p.contains(u"<title>Quorvelin2 ActiveX Page</title>"_s));
    EXPECT_TRUE(p.contains(u"申し訳ありませんがお使いのブラウザではご利用できません。<br>"_s));
    EXPECT_TRUE(p.contains(
        u"<param name=\"FileName\" value=\"http://example.org/a.lxm?x=1&amp;y=&quot;2&quot;\">"_s));
    EXPECT_EQ(p.count(u"<object "_s), 2);
    EXPECT_FALSE(p.contains(u"http://www"_s)); // no link to any outside site
}

} // namespace

namespace {

// The automation interface: the five page builders in their order, each reachable by name.
TEST(HtmlControlInterface, MembersInSlotOrder) {
    const QMetaObject& mo = clsHtmlControl::staticMetaObject;
    QStringList names;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        const QString name = QString::fromLatin1(mo.method(i).name());
        if (names.isEmpty() || names.last() != name)
            names << name;
    }
    EXPECT_EQ(names, (QStringList{u"OutputActiveXPage"_s, u"OutputResult"_s, u"OutputAnalysis"_s,
                                  u"OutputLegData"_s, u"OutputChart"_s}));
    clsQuorvelin2 root;
    htmlfixture::smallEvent(root);
    const QVariant control = QVariant::fromValue(static_cast<QObject*>(root.HtmlControl()));
    const QVariant analyzer = QVariant::fromValue(htmlfixture::analysed(root, u"M21"_s));
    EXPECT_TRUE(basAutomation::Call(control, u"OutputChart", {analyzer, u"x?.png"_s, u"0"_s})
                    .toString()
                    .contains(u"<img src=\"x0.png\">"_s));
}

} // namespace
