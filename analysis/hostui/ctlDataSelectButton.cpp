#include "ctlDataSelectButton.h"

#include "clsAnalyzer.h"
#include "clsResultsHolder.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString runnerText(const QStringList& fields) {
    QStringList shown;
    for (const QString& f : fields)
        if (!f.isEmpty())
            shown << f;
    return shown.join(u' ');
}

} // namespace

ctlDataSelectButton::ctlDataSelectButton(QWidget* parent) : QPushButton(parent) {
    setText(u"表示選手選択"_s);
    setEnabled(false);
    connect(this, &QPushButton::clicked, this, &ctlDataSelectButton::choose);
}

ctlDataSelectButton::~ctlDataSelectButton() = default;

void ctlDataSelectButton::setData(std::shared_ptr<clsAnalyzer> analyzer,
                                  std::shared_ptr<clsResultsHolder> results) {
    m_analyzer = std::move(analyzer);
    m_results = std::move(results);
    setEnabled(m_analyzer || m_results);
}

std::vector<ctlDataSelectButton::Runner> ctlDataSelectButton::runners() const {
    std::vector<Runner> list;
    QSet<qint32> seen;
    if (m_analyzer) {
        for (qint32 k = 1; k <= m_analyzer->FullSetCount(); ++k) {
            const auto r = m_analyzer->FullSetItem(k);
            if (!r || seen.contains(r->SerialNum()))
                continue;
            seen.insert(r->SerialNum());
            list.push_back({r->SerialNum(), {r->Rank(), r->RunnerName(), r->ClubName(), r->Result()}});
        }
    }
    if (m_results) {
        for (qint32 k = 1; k <= m_results->FullSetCount(); ++k) {
            const auto lap = m_results->FullSetItem(k);
            if (!lap || seen.contains(lap->SerialNum()))
                continue;
            seen.insert(lap->SerialNum());
            list.push_back(
                {lap->SerialNum(), {lap->Rank(), lap->RunnerName(), lap->ClubName(), lap->Result()}});
        }
    }
    return list;
}

QStringList ctlDataSelectButton::runnerNames() const {
    QStringList names;
    for (const Runner& r : runners())
        names << runnerText(r.fields);
    return names;
}

QList<qint32> ctlDataSelectButton::selectedRunners() const {
    QSet<qint32> shown;
    if (m_analyzer)
        for (qint32 k = 1; k <= m_analyzer->Count(); ++k)
            shown.insert(m_analyzer->Item(k)->SerialNum());
    if (m_results)
        for (qint32 k = 1; k <= m_results->Count(); ++k)
            shown.insert(m_results->Item(k)->SerialNum());
    QList<qint32> positions;
    const std::vector<Runner> list = runners();
    for (size_t i = 0; i < list.size(); ++i)
        if (shown.contains(list[i].serial))
            positions << static_cast<qint32>(i + 1);
    return positions;
}

void ctlDataSelectButton::selectRunners(const QList<qint32>& positions) {
    const std::vector<Runner> list = runners();
    std::vector<bool> chosen(list.size(), false);
    for (const qint32 position : positions)
        if (position >= 1 && position <= static_cast<qint32>(list.size()))
            chosen[static_cast<size_t>(position - 1)] = true;
    if (m_analyzer)
        m_analyzer->SelectNone();
    if (m_results)
        m_results->SelectNone();
    // Last first: both objects put a runner selected later before an equal result, so the
    // runners come back in the order of the full set.
    for (size_t i = list.size(); i-- > 0;) {
        if (!chosen[i])
            continue;
        if (m_analyzer)
            m_analyzer->SelectItem(list[i].serial);
        if (m_results)
            m_results->SelectItem(list[i].serial);
    }
    if (m_analyzer)
        m_analyzer->SelectSort();
    // The ranks of a results holder's selection are counted anew for it.
    if (m_results)
        m_results->CalcRank();
    emit SelectionChanged();
}

void ctlDataSelectButton::selectAllRunners() {
    if (m_analyzer)
        m_analyzer->SelectAll();
    if (m_results) {
        // The holder's SelectAll would turn equal results round against the analyzer's order;
        // selected last to first they keep the order of its full set.
        m_results->SelectNone();
        for (qint32 k = m_results->FullSetCount(); k >= 1; --k)
            if (const auto lap = m_results->FullSetItem(k))
                m_results->SelectItem(lap->SerialNum());
        m_results->CalcRank();
    }
    emit SelectionChanged();
}

void ctlDataSelectButton::selectNoRunners() {
    if (m_analyzer)
        m_analyzer->SelectNone();
    if (m_results)
        m_results->SelectNone();
    emit SelectionChanged();
}

void ctlDataSelectButton::choose() {
    if (!m_analyzer && !m_results)
        return;
    QDialog dialog(this);
    dialog.setWindowTitle(u"表示選手選択"_s);
    auto* list = new QTreeWidget(&dialog);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setHeaderLabels({u"順位"_s, u"氏名"_s, u"所属"_s, u"記録"_s});
    const QList<qint32> selected = selectedRunners();
    const std::vector<Runner> everyone = runners();
    for (size_t i = 0; i < everyone.size(); ++i) {
        auto* item = new QTreeWidgetItem(list, everyone[i].fields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        item->setCheckState(0, selected.contains(static_cast<qint32>(i + 1)) ? Qt::Checked : Qt::Unchecked);
    }
    for (int c = 0; c < list->columnCount(); ++c) {
        list->resizeColumnToContents(c);
        list->setColumnWidth(c, list->columnWidth(c) + 12);
    }
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    const auto checkAll = [list](Qt::CheckState state) {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            list->topLevelItem(i)->setCheckState(0, state);
    };
    auto* all = new QPushButton(u"全員"_s, &dialog);
    auto* none = new QPushButton(u"全解除"_s, &dialog);
    connect(all, &QPushButton::clicked, &dialog, [=] { checkAll(Qt::Checked); });
    connect(none, &QPushButton::clicked, &dialog, [=] { checkAll(Qt::Unchecked); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* choices = new QHBoxLayout;
    choices->addWidget(all);
    choices->addWidget(none);
    choices->addStretch();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(choices);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(480, 520);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<qint32> positions;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
            positions << i + 1;
    if (positions.size() == list->topLevelItemCount())
        selectAllRunners();
    else if (positions.isEmpty())
        selectNoRunners();
    else
        selectRunners(positions);
}
