#include "clsTextControl.h"

#include "ProjectError.h"
#include "basAutomation.h"
#include "basCsvPrepare.h"
#include "basDate.h"
#include "basText.h"
#include "clsAnalyzedRunnerData.h"
#include "clsAnalyzer.h"
#include "clsEventData.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString CrLf = QStringLiteral("\r\n");
constexpr int CellWidth = 6;
constexpr int BlockColumns = 12;

// Appends the text fitted as fitToWidth does, without building the fitted text first: the padding
// and the text go in as one piece (the mail text writes some 400,000 cells).
void appendFitted(QString& out, QStringView text, int width, basText::Align align) {
    const QStringView t = text.trimmed();
    const int w = basText::byteWidth(t);
    if (w > width) {
        out += basText::leftBytes(t, width);
        return;
    }
    const qsizetype pad = width - w;
    std::array<char16_t, 32> cell;
    if (pad + t.size() > static_cast<qsizetype>(cell.size())) {
        out += basText::fitToWidth(t, width, align);
        return;
    }
    auto end = cell.begin();
    if (align == basText::Align::Right)
        end = std::fill_n(end, pad, u' ');
    end = std::copy(t.utf16(), t.utf16() + t.size(), end);
    if (align == basText::Align::Left)
        end = std::fill_n(end, pad, u' ');
    out.append(QStringView(cell.data(), end - cell.begin()));
}

QString fitRight(QStringView text, int width) {
    return basText::fitToWidth(text, width, basText::Align::Right);
}
QString fitLeft(QStringView text, int width) {
    return basText::fitToWidth(text, width, basText::Align::Left);
}

[[noreturn]] void raiseNothing() {
    throw ProjectError(ProjectError::InvalidCall, u"Object variable not set"_s);
}

// By-name reading of the CSV exports' argument.
QVariant get(const QVariant& object, QStringView name, const QVariantList& arguments = {}) {
    return basAutomation::Get(object, name, arguments);
}
QString getText(const QVariant& object, QStringView name, const QVariantList& arguments = {}) {
    return basAutomation::DefaultValue(get(object, name, arguments)).toString();
}

// Whole minutes (hours counted in) and two-digit seconds, or below a minute the seconds alone,
// two digits wide when twoDigitSeconds is set.
QString minutesSeconds(double days, bool twoDigitSeconds) {
    const qint64 seconds = basDate::toSeconds(days < 0 ? -days : days) % basDate::SecondsPerDay;
    if (seconds < 60)
        return twoDigitSeconds ? u"%1"_s.arg(seconds, 2, 10, QLatin1Char('0')) : QString::number(seconds);
    return QString::number(seconds / 60) + u"%1"_s.arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// One table of the mail text: rows are legs, columns runners (and Ave3), written in blocks of at
// most 12 columns that each start again from the row labels.
class MailTable {
public:
    MailTable(QString& out, std::vector<QString> labels) : m_out(out), m_labels(std::move(labels)) {
        m_rows.resize(m_labels.size());
        open();
    }
    size_t rowCount() const { return m_labels.size(); }
    QString& row(size_t r) { return m_rows[r]; }
    // Ends the column just added; last tells that no column follows.
    void endColumn(bool last) {
        if (++m_columns < BlockColumns && !last)
            return;
        for (QString& r : m_rows) {
            m_out += r;
            m_out += CrLf;
        }
        m_out += CrLf;
        if (!last)
            open();
    }

private:
    void open() {
        // A block row keeps its buffer for the next block.
        for (size_t r = 0; r < m_rows.size(); ++r) {
            m_rows[r].truncate(0);
            m_rows[r].reserve(2 + BlockColumns * CellWidth);
            m_rows[r] += m_labels[r];
        }
        m_columns = 0;
    }

    QString& m_out;
    std::vector<QString> m_labels;
    std::vector<QString> m_rows;
    int m_columns = 0;
};

// Row labels: the header row, legs 1 to n (the last " F"), and the total row when asked.
std::vector<QString> legLabels(int legs, bool total) {
    std::vector<QString> labels{u"  "_s};
    for (int i = 1; i < legs; ++i)
        labels.push_back(fitRight(QString::number(i), 2));
    labels.push_back(u" F"_s);
    if (total)
        labels.push_back(u"TT"_s);
    return labels;
}

enum class Table { Lap, Split, Relative, Cruise, MissRate, Miss };

struct TableLayout {
    Table table;
    QStringView heading;
    bool blankAfterHeading;
    bool perLeg;
    bool total;
    bool ave3;
};

constexpr std::array<TableLayout, 6> MailTables{{
    {Table::Lap, u"■ ラップタイム (mmmss)", true, true, true, true},
    {Table::Split, u"■積算タイム (mmmss)", true, true, false, true},
    {Table::Relative, u"■相対値 (%)", true, true, true, false},
    {Table::Cruise, u"■巡航速度 (%)", false, false, false, false},
    {Table::MissRate, u"■ミス率 (%)", false, false, false, false},
    {Table::Miss, u"■ミスタイム (mmmss)", false, true, true, false},
}};

// Writes the text of a runner's cell in row r (1-based after the header) of a table into cell.
void mailCell(QString& cell, Table table, const clsAnalyzedRunnerData& runner, int r, int legs) {
    static const QString plane = u"plane"_s;
    constexpr QStringView noData = u"－", skip = u"↓", disq = u"×";
    cell.truncate(0);
    const bool totalRow = r == legs + 1;
    switch (table) {
    case Table::Lap:
        if (totalRow) {
            const QString result = runner.Result();
            const auto time = basDate::recognize(result);
            cell += time ? minutesSeconds(*time, false) : result;
        } else {
            // The record's own leg value, read without growing the record.
            clsTimeValue(runner.OtherData()->LapValue(r)).appendTo(cell, plane, false, noData, skip, disq);
        }
        return;
    case Table::Split:
        runner.SplitTime(r).appendTo(cell, plane, false, noData, skip, disq);
        return;
    case Table::Relative:
        (totalRow ? runner.TotalTimeRelative() : runner.LapRelative(r)).appendTo(cell, u"#0", noData, skip);
        return;
    case Table::Cruise:
        runner.CruiseSpeed().appendTo(cell, u"#0", noData, skip);
        return;
    case Table::MissRate:
        runner.MissRate().appendTo(cell, u"#0.0", noData, skip);
        return;
    case Table::Miss:
        (totalRow ? runner.MissTimeTotal() : runner.MissTime(r)).appendTo(cell, plane, false, noData, skip);
        return;
    }
}

// The Ave3 column of the lap-time and split-time tables, header cell first.
std::vector<QString> ave3Column(Table table, const clsAnalyzedGeneralData& general, int legs) {
    std::vector<QString> cells{u"  Ave3"_s};
    double sum = 0;
    for (int i = 1; i <= legs; ++i) {
        const double average = general.UpperLapAverage(i).toDouble();
        sum += average;
        cells.push_back(fitRight(
            table == Table::Lap ? minutesSeconds(average, true) : minutesSeconds(sum, false), CellWidth));
    }
    if (table == Table::Lap)
        cells.push_back(fitRight(minutesSeconds(general.UpperLapTotal(), true), CellWidth));
    return cells;
}

} // namespace

namespace {

// The members the CSV exports read, each bound by name once per export: an export reads
// thousands of runners and legs.
struct CsvMembers {
    basAutomation::Member item{u"Item"_s}, result{u"Result"_s}, otherData{u"OtherData"_s},
        className{u"ClassName"_s}, runnerName{u"RunnerName"_s}, clubName{u"ClubName"_s}, rank{u"Rank"_s},
        startTime{u"StartTime"_s}, toString{u"ToString"_s}, splitTime{u"ModifiedSplitTime"_s},
        lapTime{u"ModifiedLapTime"_s};
};

QString text(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QString>())
        return *static_cast<const QString*>(value.constData());
    return basAutomation::isObject(value) ? basAutomation::DefaultValue(value).toString() : value.toString();
}

// The controls and the finish; no runner's tables reach beyond TableSize legs, and a stated
// count past that would only spin through empty columns.
int checkedLegs(int controls) {
    if (controls >= clsAnalyzedRunnerData::TableSize)
        throw ProjectError(ProjectError::OutOfRange, u"Subscript out of range"_s);
    return controls + 1;
}

// Appends text(value) without a copy of a text value.
void appendText(QString& out, const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QString>())
        basText::appendShort(out, *static_cast<const QString*>(value.constData()));
    else
        out += text(value);
}

} // namespace

clsTextControl::clsTextControl(clsQuorvelin2* root) : m_root(root) {}

QString clsTextControl::OutputCsvVennelMacro(const QVariant& wAnalyzer) const {
    const int controls = get(wAnalyzer, u"ControlCount").toInt();
    const int legs = checkedLegs(controls);
    QString out = u"クラス,氏名,所属,順位,記録,スタート時刻"_s;
    for (int i = 1; i <= legs; ++i)
        out += u',' + basCsvPrepare::LegLabel(controls, false, i);
    out += CrLf;
    const int count = get(wAnalyzer, u"Count").toInt();
    out.reserve(out.size() + static_cast<qsizetype>(count > 0 ? count : 0) *
                                 (64 + 10 * static_cast<qsizetype>(legs > 0 ? legs : 0)));
    const CsvMembers m;
    const basAutomation::ObjectRef analyzer = basAutomation::resolve(wAnalyzer);
    // One argument list for every call: a list per cell would be an allocation each.
    QVariantList index{0}, leg{0};
    for (int k = 1; k <= count; ++k) {
        index[0] = k;
        const QVariant itemValue = m.item.Get(analyzer, index);
        const basAutomation::ObjectRef item = basAutomation::resolve(itemValue);
        const QString result = text(m.result.Get(item));
        if (!basDate::isDate(result))
            continue;
        const QVariant other = m.otherData.Get(item);
        out += text(m.className.Get(other));
        out += u',';
        out += text(m.runnerName.Get(item));
        out += u',';
        out += text(m.clubName.Get(item));
        out += u',';
        out += text(m.rank.Get(item));
        out += u',';
        out += result;
        out += u',';
        appendText(out, m.toString.Get(m.startTime.Get(other)));
        for (int i = 1; i <= legs; ++i) {
            out += u',';
            leg[0] = i;
            appendText(out, m.toString.Get(m.splitTime.Get(item, leg)));
        }
        out += CrLf;
    }
    return out;
}

QString clsTextControl::OutputCsvSplitsBrowser(const QVariant& wAnalyzer) const {
    const int controls = get(wAnalyzer, u"ControlCount").toInt();
    const int legs = checkedLegs(controls);
    QString out = getText(wAnalyzer, u"DataSetName") + u',' + QString::number(controls) + CrLf;
    const QVariantList startForm{u"h:nn:ss"_s, false, u"9:00:00"_s, u"9:00:00"_s, u"9:00:00"_s};
    const QVariantList legForm{u"hh:nn:ss"_s, true, u"0:00"_s, u"0:00"_s, u"0:00"_s};
    const int count = get(wAnalyzer, u"Count").toInt();
    out.reserve(out.size() + static_cast<qsizetype>(count > 0 ? count : 0) *
                                 (48 + 8 * static_cast<qsizetype>(legs > 0 ? legs : 0)));
    const CsvMembers m;
    const basAutomation::ObjectRef analyzer = basAutomation::resolve(wAnalyzer);
    // One argument list for every call: a list per cell would be an allocation each.
    QVariantList index{0}, leg{0};
    for (int k = 1; k <= count; ++k) {
        index[0] = k;
        const QVariant itemValue = m.item.Get(analyzer, index);
        const basAutomation::ObjectRef item = basAutomation::resolve(itemValue);
        if (!basDate::isDate(text(m.result.Get(item))))
            continue;
        // The viewer reads forename, surname, club and start time before the legs: the whole
        // name stands in the first field and the surname stays empty.
        out += text(m.runnerName.Get(item));
        out += u",,";
        out += text(m.clubName.Get(item));
        out += u',';
        appendText(out, m.toString.Get(m.startTime.Get(m.otherData.Get(item)), startForm));
        for (int i = 1; i <= legs; ++i) {
            out += u',';
            leg[0] = i;
            appendText(out, m.toString.Get(m.lapTime.Get(item, leg), legForm));
        }
        out += CrLf;
    }
    return out;
}

QString clsTextControl::OutputTextMail(const std::shared_ptr<clsAnalyzer>& wAnalyzer) const {
    if (!wAnalyzer)
        raiseNothing();
    const clsAnalyzer& analyzer = *wAnalyzer;
    const int controls = analyzer.ControlCount();
    if (controls > MailMaxControls)
        throw ProjectError(
            ProjectError::OutOfRange,
            u"The mail text holds at most %1 controls; the data set has %2"_s.arg(MailMaxControls)
                .arg(controls));
    const int legs = (controls < 0 ? 0 : controls) + 1;
    const int runners = analyzer.Count();
    std::vector<std::shared_ptr<clsAnalyzedRunnerData>> items;
    items.reserve(static_cast<size_t>(runners));
    for (int k = 1; k <= runners; ++k)
        items.push_back(analyzer.Item(k));
    const std::shared_ptr<clsAnalyzedGeneralData> general = analyzer.GeneralData();

    QString out;
    out.reserve(1024 + 6 * (legs + 2) * (runners + 1) * (CellWidth + 1));
    out += u"◎ "_s + analyzer.DataSetName() + u' ' + analyzer.ClassInfo() + CrLf;
    out += u"    - "_s + (m_root ? m_root->EventData()->ToString() : QString()) + CrLf;
    out += CrLf;

    for (const TableLayout& t : MailTables) {
        out += t.heading;
        out += CrLf;
        if (t.blankAfterHeading)
            out += CrLf;
        const int columns = runners + (t.ave3 ? 1 : 0);
        if (columns == 0)
            continue;
        MailTable table(out, t.perLeg ? legLabels(legs, t.total) : std::vector<QString>{u"  "_s, u"  "_s});
        const int rows = static_cast<int>(table.rowCount());
        QString cell;
        cell.reserve(16);
        for (int k = 0; k < runners; ++k) {
            const clsAnalyzedRunnerData& runner = *items[static_cast<size_t>(k)];
            appendFitted(table.row(0), runner.RunnerName(), CellWidth, basText::Align::Right);
            for (int r = 1; r < rows; ++r) {
                mailCell(cell, t.table, runner, r, legs);
                appendFitted(table.row(static_cast<size_t>(r)), cell, CellWidth, basText::Align::Right);
            }
            table.endColumn(k + 1 == columns);
        }
        if (t.ave3) {
            const std::vector<QString> cells = general ? ave3Column(t.table, *general, legs)
                                                       : std::vector<QString>(static_cast<size_t>(rows));
            for (int r = 0; r < rows; ++r)
                table.row(static_cast<size_t>(r)) += cells[static_cast<size_t>(r)];
            table.endColumn(true);
        }
    }

    out += u"Made with Quorvelin Ver."_s + (m_root ? m_root->Version(false) : QString()) + CrLf;
    out += u"解析データを寄せてくださった皆様に感謝します。"_s + CrLf;
    return out;
}

QString clsTextControl::OutputTextResult(const std::shared_ptr<clsResultsHolder>& wResults) const {
    if (!wResults)
        raiseNothing();
    const clsResultsHolder& results = *wResults;
    QString out = u"* "_s + results.DataSetName() + u' ' + results.ClassInfo() + CrLf;
    const bool mix = results.DataSetIsMix();
    const bool published = results.RankIsAvalilable();
    const int count = results.Count();
    for (int i = 1; i <= count; ++i) {
        const std::shared_ptr<clsLapData> lap = results.Item(i);
        if (!lap)
            continue;
        if (mix) {
            out += fitRight(results.RankInDataSet(i), CellWidth);
            out += u" ("_s;
            out += fitLeft(lap->ClassName(), 8);
            out += u")  "_s;
        } else {
            out += fitRight(published ? lap->Rank() : results.RankInDataSet(i), CellWidth);
        }
        out += u"  "_s;
        out += fitLeft(lap->RunnerName(), 14);
        out += fitRight(lap->Result(), 10);
        out += u"  "_s;
        out += lap->ClubName();
        out += CrLf;
    }
    out += CrLf;
    return out;
}
