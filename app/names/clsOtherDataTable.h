#pragma once

#include "KeyedList.h"
#include "Result.h"
#include "clsOtherResultData.h"
#include "clsSpecificData.h"

#include <QString>

#include <vector>

// Other.txt: per-read data and typed results, loaded when a folder opens and appended to as
// the dialogs add records. Nothing is ever removed from the file. Failures come back as
// results for the caller to show.
class clsOtherDataTable {
public:
    using SpecificTable = KeyedList<clsSpecificDataPtr>;
    using OtherResultList = std::vector<clsOtherResultDataPtr>;

    void Clear();
    // A failure when Other.txt exists but cannot be read (nothing of it is then loaded).
    Result OpenFolder(const QString& DataFolder);
    clsSpecificDataPtr SpecificData(const QString& EcardUniqueKey) const;
    const SpecificTable& SpecificDataTable() const { return m_specific; }
    const OtherResultList& OtherResultDataList() const { return m_otherResults; }
    // Append the line to Other.txt, then enter the record; a failure when the file could not be
    // written, and then memory is unchanged. A record without its read's key is refused without
    // a text.
    Result AddSpecificData(const clsSpecificDataPtr& NewSpecificData);
    Result AddOtherResultData(const clsOtherResultDataPtr& NewOtherResultData);

    QString DataFolder() const { return m_folder; }

    // Reads the lines of an Other.txt given as bytes into the tables.
    void loadBytes(const QByteArray& bytes);
    // One line by the reading rules; false when its head is neither of the two.
    bool readLine(const QString& line);

    static constexpr const char16_t* FileName = u"Other.txt";
    static QString specificLine(const clsSpecificData& data);
    static QString otherResultLine(const clsOtherResultData& data);

private:
    void enterSpecific(const clsSpecificDataPtr& data);
    Result append(const QString& line);

    QString m_folder;
    SpecificTable m_specific;
    OtherResultList m_otherResults;
};
