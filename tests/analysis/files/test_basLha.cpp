#include "TestFolder.h"
#include "basLha.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray textSample(int lines) {
    QByteArray out;
    for (int i = 0; i < lines; ++i)
        out += "Runner " + QByteArray::number(i) + ",Club " + QByteArray::number(i % 7) +
               ",00:" + QByteArray::number(10 + i % 50) + ":" + QByteArray::number(10 + (i * 7) % 50) +
               "\r\n";
    return out;
}

QByteArray randomBytes(int n, quint32 seed) {
    QRandomGenerator gen(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (char& c : out)
        c = char(gen.bounded(256));
    return out;
}

QByteArray fewSymbols(int n, quint32 seed) {
    QRandomGenerator gen(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (char& c : out)
        c = "abcdefgh"[gen.bounded(8)];
    return out;
}

QByteArray allByteValues() {
    QByteArray out;
    for (int r = 0; r < 40; ++r)
        for (int i = 0; i < 256; ++i)
            out.append(char(i));
    return out;
}

// Random bytes followed by a copy of their first length bytes: the copy can only be found
// at exactly distance bytes back, and nothing nearer repeats.
QByteArray repeatAt(int distance, int length, quint32 seed) {
    const QByteArray block = randomBytes(distance, seed);
    return block + block.left(length);
}

struct Sample {
    const char* name;
    QByteArray data;
};

std::vector<Sample> samples() {
    return {
        {"empty.lap", QByteArray()},
        {"one.lap", QByteArray("a")},
        {"four.lap", QByteArray("aaaa")},
        {"pair.lap", QByteArray("ab").repeated(5000)},
        {"text.lxm", textSample(20000)},
        {"random.bin", randomBytes(70000, 7)},
        {"few.bin", fewSymbols(120000, 3)},
        {"bytes.bin", allByteValues()},
        // Repeats reachable by -lh5- (up to 8 KiB back), -lh6- (32 KiB) and -lh7- (64 KiB) only,
        // each one beyond the smaller windows and one at each window's far edge.
        {"edge5.bin", repeatAt(8192, 3000, 11)},
        {"far6.bin", repeatAt(20000, 20000, 12)},
        {"edge6.bin", repeatAt(32768, 3000, 13)},
        {"far7.bin", repeatAt(48000, 48000, 14)},
        {"edge7.bin", repeatAt(65536, 3000, 15)},
        // Long enough for several blocks made of one match code only.
        {"zeros.bin", QByteArray(5 << 20, '\0')},
    };
}

// Runs an outside extractor inside folder; false when it is missing or fails.
bool runTool(const QString& program, const QStringList& args, const QString& folder, QString* output) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return false;
    *output = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The method lhasa's verbose listing shows for the member called name, or "<unlisted>".
QString listedMethod(const QString& listing, const QString& name) {
    for (const QString& line : listing.split(u'\n')) {
        const QStringList items = line.simplified().split(u' ');
        if (items.isEmpty() || items.last() != name)
            continue;
        for (const QString& item : items)
            if (item.size() == 5 && item.startsWith(u"-l"_s) && item.endsWith(u'-'))
                return item;
    }
    return u"<unlisted>"_s;
}

// The member with another method name in its header (and the header CRC made right again),
// the packed bytes left as they are.
QByteArray relabelled(QByteArray member, const QByteArray& method) {
    const int headerSize = quint8(member[0]) | (quint8(member[1]) << 8);
    member.replace(2, 5, method);
    member[27] = member[28] = 0;
    const quint16 crc = basLha::crc16(member.left(headerSize));
    member[27] = char(crc & 0xFF);
    member[28] = char(crc >> 8);
    return member;
}

} // namespace

TEST(basLha, Crc16MatchesTheArchiverCheckValue) {
    // The CRC-16/ARC check value over "123456789".
    EXPECT_EQ(basLha::crc16("123456789"), 0xBB3D);
    EXPECT_EQ(basLha::crc16(QByteArray()), 0);
}

TEST(basLha, ArchivesWeWriteExtractToTheSameBytesEverywhere) {
    const auto all = samples();
    for (const QByteArray& method :
         {QByteArray("-lh5-"), QByteArray("-lh6-"), QByteArray("-lh7-"), QByteArray()}) {
        SCOPED_TRACE(method.isEmpty() ? "automatic method" : method.constData());
        TestFolder folder;
        QVector<basLha::Entry> entries;
        QByteArray archive;
        for (const Sample& s : all) {
            basLha::Entry e{QString::fromLatin1(s.name), s.data, 1700000000};
            entries.append(e);
            archive += basLha::encodeEntry(e, method);
        }
        archive.append(char(0));
        const QString path = folder.write(u"pack.lzh"_s, archive);

        // Our own reader.
        QVector<basLha::Entry> back;
        ASSERT_TRUE(basLha::readArchive(archive, &back).ok);
        ASSERT_EQ(back.size(), entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(back[i].name, entries[i].name);
            EXPECT_EQ(back[i].data, entries[i].data) << entries[i].name.toStdString();
            EXPECT_EQ(back[i].mtime, 1700000000);
        }

        struct Tool {
            QString program;
            QStringList args;
        };
        for (const Tool& tool : {Tool{u"lhasa"_s, {u"-xq"_s, path}}, Tool{u"bsdtar"_s, {u"-xf"_s, path}}}) {
            SCOPED_TRACE(tool.program.toStdString());
            const QString out = folder.file(tool.program);
            QDir().mkpath(out);
            QString log;
            ASSERT_TRUE(runTool(tool.program, tool.args, out, &log)) << log.toStdString();
            for (const Sample& s : all)
                EXPECT_TRUE(readFile(QDir(out).filePath(QString::fromLatin1(s.name))) == s.data) << s.name;
        }
        // The test mode of lhasa checks every member's CRC.
        QString log;
        EXPECT_TRUE(runTool(u"lhasa"_s, {u"-t"_s, path}, folder.path(), &log)) << log.toStdString();

        // Extraction by the library itself, from the file.
        const QString mine = folder.file(u"mine"_s);
        QDir().mkpath(mine);
        QStringList written;
        EXPECT_TRUE(basLha::extractAll(path, mine, &written).ok);
        EXPECT_EQ(written.size(), qsizetype(all.size()));
        for (const Sample& s : all)
            EXPECT_TRUE(readFile(QDir(mine).filePath(QString::fromLatin1(s.name))) == s.data) << s.name;

        // An outside lister sees the method that was asked for.
        if (!method.isEmpty()) {
            QString listing;
            ASSERT_TRUE(runTool(u"lhasa"_s, {u"v"_s, path}, folder.path(), &listing))
                << listing.toStdString();
            for (const Sample& s : all)
                EXPECT_EQ(listedMethod(listing, QString::fromLatin1(s.name)), QString::fromLatin1(method))
                    << s.name;
        }
    }
}

TEST(basLha, LargerWindowsReachFartherBack) {
    // Random bytes do not shrink; a copy of them shrinks to almost nothing when the window
    // reaches back to it. So the packed size shows which distances the match finder used.
    struct Case {
        int distance;
        QByteArray method;
        bool reaches;
    };
    const std::vector<Case> cases = {
        {8192, "-lh5-", true},  {8193, "-lh5-", false},  {20000, "-lh5-", false}, {20000, "-lh6-", true},
        {32768, "-lh6-", true}, {32769, "-lh6-", false}, {48000, "-lh6-", false}, {48000, "-lh7-", true},
        {65536, "-lh7-", true}, {65537, "-lh7-", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method.constData() + std::string(" at ") + std::to_string(c.distance));
        const QByteArray data = repeatAt(c.distance, 8000, quint32(c.distance));
        const QByteArray member = basLha::encodeEntry({u"x.bin"_s, data, 0}, c.method);
        EXPECT_EQ(member.mid(2, 5), c.method);
        const qsizetype packed = member.size() - (quint8(member[0]) | (quint8(member[1]) << 8));
        if (c.reaches)
            EXPECT_LT(packed, c.distance + 1000);
        else
            EXPECT_GT(packed, data.size() - 100);
        QVector<basLha::Entry> back;
        ASSERT_TRUE(basLha::readArchive(member + '\0', &back).ok);
        ASSERT_EQ(back.size(), 1);
        EXPECT_TRUE(back[0].data == data);
    }
    // The short form keeps packing with the 8 KiB window.
    const QByteArray data = repeatAt(20000, 8000, 3);
    EXPECT_GT(basLha::compressLh5(data).size(), data.size() - 100);
}

TEST(basLha, AStreamUnderAnotherMethodIsReportedAsDamaged) {
    // A larger window's stream uses distances and position codes the claimed method cannot
    // have; the other way round, the position tree is read with the wrong field width.
    struct Case {
        QByteArray packedAs;
        QByteArray labelled;
        int distance;
    };
    const std::vector<Case> cases = {
        {"-lh7-", "-lh5-", 48000}, {"-lh7-", "-lh6-", 48000}, {"-lh6-", "-lh5-", 20000},
        {"-lh5-", "-lh7-", 6000},  {"-lh5-", "-lh6-", 6000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packedAs.constData() + std::string(" labelled ") + c.labelled.constData());
        const QByteArray data = repeatAt(c.distance, c.distance, quint32(c.distance)) + textSample(500);
        const QByteArray member =
            relabelled(basLha::encodeEntry({u"x.bin"_s, data, 0}, c.packedAs), c.labelled);
        const QByteArray archive = member + '\0';
        ASSERT_EQ(archive.mid(2, 5), c.labelled);

        QVector<basLha::Entry> back;
        const basLha::Result r = basLha::readArchive(archive, &back);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
        for (const basLha::Entry& e : back)
            EXPECT_FALSE(e.data == data);

        TestFolder folder;
        const QString path = folder.write(u"bad.lzh"_s, archive);
        QDir().mkpath(folder.file(u"out"_s));
        EXPECT_FALSE(basLha::extractAll(path, folder.file(u"out"_s)).ok);
        QString log;
        EXPECT_FALSE(runTool(u"lhasa"_s, {u"-t"_s, path}, folder.path(), &log)) << log.toStdString();
    }
    // The relabelling itself leaves a readable member when the label is true.
    const QByteArray data = repeatAt(48000, 48000, 1);
    QVector<basLha::Entry> back;
    ASSERT_TRUE(basLha::readArchive(
                    relabelled(basLha::encodeEntry({u"x.bin"_s, data, 0}, "-lh7-"), "-lh7-") + '\0', &back)
                    .ok);
    ASSERT_EQ(back.size(), 1);
    EXPECT_TRUE(back[0].data == data);
}

TEST(basLha, AutomaticMethodStoresWhatDoesNotShrink) {
    // The automatic choice never takes a larger window, even where one would pack better.
    struct Case {
        QByteArray data;
        QByteArray method;
    };
    for (const Case& c :
         {Case{QByteArray(), "-lh0-"}, Case{"a", "-lh0-"}, Case{randomBytes(5000, 1), "-lh0-"},
          Case{textSample(200), "-lh5-"}, Case{repeatAt(20000, 20000, 2), "-lh0-"}}) {
        const QByteArray member = basLha::encodeEntry({u"x.lap"_s, c.data, 0});
        EXPECT_EQ(member.mid(2, 5), c.method);
    }
}

namespace {

// A level-0 member stored with -lh0-, as older DOS archivers wrote them.
QByteArray level0Stored(const QByteArray& name, const QByteArray& data) {
    QByteArray h;
    h.append("-lh0-");
    auto le32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            h.append(char((v >> (8 * i)) & 0xFF));
    };
    le32(quint32(data.size()));
    le32(quint32(data.size()));
    le32(0x5A210000); // DOS date and time
    h.append(char(0x20));
    h.append(char(0x00));
    h.append(char(name.size()));
    h.append(name);
    const quint16 crc = basLha::crc16(data);
    h.append(char(crc & 0xFF));
    h.append(char(crc >> 8));
    quint8 sum = 0;
    for (char c : h)
        sum = quint8(sum + quint8(c));
    QByteArray out;
    out.append(char(h.size()));
    out.append(char(sum));
    return out + h + data;
}

} // namespace

TEST(basLha, ReadsHandBuiltStoredArchives) {
    const QByteArray archive =
        level0Stored("A.LAP", "$LAPFILE Ver=2\r\n") + level0Stored("B.LXM", "<x/>") + '\0';
    QVector<basLha::Entry> entries;
    ASSERT_TRUE(basLha::readArchive(archive, &entries).ok);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].name, u"A.LAP"_s);
    EXPECT_EQ(entries[0].data, QByteArray("$LAPFILE Ver=2\r\n"));
    EXPECT_EQ(entries[1].name, u"B.LXM"_s);
    EXPECT_EQ(entries[1].data, QByteArray("<x/>"));
}

TEST(basLha, JapaneseNamesRoundTripInWindows31J) {
    const QString name = u"東京大会.lap"_s;
    const QByteArray archive = basLha::encodeArchive({{name, "data", 0}});
    EXPECT_TRUE(archive.contains("\x93\x8c\x8b\x9e")); // 東京 in Windows-31J
    QVector<basLha::Entry> entries;
    ASSERT_TRUE(basLha::readArchive(archive, &entries).ok);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].name, name);
}

TEST(basLha, DamagedArchivesFailWithoutCrashing) {
    const QByteArray good = basLha::encodeArchive({{u"a.lap"_s, textSample(300), 0}});
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);
    for (const Case& c : {Case{"truncated", good.left(good.size() / 2)}, Case{"random", randomBytes(3000, 9)},
                          Case{"flipped data", flipped}, Case{"header only", good.left(20)}}) {
        QVector<basLha::Entry> entries;
        const basLha::Result r = basLha::readArchive(c.bytes, &entries);
        EXPECT_FALSE(r.ok) << c.what;
    }
}

TEST(basLha, MemberNamesNeverLeaveTheFolder) {
    struct Case {
        QString stored;
        QString safe;
    };
    const std::vector<Case> cases = {
        {u"a.lap"_s, u"a.lap"_s},
        {u"../evil.lap"_s, u"evil.lap"_s},
        {u"..\\..\\win.lxm"_s, u"win.lxm"_s},
        {u"/abs/root.lap"_s, u"root.lap"_s},
        {u"C:\\x\\drive.lap"_s, u"drive.lap"_s},
        {u"C:dos.lap"_s, u"dos.lap"_s},
        {u".."_s, QString()},
        {u"sub/.."_s, QString()},
        {u"sub/"_s, QString()},
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basLha::safeFileName(c.stored), c.safe) << c.stored.toStdString();

    TestFolder folder;
    QDir().mkpath(folder.file(u"work"_s));
    QVector<basLha::Entry> entries;
    for (const Case& c : cases)
        if (!c.stored.isEmpty())
            entries.append({c.stored, c.stored.toUtf8(), 0});
    entries.append({folder.file(u"outside.lap"_s), "absolute", 0});
    const QString archive = folder.write(u"evil.lzh"_s, basLha::encodeArchive(entries));
    QStringList written;
    basLha::extractAll(archive, folder.file(u"work"_s), &written);
    EXPECT_FALSE(folder.exists(u"evil.lap"_s));
    EXPECT_FALSE(folder.exists(u"outside.lap"_s));
    EXPECT_TRUE(folder.exists(u"work/evil.lap"_s));
    EXPECT_TRUE(folder.exists(u"work/outside.lap"_s));
    EXPECT_EQ(folder.read(u"work/root.lap"_s), QByteArray("/abs/root.lap"));
    const QStringList inWork = QDir(folder.file(u"work"_s)).entryList(QDir::Files | QDir::NoDotAndDotDot);
    QStringList unique = written;
    unique.removeDuplicates();
    EXPECT_EQ(inWork.size(), unique.size());
    // Nothing besides the archive and the work folder appeared beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

TEST(basLha, ExtractionReplacesALinkInsteadOfWritingThroughIt) {
    TestFolder folder;
    QDir().mkpath(folder.file(u"work"_s));
    const QString victim = folder.write(u"victim.txt"_s, "keep");
    ASSERT_TRUE(QFile::link(victim, folder.file(u"work/a.lap"_s)));
    const QString archive = folder.write(u"a.lzh"_s, basLha::encodeArchive({{u"a.lap"_s, "new", 0}}));
    ASSERT_TRUE(basLha::extractAll(archive, folder.file(u"work"_s)).ok);
    EXPECT_EQ(folder.read(u"victim.txt"_s), QByteArray("keep"));
    EXPECT_EQ(folder.read(u"work/a.lap"_s), QByteArray("new"));
    EXPECT_FALSE(QFileInfo(folder.file(u"work/a.lap"_s)).isSymLink());
}

TEST(basLha, AddFileCreatesExtendsAndReplacesMembers) {
    TestFolder folder;
    const QString archive = folder.file(u"event.lzh"_s);
    const QString a = folder.write(u"a.lap"_s, textSample(50));
    const QString b = folder.write(u"b.lxm"_s, "<quorvelin/>");
    ASSERT_TRUE(basLha::addFile(archive, a).ok);
    ASSERT_TRUE(basLha::addFile(archive, b).ok);
    folder.write(u"a.lap"_s, "changed");
    ASSERT_TRUE(basLha::addFile(archive, a).ok);
    QVector<basLha::Entry> entries;
    ASSERT_TRUE(basLha::readArchiveFile(archive, &entries).ok);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].name, u"a.lap"_s);
    EXPECT_EQ(entries[0].data, QByteArray("changed"));
    EXPECT_EQ(entries[1].data, QByteArray("<quorvelin/>"));

    // A damaged archive is not replaced by one that lacks its members.
    const QByteArray damaged = randomBytes(400, 5);
    const QString bad = folder.write(u"bad.lzh"_s, damaged);
    EXPECT_FALSE(basLha::addFile(bad, a).ok);
    EXPECT_EQ(folder.read(u"bad.lzh"_s), damaged);
    // A missing input file fails without creating the archive.
    EXPECT_FALSE(basLha::addFile(folder.file(u"new.lzh"_s), folder.file(u"missing.lap"_s)).ok);
    EXPECT_FALSE(folder.exists(u"new.lzh"_s));
}

TEST(basLha, QuotingRuleAndCommandLines) {
    struct Quote {
        QString in;
        QString out;
    };
    for (const Quote& q : std::vector<Quote>{{u"C:\\My Data\\a.lzh"_s, u"\"C:\\My Data\\a.lzh\""_s},
                                             {u"\"C:\\My Data\\a.lzh\""_s, u"\"C:\\My Data\\a.lzh\""_s},
                                             {u"plain"_s, u"\"plain\""_s},
                                             {u"\"half"_s, u"\"\"half\""_s},
                                             {u"\""_s, u"\"\"\""_s},
                                             {QString(), u"\"\""_s}})
        EXPECT_EQ(basLha::quotePath(q.in), q.out) << q.in.toStdString();

    struct Split {
        QString line;
        QStringList items;
    };
    for (const Split& s :
         std::vector<Split>{{u"e -m \"/tmp/my dir/a.lzh\" \"/tmp/work/\" *.*"_s,
                             {u"e"_s, u"-m"_s, u"/tmp/my dir/a.lzh"_s, u"/tmp/work/"_s, u"*.*"_s}},
                            {u"  a  \"x y\"   z  "_s, {u"a"_s, u"x y"_s, u"z"_s}},
                            {u"a \"\" b"_s, {u"a"_s, QString(), u"b"_s}}})
        EXPECT_EQ(basLha::splitCommandLine(s.line), s.items) << s.line.toStdString();
}

TEST(basLha, RunCarriesOutUnpackAndPackCommands) {
    TestFolder folder;
    QDir().mkpath(folder.file(u"my work"_s));
    const QString file = folder.write(u"my lap.lap"_s, textSample(10));
    const QString archive = folder.file(u"my archive.lzh"_s);
    ASSERT_TRUE(basLha::run(u"a "_s + basLha::quotePath(archive) + u" "_s + basLha::quotePath(file)).ok);
    ASSERT_TRUE(basLha::run(u"e -m "_s + basLha::quotePath(archive) + u" "_s +
                            basLha::quotePath(folder.file(u"my work/"_s)) + u" *.*"_s)
                    .ok);
    EXPECT_EQ(folder.read(u"my work/my lap.lap"_s), textSample(10));
    EXPECT_FALSE(basLha::run(u"x "_s + basLha::quotePath(archive)).ok);
}
