#pragma once

#include "KeyedList.h"
#include "clsOtherResultData.h"
#include "clsSpecificData.h"

#include <QString>

#include <vector>

class UserPrompt;

// Other.txt: per-read data and typed results, loaded when a folder opens and appended to as
// the dialogs add records. Nothing is ever removed from the file.
class clsOtherDataTable {
public:
    using SpecificTable = KeyedList<clsSpecificDataPtr>;
    using OtherResultList = std::vector<clsOtherResultDataPtr>;

    explicit clsOtherDataTable(UserPrompt* prompt = nullptr);

    void Clear();
    void OpenFolder(const QString& DataFolder);
    clsSpecificDataPtr SpecificData(const QString& EcardUniqueKey) const;
    const SpecificTable& SpecificDataTable() const { return m_specific; }
    const OtherResultList& OtherResultDataList() const { return m_otherResults; }
    // Append the line to Other.txt, then enter the record; false (after the message) when the
    // file could not be written, and then memory is unchanged.
    bool AddSpecificData(const clsSpecificDataPtr& NewSpecificData);
    bool AddOtherResultData(const clsOtherResultDataPtr& NewOtherResultData);

    QString DataFolder() const { return m_folder; }
    void setPrompt(UserPrompt* prompt) { m_prompt = prompt; }

    // Reads the lines of an Other.txt given as bytes into the tables.
    void loadBytes(const QByteArray& bytes);
    // One line by the reading rules; false when its head is neither of the two.
    bool readLine(const QString& line);

    static constexpr const char16_t* FileName = u"Other.txt";
    static QString specificLine(const clsSpecificData& data);
    static QString otherResultLine(const clsOtherResultData& data);

private:
    void enterSpecific(const clsSpecificDataPtr& data);
    bool append(const QString& line);

    UserPrompt* m_prompt = nullptr;
    QString m_folder;
    SpecificTable m_specific;
    OtherResultList m_otherResults;
};
