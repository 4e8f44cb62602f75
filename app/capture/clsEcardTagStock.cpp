#include "clsEcardTagStock.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

clsEcardTagStock::clsEcardTagStock() = default;

void clsEcardTagStock::Clear() {
    m_tagTable.Clear();
    m_byNumber.Clear();
}

std::shared_ptr<clsEcardTagStock::TagList> clsEcardTagStock::TagListOfNumber(qint32 EcardNo) const {
    return m_byNumber.Item(QString::number(EcardNo));
}

void clsEcardTagStock::insert(const std::shared_ptr<clsEcardTagData>& tag, const QString& stockKey,
                              std::shared_ptr<TagList>& listOfNumber) {
    const QString numberKey = QString::number(tag->EcardNo());
    listOfNumber = m_byNumber.Item(numberKey);
    if (!listOfNumber) {
        listOfNumber = std::make_shared<TagList>();
        m_byNumber.Add(listOfNumber, numberKey);
    }
    listOfNumber->Add(tag);
    m_tagTable.Add(tag, stockKey);
}

namespace {

// The fields the content key is made of: the card number and the records up to the first
// empty one after the start record.
bool sameContent(const clsEcardTagData& a, const clsEcardTagData& b) {
    if (a.EcardNo() != b.EcardNo())
        return false;
    for (int i = 1; i <= clsEcardTagData::RecordCount; ++i) {
        if (a.ControlNum(i) != b.ControlNum(i) || (a.ControlNum(i) == 0 && i > 1))
            return a.ControlNum(i) == b.ControlNum(i);
        if (a.ControlSeconds(i) != b.ControlSeconds(i))
            return false;
    }
    return true;
}

} // namespace

// The content key runs numbers and times together without separators, so two different
// contents can share it (card 1 punching 20 at 0:00:00, card 12 punching only its start).
// Such a content is stored under the key with "+" appended rather than taken for the other.
std::shared_ptr<clsEcardTagData> clsEcardTagStock::findSame(const clsEcardTagData& tag, QString& key) const {
    key = tag.StockKey();
    for (;;) {
        auto stored = m_tagTable.Item(key);
        if (!stored || sameContent(*stored, tag))
            return stored;
        key += u'+';
    }
}

void clsEcardTagStock::Add2(std::shared_ptr<clsEcardTagData>& TagData, bool& HasRead,
                            std::shared_ptr<TagList>& TagListOfNumber) {
    HasRead = false;
    if (!TagData) {
        TagListOfNumber.reset();
        return;
    }
    QString stockKey;
    if (auto stored = findSame(*TagData, stockKey)) {
        HasRead = true;
        TagData = stored;
        TagListOfNumber = m_byNumber.Item(QString::number(stored->EcardNo()));
        return;
    }
    insert(TagData, stockKey, TagListOfNumber);
}

void clsEcardTagStock::Add(std::shared_ptr<clsEcardTagData> TagData) {
    bool hasRead = false;
    std::shared_ptr<TagList> list;
    Add2(TagData, hasRead, list);
}

QString clsEcardTagStock::FilePath() const {
    // The folder may end in a backslash or "/"; one separator of this platform joins the two.
    if (m_dataFolder.isEmpty())
        return FileName;
    QString base = m_dataFolder;
    if (base.endsWith(u'\\') || base.endsWith(u'/'))
        base.chop(1);
    return base + u'/' + FileName;
}

int clsEcardTagStock::LoadLines(const QStringList& lines) {
    int skipped = 0;
    for (const QString& line : lines) {
        auto tag = std::make_shared<clsEcardTagData>();
        tag->setRegnlyFormat(line);
        if (tag->IsValid())
            Add(tag);
        else
            ++skipped;
    }
    return skipped;
}

basTextFile::Result clsEcardTagStock::OpenFolder(const QString& DataFolder) {
    m_dataFolder = DataFolder;
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        return {};
    QStringList lines;
    const basTextFile::Result read = basTextFile::readLines(path, &lines);
    if (!read)
        return read;
    LoadLines(lines);
    return {};
}

QString clsEcardTagStock::FileLine(const clsEcardTagData& TagData) {
    return TagData.ExtendRegnlyFormat() + u";"_s;
}

basTextFile::Result clsEcardTagStock::AddAndAppend(std::shared_ptr<clsEcardTagData>& TagData, bool& HasRead,
                                                   std::shared_ptr<TagList>& TagListOfNumber) {
    HasRead = false;
    TagListOfNumber.reset();
    if (!TagData)
        return {};
    QString stockKey;
    if (auto stored = findSame(*TagData, stockKey)) {
        HasRead = true;
        TagData = stored;
        TagListOfNumber = m_byNumber.Item(QString::number(stored->EcardNo()));
        return {};
    }
    const basTextFile::Result written = basTextFile::appendLine(FilePath(), FileLine(*TagData));
    if (!written)
        return written;
    insert(TagData, stockKey, TagListOfNumber);
    return {};
}
