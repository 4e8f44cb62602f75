#include "clsEventGenerator.h"

#include "basDate.h"
#include "basText.h"
#include "clsEcard250FrameReader.h"
#include "clsEcardTagStock.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const char16_t* const kFamilyNames[] = {
    u"佐藤", u"鈴木", u"高橋",   u"田中", u"伊藤", u"渡辺", u"山本", u"中村", u"小林", u"加藤",
    u"吉田", u"山田", u"佐々木", u"山口", u"松本", u"井上", u"木村", u"林",   u"斎藤", u"清水",
    u"山崎", u"森",   u"池田",   u"橋本", u"阿部", u"石川", u"前田", u"藤田", u"小川", u"岡田",
};
const char16_t* const kGivenNames[] = {
    u"太郎", u"花子",   u"健太", u"由美", u"翔", u"美咲",   u"大輔", u"愛",     u"誠",
    u"陽子", u"拓也",   u"直子", u"浩",   u"恵", u"隆",     u"裕子", u"蓮",     u"結衣",
    u"悠真", u"さくら", u"一郎", u"葵",   u"陸", u"ひなた", u"和也", u"真由美",
};
const char16_t* const kClubs[] = {
    u"東京ＯＬＫ", u"京都ＯＬＣ",       u"大阪ＯＬＣ",     u"名古屋ＯＬＣ", u"横浜ＯＬクラブ",
    u"静岡ＯＬＣ", u"北海道大学ＯＬＣ", u"早稲田大学ＯＣ", u"練馬ＯＬＣ",   u"ときわ走林会",
    u"みちの会",   u"入間市ＯＬＣ",     u"ＯＬＣルーパー", u"渋谷で走る会", u"",
};
const char* const kAges[] = {"12", "15", "18", "20", "21", "35", "40",
                             "45", "50", "55", "60", "65", "70", "75"};
const char* const kLevels[] = {"A", "AS", "B", "C", "E"};
const char* const kTypedResults[] = {
    "1:23:45",     "01:02:03", "12345", "5",  "23:45", "1:75", "123:45",
    "1:23:45 (2)", "DNF",      "dnf",   "P3", "",      "DNS",  "13:00:00",
};

constexpr int kStartCode = 0;
constexpr int kFinishCode = 100;
constexpr int kUnitCode = 250;

struct Punch {
    int code;
    int seconds;
};

bool hasByteFF(int n) {
    return (n & 0xFF) == 0xFF || ((n >> 8) & 0xFF) == 0xFF || ((n >> 16) & 0xFF) == 0xFF;
}

// Text bytes of the frame: the system code page, cut or padded with blanks to the width.
QByteArray textBytes(const QString& text, int width) {
    QByteArray b = basText::toWindows31J(basText::padToWidth(text, width, basText::Align::Left));
    b = b.left(width);
    if (b.size() < width)
        b.append(width - b.size(), ' ');
    return b;
}

} // namespace

clsEventGenerator::clsEventGenerator(Options options)
    : m_options(std::move(options)), m_state(m_options.seed) {}

clsEventGenerator::clsEventGenerator(quint64 seed)
    : clsEventGenerator([seed] {
          Options o;
          o.seed = seed;
          return o;
      }()) {}

// splitmix64: small, fast and the same on every platform and standard library.
quint64 clsEventGenerator::next() {
    quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int clsEventGenerator::pick(int lo, int hi) {
    if (hi <= lo)
        return lo;
    return lo + static_cast<int>(next() % static_cast<quint64>(hi - lo + 1));
}

bool clsEventGenerator::chance(double p) {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0) < p;
}

// Control counts spread around the average within the bounds (sum of uniforms, so a bell).
int clsEventGenerator::controlCount() {
    const int lo = m_options.minControls, hi = m_options.maxControls, avg = m_options.averageControls;
    const int spread = std::max(1, std::min(avg - lo, hi - avg));
    const int n =
        avg + (pick(-spread, spread) + pick(-spread, spread)) / 2 + (pick(0, 9) == 0 ? pick(-lo, hi) / 4 : 0);
    return std::clamp(n, lo, hi);
}

QString clsEventGenerator::className(int index) const {
    const int kinds = 2 * static_cast<int>(std::size(kAges)) * static_cast<int>(std::size(kLevels));
    const int base = index % kinds;
    const int round = index / kinds;
    const int sexes = 2;
    QString name = QString::fromLatin1(base % sexes ? "W" : "M");
    name += QString::fromLatin1(kAges[(base / sexes) % std::size(kAges)]);
    name += QString::fromLatin1(kLevels[(base / sexes / std::size(kAges)) % std::size(kLevels)]);
    if (round > 0)
        name += u'-' + QString::number(round + 1);
    return name;
}

QString clsEventGenerator::runnerName() {
    return QString::fromUtf16(kFamilyNames[pick(0, std::size(kFamilyNames) - 1)]) + u"　"_s +
           QString::fromUtf16(kGivenNames[pick(0, std::size(kGivenNames) - 1)]);
}

QString clsEventGenerator::clubName() {
    return QString::fromUtf16(kClubs[pick(0, std::size(kClubs) - 1)]);
}

QByteArray clsEventGenerator::encodeFrame(const clsEcardTagData& tag) {
    QByteArray f(clsEcardTagData::FrameSize, '\0');
    const auto set = [&](int number, int value) { f[number - 1] = static_cast<char>(value & 0xFF); };
    set(1, 0xFF);
    set(2, 0xFF);
    set(3, tag.EcardNo());
    set(4, tag.EcardNo() >> 8);
    set(5, tag.EcardNo() >> 16);
    set(7, tag.ProductionWeek());
    set(8, ((tag.ProductionYear() % 100) + 100) % 100);
    for (int i = 1; i <= clsEcardTagData::RecordCount; ++i) {
        const int code = tag.ControlNum(i);
        const int seconds = std::clamp(tag.ControlSeconds(i), 0, 65535);
        set(3 * i + 8, code > 250 || code < 0 ? 0xFF : code);
        set(3 * i + 9, seconds);
        set(3 * i + 10, seconds >> 8);
    }
    f.replace(160, 32, textBytes(tag.EmitSystem(), 32));
    for (int j = 1; j <= clsEcardTagData::DisplayCount; ++j)
        f.replace(8 * j + 184, 8, textBytes(tag.Display(j), 8));
    clsEcard250FrameReader::seal(f);
    return f;
}

clsEventGenerator::Event clsEventGenerator::generate() {
    const Options& o = m_options;
    Event ev;
    ev.eventName = o.eventName;
    ev.eventDate = basDate::dateSerial(o.year, o.month, o.day);
    ev.penacheckRule = o.penacheckRule;

    // Control codes of the event, never the start, finish or reading-unit codes.
    std::vector<int> pool;
    for (int c = 31; c <= 249; ++c)
        if (c != kFinishCode)
            pool.push_back(c);
    for (size_t i = pool.size() - 1; i > 0; --i)
        std::swap(pool[i], pool[static_cast<size_t>(pick(0, static_cast<int>(i)))]);
    pool.resize(static_cast<size_t>(std::clamp(o.controlPool, 5, static_cast<int>(pool.size()))));

    // Classes: runs through the shared pool, neighbouring classes sharing stretches of course.
    std::vector<std::vector<int>> courses;
    for (int k = 0; k < std::max(1, o.classCount); ++k) {
        const int n = controlCount();
        std::vector<int> controls;
        int at = pick(0, static_cast<int>(pool.size()) - 1);
        while (static_cast<int>(controls.size()) < n) {
            at = (at + pick(1, 7)) % static_cast<int>(pool.size());
            const int code = pool[static_cast<size_t>(at)];
            if (!controls.empty() && controls.back() == code)
                continue;
            controls.push_back(code);
        }
        QString line = className(k) + u',' + QString::number(kStartCode);
        for (int c : controls)
            line += u',' + QString::number(c);
        line += u',' + QString::number(kFinishCode);
        ev.courseLines.append(line);
        courses.push_back(std::move(controls));
    }

    // Runners and their reads.
    QSet<int> numbers;
    struct Pending {
        double readTime;
        int order;
        Reading reading;
    };
    std::vector<Pending> pending;
    int distinct = 0;
    const double eventDay = ev.eventDate;
    while (distinct < o.readCount) {
        int ecardNo = 0;
        do {
            ecardNo = pick(10000, 9999999);
        } while (numbers.contains(ecardNo) || hasByteFF(ecardNo));
        numbers.insert(ecardNo);

        const int course = pick(0, static_cast<int>(courses.size()) - 1);
        const std::vector<int>& controls = courses[static_cast<size_t>(course)];
        std::vector<Punch> punches;
        if (!chance(o.noStartRate))
            punches.push_back({kStartCode, 0});
        int t = 0;
        const int pace = pick(40, 400); // seconds per leg on average
        const bool retires = chance(o.retireRate);
        const int retireAfter = retires ? pick(0, static_cast<int>(controls.size()) - 1) : -1;
        for (size_t i = 0; i < controls.size(); ++i) {
            if (static_cast<int>(i) == retireAfter)
                break;
            t += std::max(15, pace / 2 + pick(0, pace));
            if (chance(o.extraRate))
                punches.push_back(
                    {pool[static_cast<size_t>(pick(0, static_cast<int>(pool.size()) - 1))], t - 10});
            if (chance(o.missRate))
                continue;
            if (chance(o.wrongRate)) {
                punches.push_back({pool[static_cast<size_t>(pick(0, static_cast<int>(pool.size()) - 1))], t});
                continue;
            }
            if (i + 1 < controls.size() && chance(o.swapRate)) {
                const int leg = std::max(15, pace / 2 + pick(0, pace));
                punches.push_back({controls[i + 1], t});
                punches.push_back({controls[i], t + leg});
                t += leg;
                ++i;
                continue;
            }
            punches.push_back({controls[i], t});
        }
        if (!retires && !chance(o.noFinishRate)) {
            t += pick(10, 90);
            punches.push_back({kFinishCode, t});
        }
        t += pick(5, 180);
        if (punches.size() > static_cast<size_t>(clsEcardTagData::RecordCount - 1))
            punches.resize(static_cast<size_t>(clsEcardTagData::RecordCount - 1));
        punches.push_back({kUnitCode, t});

        const int startOfDay = 10 * 3600 + pick(0, 3 * 3600);
        const int week = pick(1, 52);
        const auto frameOf = [&](const std::vector<Punch>& ps) {
            clsEcardTagData card;
            card.setEcardNo(ecardNo);
            card.setProductionWeek(week);
            card.setProductionYear(2000 + ecardNo % 20);
            for (size_t i = 0; i < ps.size(); ++i)
                card.setPunch(static_cast<int>(i) + 1, ps[i].code, ps[i].seconds);
            card.setEmitSystem(u"EMIT ECARD "_s + QString::number(ecardNo));
            card.setDisplay(1, QString::number(ecardNo).rightJustified(8));
            card.setDisplay(2, u"ﾀｲﾑ"_s);
            card.setDisplay(3,
                            basDate::format(basDate::fromSeconds(ps.back().seconds), basDate::Form::HhNnSs));
            return encodeFrame(card);
        };
        const auto readAt = [&](const QByteArray& frame, int readSeconds) {
            auto tag = std::make_shared<clsEcardTagData>();
            tag->setReadData(eventDay + basDate::fromSeconds(readSeconds), frame);
            return tag;
        };
        const QByteArray frame = frameOf(punches);
        const int readSeconds = startOfDay + t + pick(1, 20);
        const int order = static_cast<int>(pending.size());
        pending.push_back({static_cast<double>(readSeconds), order, {readAt(frame, readSeconds), false}});
        ++distinct;
        if (chance(o.repeatRate)) {
            const int again = readSeconds + pick(20, 1800);
            pending.push_back({static_cast<double>(again), order + 1, {readAt(frame, again), true}});
        }
        if (distinct < o.readCount &&
            punches.size() + 2 <= static_cast<size_t>(clsEcardTagData::RecordCount) && chance(o.rereadRate)) {
            std::vector<Punch> more = punches;
            more.push_back({pool[static_cast<size_t>(pick(0, static_cast<int>(pool.size()) - 1))], t + 40});
            more.push_back({kUnitCode, t + 60});
            const int later = readSeconds + 60 + pick(0, 10);
            pending.push_back({static_cast<double>(later), order + 2, {readAt(frameOf(more), later), false}});
            ++distinct;
        }

        if (!chance(o.unnamedRate)) {
            ev.nameLines.append(QString::number(ecardNo) + u',' + runnerName() + u',' + clubName());
            if (chance(0.01)) // corrected later in the file; the later line wins
                ev.nameLines.append(QString::number(ecardNo) + u',' + runnerName() + u',' + clubName());
        }
    }
    std::stable_sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) {
        return a.readTime != b.readTime ? a.readTime < b.readTime : a.order < b.order;
    });
    for (Pending& p : pending)
        ev.readings.push_back(std::move(p.reading));
    ev.nameLines.prepend(u"Ｅカード番号,名前,所属"_s);

    // Per-read data for some reads, then typed results.
    const auto stored = ev.storedReads();
    for (const auto& tag : stored) {
        if (!chance(o.specificRate))
            continue;
        QString line = u"SpecificData: UniqueKey="_s + tag->UniqueKey() + u';';
        switch (pick(0, 3)) {
        case 0:
            line += u"NameData="_s + runnerName() + u',' + clubName() + u';';
            break;
        case 1: {
            line += u"CourseList="_s + className(pick(0, o.classCount - 1));
            if (chance(0.5))
                line += u',' + className(pick(0, o.classCount - 1));
            line += u';';
            break;
        }
        case 2:
            line += u"CourseList=;"_s;
            break;
        default:
            line += u"NotCompete=True;"_s;
            break;
        }
        ev.otherLines.append(line);
    }
    for (int k = 0; k < o.typedResults; ++k) {
        const QString course = chance(0.05) ? u"削除済みクラス"_s : className(pick(0, o.classCount - 1));
        QString line = u"OtherResultData: Result="_s +
                       QString::fromLatin1(kTypedResults[pick(0, std::size(kTypedResults) - 1)]) +
                       u";CourseName="_s + course + u";NameData="_s + runnerName() + u',' + clubName() + u';';
        if (chance(0.1))
            line += u"NotCompete=True;"_s;
        ev.otherLines.append(line);
    }
    return ev;
}

std::vector<std::shared_ptr<clsEcardTagData>> clsEventGenerator::Event::storedReads() const {
    std::vector<std::shared_ptr<clsEcardTagData>> out;
    out.reserve(readings.size());
    for (const Reading& r : readings)
        if (!r.repeat)
            out.push_back(r.tag);
    return out;
}

QStringList clsEventGenerator::Event::ecardLines() const {
    QStringList lines;
    clsEcardTagStock stock;
    for (const Reading& r : readings) {
        auto tag = r.tag;
        bool hasRead = false;
        std::shared_ptr<clsEcardTagStock::TagList> list;
        stock.Add2(tag, hasRead, list);
        if (!hasRead)
            lines.append(clsEcardTagStock::FileLine(*tag));
    }
    return lines;
}

QStringList clsEventGenerator::Event::iniLines() const {
    return {eventName, basDate::format(eventDate, basDate::Form::YyyyMmDd), QString::number(penacheckRule)};
}

basTextFile::Result clsEventGenerator::writeDataFolder(const Event& event, const QString& folder) {
    const QDir dir(folder);
    const std::pair<const char*, QStringList> files[] = {
        {"Name.csv", event.nameLines},       {"Ecard.txt", event.ecardLines()},
        {"Course.txt", event.courseLines},   {"Other.txt", event.otherLines},
        {"Brevanto2.ini", event.iniLines()},
    };
    for (const auto& [name, lines] : files) {
        const basTextFile::Result r = basTextFile::writeLines(dir.filePath(QString::fromLatin1(name)), lines);
        if (!r)
            return r;
    }
    return {};
}
