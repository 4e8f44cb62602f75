#pragma once

// The class-setting window: the read cards and the class definitions side by side, classes
// made from a card or typed, and the class-assignment pattern. OK rewrites Course.txt and
// rebuilds the results.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QTableWidget;
class UserPrompt;
class clsCourseDataTable;
class ctlDataFolder;

class frmCourseSetting final : public QDialog {
    Q_OBJECT
public:
    // One read card of the store as the card grid shows it.
    struct CardRow {
        qint32 EcardNo = 0;
        QString RunnerName; // blanks removed, empty when no name is known
        QStringList Codes;  // "0", then the codes from record 2 up to the first empty one
    };
    struct Pattern {
        qint32 value;
        QString text;
    };
    // The patterns in the order of the list.
    static std::vector<Pattern> patterns();

    frmCourseSetting(std::vector<CardRow> cards, clsCourseDataTable* CourseDataTable,
                     ctlDataFolder* DataFolder, UserPrompt* prompt, std::function<void()> rebuild,
                     QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmCourseSetting)

    QTableWidget* grdCard() const { return m_cards; }
    QTableWidget* grdCourse() const { return m_courses; }
    QComboBox* cboRule() const { return m_rule; }

    // The buttons.
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdOK_Click();

    // The class rows as name and codes joined with "→" (the empty last row included).
    QStringList rowTexts() const;

private:
    int findRow(const QString& name, int except) const;
    int lastRow() const { return m_courseRows.empty() ? -1 : static_cast<int>(m_courseRows.size()) - 1; }
    void showCourses(int select);
    std::optional<QString> askNewName(const QString& prompt);

    struct CourseRow {
        QString name;
        QString codes; // joined with "→"
    };
    std::vector<CardRow> m_cardRows;
    std::vector<CourseRow> m_courseRows;
    clsCourseDataTable* m_table;
    ctlDataFolder* m_folder;
    UserPrompt* m_prompt;
    std::function<void()> m_rebuild;
    QTableWidget* m_cards;
    QTableWidget* m_courses;
    QComboBox* m_rule;
};
