#include "FileTestSupport.h"
#include "TempFolderScope.h"
#include "TestFolder.h"
#include "basConstants.h"
#include "basDate.h"
#include "basLha.h"
#include "basQuorvelin2.h"
#include "basText.h"
#include "clsQuorvelin2.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString Lines3 = u"line one\r\nline two\r\nline three\r\n"_s;

QByteArray lxmBytes(const QString& className) {
    clsQuorvelin2 root;
    root.AddClass(className)->AddLap()->setRunnerName(u"Runner of "_s + className);
    TestFolder folder;
    root.FileControl()->SaveLapFile(folder.file(u"x.lxm"_s));
    return folder.read(u"x.lxm"_s);
}

QByteArray lapBytes(const QString& className) {
    clsQuorvelin2 root;
    auto cls = root.AddClass(className);
    cls->setControlCount(1);
    auto lap = cls->AddLap();
    lap->setRunnerName(u"Runner of "_s + className);
    lap->Lap(1)->setValue(basDate::fromSeconds(60));
    TestFolder folder;
    root.FileControl()->SaveLapFile(folder.file(u"x.lap"_s));
    return folder.read(u"x.lap"_s);
}

} // namespace

TEST(clsFileControl, FiltersAndSaveModes) {
    clsQuorvelin2 root;
    clsFileControl& fc = *root.FileControl();
    EXPECT_EQ(
        fc.FileSaveFilter(),
        u"ラップファイル (*.lxm)|*.lxm|ラップファイル(Ver.1形式) (*.lap)|*.lap|IOF標準形式 (ResultList) (*.xml)|*.xml|ラップファイル(XML形式) (*.xml)|*.xml|ラップファイル(LHA圧縮) (*.lzh)|*.lzh"_s);
    EXPECT_EQ(
        fc.FileLoadFilter(),
        u"クォルベリン２ファイル (*.lxm)|*.lxm|ラップファイル (*.lxm,*.xml,*.lap,*.csv,*.txt)|*.lxm;*.lap;*.xml;*.csv;*.txt|書庫ファイル (*.lzh)|*.lzh|全てのファイル (*.*)|*.*"_s);
    struct Case {
        QVariant index;
        qint32 kind;
    };
    for (const Case& c : std::vector<Case>{{1, QV_FILETYPE_QUORVELIN2},
                                           {2, QV_FILETYPE_QUORVELIN1},
                                           {3, QV_FILETYPE_IOF_XML_20_RESULT},
                                           {4, QV_FILETYPE_QUORVELIN2},
                                           {5, QV_FILETYPE_QUORVELIN2},
                                           {6, QV_FILETYPE_AUTODETECT},
                                           {0, QV_FILETYPE_AUTODETECT},
                                           {-1, QV_FILETYPE_AUTODETECT},
                                           {u"2"_s, QV_FILETYPE_QUORVELIN1},
                                           {u"two"_s, QV_FILETYPE_AUTODETECT},
                                           {QVariant(), QV_FILETYPE_AUTODETECT}})
        EXPECT_EQ(fc.FileSaveMode(c.index), c.kind) << c.index.toString().toStdString();
    EXPECT_FALSE(fc.ProgressVisible());
}

TEST(clsFileControl, DetectsFileKindsByNameAndLines) {
    const QString tooShort = u"ファイルタイプ判別に失敗しました\r\nclsFileControl.DetectFileType"_s;
    struct Case {
        const char* what;
        QString name;
        QByteArray bytes; // written to the file unless null
        qint32 kind;
        QString comment;
    };
    const std::vector<Case> cases = {
        {"lxm by extension, file never opened", u"missing.LXM"_s, QByteArray(), QV_FILETYPE_QUORVELIN2,
         QString()},
        {"xml by extension", u"missing.xml"_s, QByteArray(), QV_FILETYPE_QUORVELIN2, QString()},
        {"lap file marker", u"a.txt"_s, "$LAPFILE Ver=2\r\n$x\r\n\r\n", QV_FILETYPE_QUORVELIN1, QString()},
        {"import only", u"a.txt"_s, "$IMPORT_ONLY\r\nNAME,CLUB\r\nA,B\r\n", QV_FILETYPE_IMPORT_ONLY,
         QString()},
        {"import only in any case", u"a.txt"_s, "$import_Only\r\nNAME\r\n", QV_FILETYPE_IMPORT_ONLY,
         QString()},
        {"import only marker with more text", u"a.txt"_s, "$IMPORT_ONLY list\r\nNAME\r\nA\r\n",
         QV_FILETYPE_QUORVELIN1, QString()},
        {"xml in line 1", u"a.txt"_s, "<?xml version=\"1.0\"?>\r\n<a>\r\n</a>\r\n", QV_FILETYPE_QUORVELIN2,
         QString()},
        {"OEvent", u"a.txt"_s, "Event\r\nSplit times of M21\r\nx\r\n", QV_FILETYPE_OEVENT, QString()},
        {"SPORTident", u"a.txt"_s, "a\r\nb\r\n   SPORTident results\r\n", QV_FILETYPE_SPORTIDENT, QString()},
        {"SPORTident with bare LF", u"a.txt"_s, "a\nb\n   SPORTident results\n", QV_FILETYPE_SPORTIDENT,
         QString()},
        {"OEvent with bare CR", u"a.txt"_s, "Event\rSplit times of M21\rx\r", QV_FILETYPE_OEVENT, QString()},
        {"anything else", u"a.csv"_s, "NAME,1\r\nA,1:00\r\nB,2:00\r\n", QV_FILETYPE_QUORVELIN1, QString()},
        {"two lines", u"a.csv"_s, "NAME,1\r\nA,1:00\r\n", QV_FILETYPE_UNKNOWN, tooShort},
        {"one line", u"a.csv"_s, "NAME,1", QV_FILETYPE_UNKNOWN, tooShort},
        // Made CR LF text, the final line end gives the third (empty) line.
        {"bare LF, two lines", u"a.csv"_s, "NAME,1\nA,1:00\n", QV_FILETYPE_QUORVELIN1, QString()},
        {"bare LF, one line", u"a.csv"_s, "NAME,1\n", QV_FILETYPE_UNKNOWN, tooShort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        const QString path = c.bytes.isNull() ? folder.file(c.name) : folder.write(c.name, c.bytes);
        clsQuorvelin2 root;
        basQuorvelin2::SetErrorComment(QString());
        QString data;
        EXPECT_EQ(root.FileControl()->DetectFileType(path, data), c.kind);
        EXPECT_EQ(root.ErrorComment(), c.comment);
    }
    // A file that cannot be read.
    clsQuorvelin2 root;
    QString data;
    EXPECT_EQ(root.FileControl()->DetectFileType(u"/nonexistent/file.txt"_s, data), QV_FILETYPE_UNKNOWN);
    EXPECT_TRUE(root.ErrorComment().startsWith(
        u"ファイルタイプが判別に失敗しました\r\nclsFileControl.DetectFileType\r\n"_s));
}

TEST(clsFileControl, DetectionOfFileDataTextAndLineEnds) {
    struct Case {
        const char* what;
        QString data;
        qint32 kind;
        QString rewritten;
    };
    const std::vector<Case> cases = {
        {"CR LF", Lines3, QV_FILETYPE_QUORVELIN1, Lines3},
        {"bare CR made CR LF", u"a\rSplit times of x\rc"_s, QV_FILETYPE_OEVENT,
         u"a\r\nSplit times of x\r\nc"_s},
        {"lap marker", u"$LAPFILE Ver=2\r\nb\r\nc"_s, QV_FILETYPE_QUORVELIN1, u"$LAPFILE Ver=2\r\nb\r\nc"_s},
        {"IMPORT_ONLY", u"$Import_Only\r\nNAME\r\nA"_s, QV_FILETYPE_IMPORT_ONLY,
         u"$Import_Only\r\nNAME\r\nA"_s},
        {"xml", u"<?xml?>\r\nb\r\nc"_s, QV_FILETYPE_QUORVELIN2, u"<?xml?>\r\nb\r\nc"_s},
        {"case-sensitive markers", u"a\r\nsplit times of\r\nsportident results"_s, QV_FILETYPE_QUORVELIN1,
         u"a\r\nsplit times of\r\nsportident results"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clsQuorvelin2 root;
        QString data = c.data;
        EXPECT_EQ(root.FileControl()->DetectFileType(u"x.txt"_s, data), c.kind);
        EXPECT_EQ(data, c.rewritten);
    }
}

TEST(clsFileControl, BareLineEndsLoadTheSameAsCrLf) {
    const QByteArray crlf = basText::toWindows31J(u"名前,1,F\r\nA,1:00,2:00\r\nB,1:10,2:20\r\n");
    for (const QByteArray& bytes :
         {crlf, QByteArray(crlf).replace("\r\n", "\n"), QByteArray(crlf).replace("\r\n", "\r")}) {
        TestFolder folder;
        const QString path = folder.write(u"list.csv"_s, bytes);
        clsQuorvelin2 root;
        ASSERT_TRUE(root.FileControl()->LoadLapFile(path)) << root.ErrorComment().toStdString();
        const auto cls = root.Classes().Item(u"名称未設定"_s);
        ASSERT_TRUE(cls);
        EXPECT_EQ(cls->LapCount(), 2);
    }
}

TEST(clsFileControl, ImportOnlyListIsRefusedWithoutTheAdditionalModeAndNothingIsLost) {
    const QString data = u"$IMPORT_ONLY\r\n名前,所属\r\nA,B\r\n"_s;
    for (qint32 mode : {QV_LOADMODE_NORMAL, QV_LOADMODE_MERGE_ID}) {
        auto root = makeSampleEvent();
        const QStringList before = picture(*root);
        EXPECT_FALSE(root->FileControl()->LoadLapFile(u"x.txt"_s, 0, mode, data));
        EXPECT_EQ(root->ErrorComment(), u"このファイルは追加読み込み専用です"_s);
        EXPECT_EQ(picture(*root), before) << "mode " << mode;
    }
    // Unknown kinds do not clear either.
    auto root = makeSampleEvent();
    const QStringList before = picture(*root);
    EXPECT_FALSE(root->FileControl()->LoadLapFile(u"x.txt"_s, 0, 0, u"only\r\ntwo"_s));
    EXPECT_FALSE(root->FileControl()->LoadLapFile(u"x.xml"_s, QV_FILETYPE_IOF_XML_20_RESULT, 0));
    EXPECT_TRUE(root->ErrorComment().isEmpty());
    EXPECT_EQ(picture(*root), before);
    // A load that goes ahead in mode 0 replaces everything.
    ASSERT_TRUE(root->FileControl()->LoadLapFile(u"x.csv"_s, 0, 0, u"名前,1\r\nZ,1:00\r\nY,2:00"_s));
    EXPECT_EQ(root->ClassCount(), 1);
    EXPECT_EQ(root->CourseCount(), 0);
}

TEST(clsFileControl, LoadModesMergeRunners) {
    // The existing data: one class with two runners; the file brings three runners.
    const QString file = u"<quorvelin><classes><class name=\"M21\">"
                         u"<runner name=\"ＹＡＭＡＤＡ　Taro\" id=\"1\" club=\"NEW1\"/>"
                         u"<runner name=\"other\" id=\"2\" club=\"NEW2\" result=\"0:10:00\"/>"
                         u"<runner name=\"Stranger\" id=\"9\" club=\"NEW9\"/>"
                         u"</class></classes></quorvelin>"_s;
    struct Case {
        const char* what;
        qint32 mode;
        int runners;
        QString yamadaClub;
        QString satoClub;
        QString satoResult;
    };
    const std::vector<Case> cases = {
        {"append", QV_LOADMODE_APPEND, 5, u"OLD1"_s, QString(), QString()},
        {"merge by ID", QV_LOADMODE_MERGE_ID, 3, u"OLD1"_s, u"NEW2"_s, u"0:10:00"_s},
        {"merge by ID, new data wins", QV_LOADMODE_MERGE_ID + QV_LOADMODE_PRIORITY_NEWDATA, 3, u"NEW1"_s,
         u"NEW2"_s, u"0:10:00"_s},
        {"merge by name", QV_LOADMODE_MERGE_NAME, 4, u"OLD1"_s, QString(), QString()},
        {"merge by name, original wins", QV_LOADMODE_MERGE_NAME + QV_LOADMODE_PRIORITY_ORIGINAL, 4, u"OLD1"_s,
         QString(), QString()},
        {"merge by name, new data wins", QV_LOADMODE_MERGE_NAME + QV_LOADMODE_PRIORITY_NEWDATA, 4, u"NEW1"_s,
         QString(), QString()},
        {"merge by ID, no new runners", QV_LOADMODE_MERGE_ID + QV_LOADMODE_NOTADD_NEWDATA, 2, u"OLD1"_s,
         u"NEW2"_s, u"0:10:00"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clsQuorvelin2 root;
        auto m21 = root.AddClass(u"M21"_s);
        auto yamada = m21->AddLap();
        yamada->setRunnerName(u"yamada taro"_s);
        yamada->setID(1);
        yamada->setClubName(u"OLD1"_s);
        auto sato = m21->AddLap();
        sato->setRunnerName(u"Sato"_s);
        sato->setID(2);
        ASSERT_TRUE(root.FileControl()->LoadLapFile(u"f.lxm"_s, 0, c.mode, file))
            << root.ErrorComment().toStdString();
        EXPECT_EQ(m21->LapCount(), c.runners);
        EXPECT_EQ(yamada->ClubName(), c.yamadaClub);
        EXPECT_EQ(sato->ClubName(), c.satoClub);
        EXPECT_EQ(sato->Result(), c.satoResult);
    }
}

TEST(clsFileControl, MergeByNameWithoutAddingChangesNothingForStrangers) {
    auto root = makeSampleEvent();
    const QStringList before = picture(*root);
    const QString file =
        u"<quorvelin><classes><class name=\"M21\"><runner name=\"Nobody\" club=\"X\"/></class>"
        u"<class name=\"W21\"><runner name=\"Nobody Else\" club=\"Y\"/></class></classes></quorvelin>"_s;
    EXPECT_TRUE(root->FileControl()->LoadLapFile(u"f.lxm"_s, 0, 0x1011, file));
    EXPECT_EQ(picture(*root), before);
}

TEST(clsFileControl, ProgressIsReportedFromZeroToHundred) {
    clsQuorvelin2 root;
    fillGeneratedEvent(root, 4, 3, 3);
    TestFolder folder;
    const QString path = folder.file(u"e.lxm"_s);
    ASSERT_TRUE(root.FileControl()->SaveLapFile(path));
    for (bool visible : {false, true}) {
        SCOPED_TRACE(visible);
        clsQuorvelin2 target;
        RecordingHost host;
        target.FileControl()->setHost(&host);
        target.FileControl()->setProgressVisible(visible);
        QList<int> reported;
        QObject::connect(target.FileControl(), &clsFileControl::Progress, [&](qint32 p) { reported << p; });
        ASSERT_TRUE(target.FileControl()->LoadLapFile(path));
        EXPECT_EQ(reported, (QList<int>{0, 25, 50, 75, 100, 100}));
        if (visible) {
            EXPECT_EQ(host.calls, (QStringList{u"show"_s, u"set 25"_s, u"set 50"_s, u"set 75"_s, u"set 100"_s,
                                               u"close"_s}));
        } else {
            EXPECT_TRUE(host.calls.isEmpty());
        }
    }
}

TEST(clsFileControl, SavingIntoAnArchiveWritesTheWorkFolderAndPacks) {
    TestFolder folder;
    TempFolderScope temp(folder.path());
    auto root = makeSampleEvent();
    struct Case {
        qint32 kind;
        QString member;
    };
    for (const Case& c :
         {Case{QV_FILETYPE_QUORVELIN1, u"a.lap"_s}, Case{QV_FILETYPE_QUORVELIN2, u"a.lxm"_s},
          Case{QV_FILETYPE_IOF_XML_20_RESULT, u"a.xml"_s}, Case{QV_FILETYPE_AUTODETECT, u"a.lxm"_s}}) {
        SCOPED_TRACE(c.member.toStdString());
        const QString archive = folder.file(u"out dir/a.lzh"_s);
        QDir().mkpath(folder.file(u"out dir"_s));
        QFile::remove(archive);
        ASSERT_TRUE(root->FileControl()->SaveLapFile(archive, c.kind));
        EXPECT_TRUE(folder.exists(u"Quorvelin2/"_s + c.member));
        QVector<basLha::Entry> entries;
        ASSERT_TRUE(basLha::readArchiveFile(archive, &entries).ok);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0].name, c.member);
        EXPECT_EQ(entries[0].data, folder.read(u"Quorvelin2/"_s + c.member));
    }
    // A damaged archive cannot take the file: the save is not reported as done.
    const QString damaged = folder.write(u"bad.lzh"_s, QByteArray(300, 'x'));
    EXPECT_FALSE(root->FileControl()->SaveLapFile(damaged));
    EXPECT_EQ(folder.read(u"bad.lzh"_s), QByteArray(300, 'x'));
}

TEST(clsFileControl, ArchivesAreOpenedThroughTheWorkFolder) {
    TestFolder folder;
    TempFolderScope temp(folder.path());
    auto archiveOf = [&](const QString& name, const QVector<basLha::Entry>& entries) {
        return folder.write(name, basLha::encodeArchive(entries));
    };
    const QString work = folder.file(u"Quorvelin2"_s);

    {
        SCOPED_TRACE("one lxm: no window");
        const QString a =
            archiveOf(u"one.lzh"_s, {{u"e.lxm"_s, lxmBytes(u"OneLxm"_s), 0}, {u"notes.csv"_s, "x", 0}});
        clsQuorvelin2 root;
        RecordingHost host;
        root.FileControl()->setHost(&host);
        ASSERT_TRUE(root.FileControl()->LoadLapFile(a)) << root.ErrorComment().toStdString();
        EXPECT_TRUE(root.IsClassExists(u"OneLxm"_s));
        EXPECT_EQ(host.chooseCount, 0);
        EXPECT_EQ(root.FileName(), work + u"/e.lxm"_s);
    }
    const QString both =
        archiveOf(u"both.lzh"_s, {{u"b.lxm"_s, lxmBytes(u"FromLxm"_s), 0},
                                  {u"a.lap"_s, lapBytes(u"FromLap"_s), 0},
                                  {u"inner.lzh"_s, basLha::encodeArchive({{u"z.lap"_s, "x", 0}}), 0}});
    struct Choice {
        const char* what;
        std::optional<QString> answer;
        bool installHost;
        bool loaded;
        QString cls;
    };
    for (const Choice& c :
         std::vector<Choice>{{"choose the lap file", u"a.lap"_s, true, true, u"FromLap"_s},
                             {"choose the lxm file", u"b.lxm"_s, true, true, u"FromLxm"_s},
                             {"cancel", std::nullopt, true, false, QString()},
                             {"no host: the first file", std::nullopt, false, true, u"FromLap"_s}}) {
        SCOPED_TRACE(c.what);
        clsQuorvelin2 root;
        RecordingHost host;
        host.answers.push_back(c.answer);
        if (c.installHost)
            root.FileControl()->setHost(&host);
        EXPECT_EQ(root.FileControl()->LoadLapFile(both), c.loaded);
        if (c.installHost) {
            EXPECT_EQ(host.chooseCount, 1);
            // The archive inside the archive was deleted and is never offered.
            EXPECT_EQ(host.offered, (QStringList{u"a.lap"_s, u"b.lxm"_s}));
        }
        if (c.loaded) {
            EXPECT_TRUE(root.IsClassExists(c.cls));
        }
        EXPECT_FALSE(QFile::exists(work + u"/inner.lzh"_s));
    }
    {
        SCOPED_TRACE("second archive without lap files finds nothing");
        const QString other = archiveOf(u"other.lzh"_s, {{u"x.csv"_s, "NAME,1\r\nA,1\r\nB,2\r\n", 0}});
        clsQuorvelin2 root;
        EXPECT_FALSE(root.FileControl()->LoadLapFile(other));
        EXPECT_FALSE(QFile::exists(work + u"/a.lap"_s));
        EXPECT_FALSE(QFile::exists(work + u"/b.lxm"_s));
        EXPECT_EQ(root.ClassCount(), 0);
    }
    {
        SCOPED_TRACE("damaged or missing archive");
        clsQuorvelin2 root;
        EXPECT_FALSE(root.FileControl()->LoadLapFile(folder.write(u"bad.lzh"_s, "garbage")));
        EXPECT_FALSE(root.FileControl()->LoadLapFile(folder.file(u"missing.lzh"_s)));
    }
}

TEST(clsFileControl, ArchiveRoundTripOfAnEvent) {
    TestFolder folder;
    TempFolderScope temp(folder.path());
    auto source = makeSampleEvent();
    source->SortLap();
    const QString archive = folder.file(u"my event.lzh"_s);
    ASSERT_TRUE(source->FileControl()->SaveLapFile(archive, source->FileControl()->FileSaveMode(5)));
    clsQuorvelin2 loaded;
    ASSERT_TRUE(loaded.FileControl()->LoadLapFile(archive)) << loaded.ErrorComment().toStdString();
    Keeps keeps;
    keeps.rankFixAndAge = false;
    EXPECT_EQ(picture(loaded, keeps), picture(*source, keeps));
}
