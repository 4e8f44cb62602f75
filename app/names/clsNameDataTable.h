#pragma once

#include "KeyedList.h"
#include "Result.h"
#include "clsNameData.h"

#include <QString>

#include <vector>

// Names by E-card number, from the Name.csv of the data folder and the one of the application
// folder. Look-ups use the combined table, in which the data folder's records win on loading.
// Failures (a bad header, a file error) come back as results for the caller to show.
class clsNameDataTable {
public:
    using Table = KeyedList<clsNameDataPtr>;

    // The application folder is the folder of the program file (empty: the folder of the
    // running executable).
    explicit clsNameDataTable(const QString& applicationFolder = QString());

    const Table& NameDataTable() const { return m_all; }
    const Table& DataFolderNameDataTable() const { return m_dataFolder; }
    const Table& ApplicationFolderNameDataTable() const { return m_applicationFolder; }
    // Append the record to that folder's Name.csv, then enter it; a failure when the file could
    // not be written, and then the tables are unchanged. A record without a number is refused
    // without a text.
    Result AddToDataFolder(const clsNameDataPtr& NewNameData);
    Result AddToApplicationFolder(const clsNameDataPtr& NewNameData);
    clsNameDataPtr NameData(qint32 EcardNo) const;
    // The failures met, one per Name.csv that could not be loaded (the application folder's
    // first); the other file is loaded all the same.
    std::vector<Result> OpenFolder(const QString& DataFolder);
    void Clear();

    QString DataFolder() const { return m_folder; }
    QString ApplicationFolder() const { return m_applicationFolderPath; }
    void setApplicationFolder(const QString& folder) { m_applicationFolderPath = folder; }

    // Loads one Name.csv given as bytes into the table of its folder and the combined table.
    // A failure with the header message when the header is not valid.
    Result loadBytes(const QByteArray& bytes, bool applicationFolder);

    static constexpr const char16_t* FileName = u"Name.csv";
    static constexpr const char16_t* HeaderLine = u"Ｅカード番号,名前,所属";
    static QString headerMessage();
    // The header rule: at least three fields, each compared after widening.
    static bool isValidHeader(const QString& line);
    // One record line; no record (null) when its number is 0.
    static clsNameDataPtr parseLine(const QString& line);
    static QString recordLine(const clsNameData& data);

private:
    Result loadFile(const QString& path, bool applicationFolder);
    Result loadLines(const QStringList& lines, bool applicationFolder);
    Result append(const QString& folder, const clsNameDataPtr& data, bool applicationFolder);
    void enter(const clsNameDataPtr& data, bool applicationFolder);

    QString m_applicationFolderPath;
    Table m_applicationFolder;
    Table m_dataFolder;
    Table m_all;
    QString m_folder;
};
