#pragma once

// Every card read of the open data folder: one entry per distinct card content (StockKey), in
// the order first read, and the reads of each card number in the order read. Ecard.txt in the
// data folder is the permanent log, one line per distinct read, only ever appended to.

#include "KeyedList.h"
#include "basTextFile.h"
#include "clsEcardTagData.h"

#include <QString>
#include <QStringList>

#include <memory>

class clsEcardTagStock {
public:
    using TagList = KeyedList<std::shared_ptr<clsEcardTagData>>;
    static inline const QString FileName = QStringLiteral("Ecard.txt");

    clsEcardTagStock();

    // New empty collections (the data folder stays).
    void Clear();
    // Adds a read or recognises its content. HasRead: the same content was stored before, and
    // TagData has been replaced by the stored record. TagListOfNumber: the reads of the card's
    // number (created when the number is new).
    void Add2(std::shared_ptr<clsEcardTagData>& TagData, bool& HasRead,
              std::shared_ptr<TagList>& TagListOfNumber);
    void Add(std::shared_ptr<clsEcardTagData> TagData);
    // Every distinct content in the order first read, keyed by StockKey (a different content
    // whose StockKey happens to equal a stored one's is keyed with "+" appended).
    const TagList& TagTable() const { return m_tagTable; }
    // The reads of a card number, oldest first; null when the number was never read.
    std::shared_ptr<TagList> TagListOfNumber(qint32 EcardNo) const;

    // Remembers the folder and loads its Ecard.txt (after Clear). Lines that do not parse are
    // skipped, repeated contents kept once; a missing file loads nothing and is no error.
    basTextFile::Result OpenFolder(const QString& DataFolder);
    // Loads lines in the form of Ecard.txt; returns the number of lines skipped as unreadable.
    int LoadLines(const QStringList& lines);
    // A read from the reading unit: as Add2, but a new content is first appended to Ecard.txt
    // (written, flushed and synced) and enters the store only when that succeeded. On a file
    // error the store is unchanged and the result carries the system's description.
    basTextFile::Result AddAndAppend(std::shared_ptr<clsEcardTagData>& TagData, bool& HasRead,
                                     std::shared_ptr<TagList>& TagListOfNumber);
    // The line a read is stored as in Ecard.txt.
    static QString FileLine(const clsEcardTagData& TagData);
    QString DataFolder() const { return m_dataFolder; }
    QString FilePath() const;

private:
    std::shared_ptr<clsEcardTagData> findSame(const clsEcardTagData& tag, QString& key) const;
    void insert(const std::shared_ptr<clsEcardTagData>& tag, const QString& stockKey,
                std::shared_ptr<TagList>& listOfNumber);

    TagList m_tagTable;
    KeyedList<std::shared_ptr<TagList>> m_byNumber;
    QString m_dataFolder;
};
