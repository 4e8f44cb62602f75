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

void clsEcardTagStock::Add2(std::shared_ptr<clsEcardTagData>& TagData, bool& HasRead,
                            std::shared_ptr<TagList>& TagListOfNumber) {
    HasRead = false;
    if (!TagData) {
        TagListOfNumber.reset();
        return;
    }
    const QString stockKey = TagData->StockKey();
    if (auto stored = m_tagTable.Item(stockKey)) {
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
    const QString stockKey = TagData->StockKey();
    if (auto stored = m_tagTable.Item(stockKey)) {
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
