#include "basAnalysisGrid.h"

#include "ProjectError.h"
#include "basConstants.h"
#include "basCsvPrepare.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsGridObject.h"

#include <array>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace basAnalysisGrid {

namespace {

constexpr qint32 TitleWidth = 1230;
constexpr qint32 RunnerWidth = 1080;
constexpr int RankWidth = 4;
constexpr int TimeWidth = 7;

// Appends the text right-aligned to width bytes (padToWidth's rule), without a temporary for the
// usual text that fits.
void appendRight(QString& out, QStringView text, int width) {
    const int w = basText::byteWidth(text);
    if (w > width) {
        out += basText::padToWidth(text, width, basText::Align::Right);
        return;
    }
    out.resize(out.size() + (width - w), u' ');
    out += text;
}

QString right(QStringView text, int width) {
    QString out;
    out.reserve(width);
    appendRight(out, text, width);
    return out;
}

const QString CompactFormat = u"hh:nn:ss"_s;

// A compact time with the default marks, as ToString("hh:nn:ss", True) writes it, into scratch.
QStringView compactTime(QString& scratch, const clsTimeValue& time) {
    scratch.truncate(0);
    time.appendTo(scratch, CompactFormat, true, u"－", u"↓", u"×");
    return scratch;
}

// A rank as ToString(False, True) gives it ("3)", nothing for no rank) before a compact time.
QString rankAndTime(QString& scratch, const clsLegRankValue& rank, const clsTimeValue& time) {
    QString text;
    text.reserve(RankWidth + TimeWidth);
    char16_t digits[16];
    qsizetype n = 0;
    if (const qint32 v = rank.Value(); v > 0) {
        for (qint32 rest = v; rest > 0; rest /= 10)
            ++n;
        qint32 rest = v;
        for (qsizetype i = n - 1; i >= 0; --i, rest /= 10)
            digits[i] = static_cast<char16_t>(u'0' + rest % 10);
        digits[n++] = u')';
    } else if (v < 0) {
        const QString negative = rank.ToString(false, true).toString();
        appendRight(text, negative, RankWidth);
        appendRight(text, compactTime(scratch, time), TimeWidth);
        return text;
    }
    appendRight(text, QStringView(digits, n), RankWidth);
    appendRight(text, compactTime(scratch, time), TimeWidth);
    return text;
}

struct Section {
    int first, last;
    qint32 data, title;
};

void colourRank(clsGridObject& grid, int row, int col, qint32 rank) {
    static constexpr std::array<qint32, 3> kinds{QV_COLOR_RANK1, QV_COLOR_RANK2, QV_COLOR_RANK3};
    if (rank < 1 || rank > 3)
        return;
    grid.SelectCell(row, col);
    grid.setCellBackColor(grid.Color(kinds[static_cast<size_t>(rank - 1)]));
}

void drawTitles(clsGridObject& grid, int legs) {
    const int L = legs, controls = legs - 1;
    const auto text = [&](int row, const QString& t) { grid.setTextMatrix(row, 0, t); };
    grid.setColAlignment(0, QV_ALIGN_CENTER);
    text(0, u"氏名"_s);
    text(1, u"所属"_s);
    text(2, u"記録"_s);
    text(3, u"順位"_s);
    text(4, u"ラップタイム"_s);
    text(L + 5, u"積算タイム"_s);
    text(2 * L + 6, u"解析結果(%)"_s);
    text(2 * L + 7, u"巡行速度"_s);
    text(2 * L + 8, u"ミス率"_s);
    text(2 * L + 9, u"相対値(%)"_s);
    text(3 * L + 10, u"合計"_s);
    text(3 * L + 11, u"ミスタイム"_s);
    text(4 * L + 12, u"合計"_s);
    text(4 * L + 13, u"ミス抜き"_s);
    text(4 * L + 14, u"タイム"_s);
    for (int i = 1; i <= L; ++i) {
        const QString leg = basCsvPrepare::LegLabel(controls, true, i);
        text(i + 4, leg);
        text(L + i + 5, basCsvPrepare::LegLabel(controls, false, i));
        text(2 * L + i + 9, leg);
        text(3 * L + i + 11, leg);
    }
}

void drawRunner(clsGridObject& grid, const clsAnalyzedRunnerData& r, int col, int legs, bool mix) {
    const int L = legs;
    const auto text = [&](int row, const QString& t) { grid.setTextMatrix(row, col, t); };
    const clsLapData& lap = *r.OtherData();
    QString scratch;
    scratch.reserve(16);
    // A miss time with its marks, trimmed and right-aligned.
    const auto missText = [&](const clsMissTimeValue& miss) {
        scratch.truncate(0);
        miss.appendTo(scratch, CompactFormat, true, u"－", u"↓");
        return right(QStringView(scratch).trimmed(), TimeWidth);
    };
    text(0, basText::removeSpaces(r.RunnerName()));
    text(1, basText::removeSpaces(r.ClubName()));
    text(2, r.Result());
    text(3, right(r.Rank().trimmed(), RankWidth) + (mix ? lap.ClassName() : lap.RankFix()));
    for (int i = 1; i <= L; ++i) {
        // The record's own leg value, read without growing the record.
        const clsLegRankValue lapRank = r.LapRank(i);
        text(i + 4, rankAndTime(scratch, lapRank, clsTimeValue(lap.LapValue(i))));
        colourRank(grid, i + 4, col, lapRank.Value());
        const clsLegRankValue splitRank = r.ModifiedSplitRank(i);
        text(L + i + 5, rankAndTime(scratch, splitRank, r.SplitTime(i)));
        colourRank(grid, L + i + 5, col, splitRank.Value());
        text(2 * L + i + 9, r.LapRelative(i).ToString(u"#0"_s));
        text(3 * L + i + 11, missText(r.MissTime(i)));
    }
    text(2 * L + 7, r.CruiseSpeed().ToString(u"#0.0"_s));
    text(2 * L + 8, r.MissRate().ToString(u"#0.0"_s));
    text(3 * L + 10, r.TotalTimeRelative().ToString(u"#0"_s));
    text(4 * L + 12, missText(r.MissTimeTotal()));
    text(4 * L + 14,
         right(r.TotalTimeWithoutMiss().ToString(u"hh:nn:ss"_s, true, u"－"_s, u"↓"_s, u"×"_s).trimmed(),
               TimeWidth));
}

} // namespace

void draw(const clsAnalyzer& analyzer, clsGridObject& grid) {
    const int controls = analyzer.ControlCount();
    if (controls < 0 || controls >= clsAnalyzedRunnerData::TableSize - 1)
        throw ProjectError(ProjectError::OutOfRange,
                           u"The analysis grid holds 0 to %1 controls; the data set has %2"_s
                               .arg(clsAnalyzedRunnerData::TableSize - 2)
                               .arg(controls));
    const int L = controls + 1;
    const int N = analyzer.Count();

    grid.setVisible(false);
    grid.Clear();
    if (N == 0)
        return;
    grid.setRows(rowCount(L));
    grid.setCols(N + 1);
    grid.setColWidth(0, TitleWidth);
    for (int k = 1; k <= N; ++k)
        grid.setColWidth(k, RunnerWidth);

    const Section sections[] = {
        {0, 1, QV_COLOR_NAME, QV_COLOR_NAME_TITLE},
        {2, 3, QV_COLOR_RESULT, QV_COLOR_RESULT_TITLE},
        {4, L + 4, QV_COLOR_LAP, QV_COLOR_LAP_TITLE},
        {L + 5, 2 * L + 5, QV_COLOR_SPLIT, QV_COLOR_SPLIT_TITLE},
        {2 * L + 6, 2 * L + 8, QV_COLOR_CRUISE_MISSRATE, QV_COLOR_CRUISE_MISSRATE_TITLE},
        {2 * L + 9, 3 * L + 9, QV_COLOR_RELATIVE, QV_COLOR_RELATIVE_TITLE},
        {3 * L + 10, 3 * L + 10, QV_COLOR_RELATIVETOTAL, QV_COLOR_RELATIVETOTAL_TITLE},
        {3 * L + 11, 4 * L + 11, QV_COLOR_MISS, QV_COLOR_MISS_TITLE},
        {4 * L + 12, 4 * L + 12, QV_COLOR_MISSTOTAL, QV_COLOR_MISSTOTAL_TITLE},
        {4 * L + 13, 4 * L + 14, QV_COLOR_NOMISS, QV_COLOR_NOMISS_TITLE},
    };
    for (const Section& s : sections) {
        grid.SelectCell(s.first, 0, s.last, 0);
        grid.setCellBackColor(grid.Color(s.title));
        grid.SelectCell(s.first, 1, s.last, N);
        grid.setCellBackColor(grid.Color(s.data));
        grid.setCellAlignment(s.data == QV_COLOR_NAME ? QV_ALIGN_LEFT : QV_ALIGN_RIGHT);
    }

    drawTitles(grid, L);
    const bool mix = analyzer.DataSetIsMix();
    for (int k = 1; k <= N; ++k)
        if (const auto runner = analyzer.Item(k))
            drawRunner(grid, *runner, k, L, mix);

    grid.SelectCell(5, 1);
    grid.setVisible(true);
}

} // namespace basAnalysisGrid
