#include "frmCourseSetting.h"

#include "UserPrompt.h"
#include "basPenacheckRule.h"
#include "basText.h"
#include "basWaitCursor.h"
#include "clsCourseDataTable.h"
#include "ctlDataFolder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Arrow = u"→"_s;
const QString Title = u"クラス設定"_s;

QTableWidget* makeGrid(const QStringList& headers, QWidget* parent) {
    auto* grid = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    grid->setHorizontalHeaderLabels(headers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QTableWidgetItem* cell(const QString& text) {
    return new QTableWidgetItem(text);
}

int selectedRow(const QTableWidget* grid) {
    const auto rows = grid->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

std::vector<frmCourseSetting::Pattern> frmCourseSetting::patterns() {
    std::vector<Pattern> list;
    for (const qint32 rule : basPenacheckRule::Values())
        list.push_back({rule, basPenacheckRule::Text(rule)});
    return list;
}

frmCourseSetting::frmCourseSetting(std::vector<CardRow> cards, clsCourseDataTable* CourseDataTable,
                                   ctlDataFolder* DataFolder, UserPrompt* prompt,
                                   std::function<void()> rebuild, QWidget* parent)
    : QDialog(parent), m_cardRows(std::move(cards)), m_table(CourseDataTable), m_folder(DataFolder),
      m_prompt(prompt), m_rebuild(std::move(rebuild)) {
    setWindowTitle(Title);

    m_cards = makeGrid({u"番号"_s, u"氏名"_s, u"コード"_s}, this);
    m_cards->setRowCount(static_cast<int>(m_cardRows.size()));
    for (int r = 0; r < static_cast<int>(m_cardRows.size()); ++r) {
        const CardRow& c = m_cardRows[static_cast<size_t>(r)];
        auto* number = cell(QString::number(c.EcardNo));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_cards->setItem(r, 0, number);
        m_cards->setItem(r, 1, cell(c.RunnerName));
        m_cards->setItem(r, 2, cell(c.Codes.join(Arrow)));
    }
    m_cards->resizeColumnsToContents();

    for (const auto& entry : m_table->CourseList()) {
        const auto& course = entry.value;
        QStringList codes;
        for (int p = 0; p <= course->ControlCount() + 1; ++p)
            codes << QString::number(course->UnitCode(p, 1));
        m_courseRows.push_back({course->CourseName(), codes.join(Arrow)});
    }
    m_courseRows.push_back({});
    m_courses = makeGrid({u"クラス"_s, u"コード"_s}, this);
    showCourses(-1);

    m_rule = new QComboBox(this);
    int chosen = 0;
    const auto list = patterns();
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        m_rule->addItem(list[static_cast<size_t>(i)].text, list[static_cast<size_t>(i)].value);
        if (list[static_cast<size_t>(i)].value == m_folder->PenacheckRule())
            chosen = i;
    }
    m_rule->setCurrentIndex(chosen);

    auto* add = new QPushButton(u"↓追加"_s, this);
    auto* edit = new QPushButton(u"修正"_s, this);
    auto* remove = new QPushButton(u"削除"_s, this);
    auto* ok = new QPushButton(u"OK"_s, this);
    auto* cancel = new QPushButton(u"キャンセル"_s, this);
    connect(add, &QPushButton::clicked, this, &frmCourseSetting::cmdAdd_Click);
    connect(edit, &QPushButton::clicked, this, &frmCourseSetting::cmdEdit_Click);
    connect(remove, &QPushButton::clicked, this, &frmCourseSetting::cmdDelete_Click);
    connect(ok, &QPushButton::clicked, this, &frmCourseSetting::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_courses, &QTableWidget::cellDoubleClicked, this, [this] { cmdEdit_Click(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Ｅカードデータ"_s, this));
    layout->addWidget(m_cards, 1);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(add);
    addRow->addStretch();
    layout->addLayout(addRow);
    layout->addWidget(new QLabel(u"クラス"_s, this));
    layout->addWidget(m_courses, 1);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(edit);
    editRow->addWidget(remove);
    editRow->addStretch();
    layout->addLayout(editRow);
    layout->addWidget(new QLabel(u"クラス判定方法"_s, this));
    layout->addWidget(m_rule);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(760, 620);
}

void frmCourseSetting::showCourses(int select) {
    m_courses->setRowCount(static_cast<int>(m_courseRows.size()));
    for (int r = 0; r < static_cast<int>(m_courseRows.size()); ++r) {
        m_courses->setItem(r, 0, cell(m_courseRows[static_cast<size_t>(r)].name));
        m_courses->setItem(r, 1, cell(m_courseRows[static_cast<size_t>(r)].codes));
    }
    m_courses->resizeColumnToContents(0);
    if (select >= 0) {
        m_courses->selectRow(select);
        m_courses->scrollToItem(m_courses->item(select, 0));
    }
}

QStringList frmCourseSetting::rowTexts() const {
    QStringList rows;
    for (const CourseRow& r : m_courseRows)
        rows << r.name + u' ' + r.codes;
    return rows;
}

int frmCourseSetting::findRow(const QString& name, int except) const {
    for (int r = 0; r < static_cast<int>(m_courseRows.size()); ++r)
        if (r != except && r != lastRow() &&
            m_courseRows[static_cast<size_t>(r)].name.compare(name, Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

void frmCourseSetting::cmdAdd_Click() {
    const int card = selectedRow(m_cards);
    if (card < 0)
        return;
    const auto answer = m_prompt->input(u"クラス名を入力してください"_s, Title, QString());
    if (!answer)
        return;
    const QString name = answer->trimmed().toUpper();
    if (name.isEmpty())
        return;
    QStringList codes = m_cardRows[static_cast<size_t>(card)].Codes;
    // The last record is the reading unit's own, not a control of the course.
    if (!codes.isEmpty())
        codes.removeLast();
    int row = findRow(name, -1);
    if (row < 0) {
        row = lastRow();
        m_courseRows.insert(m_courseRows.begin() + row, CourseRow{name, QString()});
    }
    m_courseRows[static_cast<size_t>(row)].codes = codes.join(Arrow);
    showCourses(row);
}

std::optional<QString> frmCourseSetting::askNewName(const QString& prompt) {
    const auto answer = m_prompt->input(prompt, Title, QString());
    if (!answer)
        return std::nullopt;
    const QString name = answer->trimmed().toUpper();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

void frmCourseSetting::cmdEdit_Click() {
    const int row = selectedRow(m_courses);
    if (row < 0)
        return;
    const bool emptyRow = row == lastRow();
    const CourseRow& current = m_courseRows[static_cast<size_t>(row)];
    QString preset;
    if (!emptyRow)
        preset = current.name + u',' + QString(current.codes).replace(Arrow, u","_s);
    const auto answer = m_prompt->input(u"【書式】\n  クラス名, スタートユニット, 第１コントロール, ..."_s,
                                        u"修正"_s, preset);
    if (!answer || answer->isEmpty())
        return;
    const QString text = basText::removeSpaces(*answer);
    if (!text.contains(u','))
        return;
    QStringList pieces = text.split(u',');
    QString name = pieces.takeFirst();
    // A name taken by another row, or none at all, would lose a row when the table is saved.
    while (name.isEmpty() || findRow(name, row) >= 0) {
        const auto again = askNewName(u"クラス名を入力しなおしてください"_s);
        if (!again)
            return;
        name = *again;
    }
    m_courseRows[static_cast<size_t>(row)] = CourseRow{name, pieces.join(Arrow)};
    if (emptyRow)
        m_courseRows.push_back({});
    showCourses(row);
}

void frmCourseSetting::cmdDelete_Click() {
    const int row = selectedRow(m_courses);
    if (row < 0 || row == lastRow())
        return;
    m_courseRows.erase(m_courseRows.begin() + row);
    showCourses(std::min(row, lastRow()));
}

void frmCourseSetting::cmdOK_Click() {
    QStringList before;
    for (const auto& entry : m_table->CourseList()) {
        QStringList codes{entry.value->CourseName()};
        for (int p = 0; p <= entry.value->ControlCount() + 1; ++p)
            codes << QString::number(entry.value->UnitCode(p, 1));
        before << codes.join(u',');
    }
    m_table->Clear();
    for (const CourseRow& r : m_courseRows)
        if (!r.codes.isEmpty())
            m_table->AddByString(r.name + u',' + QString(r.codes).replace(Arrow, u","_s));
    const basTextFile::Result saved = m_table->Save();
    if (!saved) {
        // Course.txt was left as it was: so is the table in memory, and the window stays open.
        m_table->Clear();
        for (const QString& line : before)
            m_table->AddByString(line);
        m_prompt->message(saved.error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, Title);
        return;
    }
    m_folder->setPenacheckRule(m_rule->currentData().toInt());
    basWaitCursor::run([this] {
        if (m_rebuild)
            m_rebuild();
    });
    accept();
}
