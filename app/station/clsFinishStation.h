#pragma once

// The finish station without its windows: the five core objects, the opening of a data
// folder, the reading of a card, the edits of names, class lists and typed results, the
// peer's name registrations, the CSV export and the hand-over to the analysis library. The
// main window and the console mode both drive it; every edit goes through one method here,
// which stores it and tells the result manager.

#include "basPenacheckRule.h"
#include "basTextFile.h"
#include "clsNameData.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class UserPrompt;
class clsCourseDataTable;
class clsEcardTagData;
class clsEcardTagStock;
class clsNameDataTable;
class clsOtherDataTable;
class clsQuorvelin2;
class clsResultData;
class clsResultManager;

class clsFinishStation final : public QObject {
    Q_OBJECT
public:
    static inline const QString ApplicationNameTarget = QStringLiteral("ApplicationNameData");
    static inline const QString FolderNameTarget = QStringLiteral("FolderNameData");

    // applicationFolder holds the application's Name.csv (empty: the program's folder).
    explicit clsFinishStation(UserPrompt* prompt, const QString& applicationFolder = QString(),
                              QObject* parent = nullptr);
    ~clsFinishStation() override;
    Q_DISABLE_COPY_MOVE(clsFinishStation)

    const std::shared_ptr<clsEcardTagStock>& TagStock() const { return m_tagStock; }
    const std::shared_ptr<clsNameDataTable>& NameDataTable() const { return m_names; }
    const std::shared_ptr<clsCourseDataTable>& CourseDataTable() const { return m_courses; }
    const std::shared_ptr<clsOtherDataTable>& OtherDataTable() const { return m_other; }
    const std::shared_ptr<clsResultManager>& ResultManager() const { return m_results; }

    // Empties every table and loads the folder: names, card reads, classes, other data; then
    // rebuilds the results with the pattern.
    void openFolder(const QString& folder, qint32 PenacheckRule);
    QString folder() const { return m_folder; }
    qint32 PenacheckRule() const { return m_rule; }
    void setPenacheckRule(qint32 rule) { m_rule = rule; }
    // The full rebuild of the results.
    void RefreshData();

    clsNameDataPtr NameDataOfEcardTag(const clsEcardTagData& TagData) const;

    // What the main window shows for one card read.
    struct ReadOutcome {
        std::shared_ptr<clsEcardTagData> tag; // the stored record when the content was read before
        bool hasRead = false;
        bool stored = true; // false when Ecard.txt could not be written (the message was shown)
        QString cardLabel;
        QString nameLabel;
        QString resultsLabel;
    };
    // Stores the read (appending it to Ecard.txt when new), makes or finds its results.
    ReadOutcome readTag(std::shared_ptr<clsEcardTagData> tag);
    const std::shared_ptr<clsEcardTagData>& lastTag() const { return m_lastTag; }
    // The results-label text of a list of results.
    static QString resultsLabel(const std::vector<std::shared_ptr<clsResultData>>& results, bool hasRead);

    // Where the name dialog keeps a name: in either Name.csv, or for one read only.
    enum class NameTarget { DataFolder, ApplicationFolder, ThisRead };
    // Enters the name record in the data folder's or the application folder's Name.csv and
    // gives it to every result of its card number. False, with nothing changed, for a record
    // without a number or when the file could not be written (the message was shown).
    bool registerName(const clsNameDataPtr& name, bool applicationFolder);
    // The name dialog: a name record of the read's card number with these texts, registered in
    // a Name.csv, or kept as the read's own name (its specific data in Other.txt).
    bool changeName(const clsEcardTagData& tag, NameTarget target, const QString& RunnerName,
                    const QString& ClubName);
    // The class dialog: the read's own class list (none: the pattern decides) and its
    // non-competitive mark, stored in Other.txt; then the full rebuild.
    bool specifyClasses(const QString& EcardTagUniqueKey, const std::optional<QStringList>& CourseList,
                        bool IsNotCompete);
    // The other-result dialog's texts: a result typed as a time is stored as "hh:nn:ss".
    struct TypedResult {
        QString CourseName;
        QString RunnerName;
        QString ClubName;
        QString Result;
        bool IsNotCompete = false;
    };
    // Stores the typed result in Other.txt; then the full rebuild.
    bool addOtherResult(const TypedResult& typed);

    // A peer's request: registers a name for "ApplicationNameData" and "FolderNameData" and
    // answers "OK"; any other target, or a failed registration, gets an empty answer.
    QString answerRequest(const QString& TargetValue, const QString& OptionValue);

    // The CSV per card read and its writing.
    QStringList csvLines() const;
    basTextFile::Result writeCsv(const QString& path) const;

    // A new root object of the analysis library filled with the event, the classes, the
    // courses and one lap record per result; nothing when the library cannot make one.
    std::shared_ptr<clsQuorvelin2> Quorvelin2Object(const QString& eventName, double eventDate,
                                                    const QString& application) const;

signals:
    // Names changed through a peer's request: the views should be redrawn.
    void namesChanged();

    // For the live results: a card's handling starts and ends (readTag), a read entered the
    // store or was recognised, and the results changed (a read, a rebuild, a name).
    void cardHandling(bool started);
    void tagRead(const std::shared_ptr<clsEcardTagData>& tag);
    void resultsChanged();

private:
    UserPrompt* m_prompt;
    std::shared_ptr<clsEcardTagStock> m_tagStock;
    std::shared_ptr<clsNameDataTable> m_names;
    std::shared_ptr<clsCourseDataTable> m_courses;
    std::shared_ptr<clsOtherDataTable> m_other;
    std::shared_ptr<clsResultManager> m_results;
    QString m_folder;
    qint32 m_rule = basPenacheckRule::BestFitting;
    std::shared_ptr<clsEcardTagData> m_lastTag;
};
