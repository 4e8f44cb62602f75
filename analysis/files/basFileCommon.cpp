#include "basFileCommon.h"

#include "basLapText.h"
#include "basRuntime.h"
#include "basText.h"
#include "clsClassData.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basFileCommon {

QString readText(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw LoadError(f.errorString());
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw LoadError(f.errorString());
    QString text;
    if (bytes.size() >= 2 && quint8(bytes[0]) == 0xFF && quint8(bytes[1]) == 0xFE) {
        const qsizetype units = (bytes.size() - 2) / 2;
        text.resize(units);
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(quint16(quint8(bytes[2 + 2 * i]) | (quint8(bytes[3 + 2 * i]) << 8)));
    } else {
        text = basText::fromWindows31J(bytes);
    }
    text.replace(u"\r\r\n"_s, u"\r\n"_s);
    return text;
}

QStringList readLines(const QString& fileName, const QString& fileData, bool* missing) {
    if (missing)
        *missing = false;
    QString text;
    if (!fileData.isEmpty()) {
        text = fileData;
    } else {
        if (!QFileInfo::exists(fileName)) {
            if (missing)
                *missing = true;
            return {};
        }
        text = readText(fileName);
    }
    QStringList lines = text.split(u"\r\n"_s);
    if (lines.size() == 1) {
        // Line ends of other systems: the loaders read what detection accepted.
        if (text.contains(u'\r'))
            lines = text.split(u'\r');
        else if (text.contains(u'\n'))
            lines = text.split(u'\n');
    }
    return lines;
}

std::vector<std::shared_ptr<clsLapData>> runnersInResultOrder(const clsClassData& classData) {
    struct Item {
        double key;
        int position;
        std::shared_ptr<clsLapData> lap;
    };
    std::vector<Item> timed;
    std::vector<std::shared_ptr<clsLapData>> rest;
    for (int i = 1; i <= classData.LapCount(); ++i) {
        std::shared_ptr<clsLapData> lap = classData.LapData(i);
        if (!lap)
            continue;
        if (lap->Result().isEmpty())
            rest.push_back(lap);
        else
            timed.push_back({basLapText::ResultKey(lap->Result()), i, lap});
    }
    std::sort(timed.begin(), timed.end(), [](const Item& a, const Item& b) {
        return a.key != b.key ? a.key < b.key : a.position > b.position;
    });
    std::vector<std::shared_ptr<clsLapData>> out;
    out.reserve(timed.size() + rest.size());
    for (Item& it : timed)
        out.push_back(std::move(it.lap));
    for (auto& lap : rest)
        out.push_back(std::move(lap));
    return out;
}

int percent(qint64 done, qint64 total) {
    if (total <= 0)
        return 100;
    return int(basRuntime::roundHalfEven(double(done) / double(total) * 100.0));
}

} // namespace basFileCommon
