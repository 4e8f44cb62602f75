#pragma once

#include "KeyedList.h"
#include "clsNameData.h"

#include <QString>

class UserPrompt;

// Names by E-card number, from the Name.csv of the data folder and the one of the application
// folder. Look-ups use the combined table, in which the data folder's records win on loading.
class clsNameDataTable {
public:
    using Table = KeyedList<clsNameDataPtr>;

    // The prompt shows the header message and file errors; the application folder is the
    // folder of the program file (empty: the folder of the running executable).
    explicit clsNameDataTable(UserPrompt* prompt = nullptr, const QString& applicationFolder = QString());

    const Table& NameDataTable() const { return m_all; }
    const Table& DataFolderNameDataTable() const { return m_dataFolder; }
    const Table& ApplicationFolderNameDataTable() const { return m_applicationFolder; }
    // Append the record to that folder's Name.csv, then enter it; false (after the message)
    // when the file could not be written, and then the tables are unchanged.
    bool AddToDataFolder(const clsNameDataPtr& NewNameData);
    bool AddToApplicationFolder(const clsNameDataPtr& NewNameData);
    clsNameDataPtr NameData(qint32 EcardNo) const;
    void OpenFolder(const QString& DataFolder);
    void Clear();

    QString DataFolder() const { return m_folder; }
    QString ApplicationFolder() const { return m_applicationFolderPath; }
    void setApplicationFolder(const QString& folder) { m_applicationFolderPath = folder; }
    void setPrompt(UserPrompt* prompt) { m_prompt = prompt; }

    // Loads one Name.csv given as bytes into the table of its folder and the combined table.
    // False when the header is not valid (the message has then been shown).
    bool loadBytes(const QByteArray& bytes, bool applicationFolder);

    static constexpr const char16_t* FileName = u"Name.csv";
    static constexpr const char16_t* HeaderLine = u"Ｅカード番号,名前,所属";
    static QString headerMessage();
    // The header rule: at least three fields, each compared after widening.
    static bool isValidHeader(const QString& line);
    // One record line; no record (null) when its number is 0.
    static clsNameDataPtr parseLine(const QString& line);
    static QString recordLine(const clsNameData& data);

private:
    void loadFile(const QString& path, bool applicationFolder);
    bool loadLines(const QStringList& lines, bool applicationFolder);
    bool append(const QString& folder, const clsNameDataPtr& data, bool applicationFolder);
    void enter(const clsNameDataPtr& data, bool applicationFolder);
    void showError(const QString& text);

    UserPrompt* m_prompt = nullptr;
    QString m_applicationFolderPath;
    Table m_applicationFolder;
    Table m_dataFolder;
    Table m_all;
    QString m_folder;
};
