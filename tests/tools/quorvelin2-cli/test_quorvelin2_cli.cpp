#include "FileTestSupport.h"
#include "TestFolder.h"
#include "basCliCommands.h"
#include "basConstants.h"
#include "basLha.h"
#include "clsClassData.h"
#include "clsConsoleFileHost.h"
#include "clsFileControl.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

// Runs the command line with the given answers on its input.
Outcome runTool(const QStringList& arguments, QString answers = QString()) {
    Outcome o;
    QTextStream in(&answers, QIODevice::ReadOnly), out(&o.out), err(&o.err);
    o.status = basCliCommands::run(arguments, in, out, err);
    out.flush();
    err.flush();
    return o;
}

QString saveSample(const TestFolder& folder, const QString& name) {
    const auto root = makeSampleEvent();
    const QString path = folder.file(name);
    EXPECT_TRUE(root->FileControl()->SaveLapFile(path)) << name.toStdString();
    return path;
}

std::unique_ptr<clsQuorvelin2> loaded(const QString& path) {
    auto root = std::make_unique<clsQuorvelin2>();
    EXPECT_TRUE(root->FileControl()->LoadLapFile(path)) << path.toStdString();
    return root;
}

TEST(Quorvelin2Cli, CommandLineMistakesAreExplainedWithTheUsage) {
    struct Row {
        QStringList arguments;
        QString says;
    } rows[] = {
        {{}, u"a command is needed"_s},
        {{u"frob"_s, u"a.lxm"_s}, u"unknown command \"frob\""_s},
        {{u"info"_s}, u"info needs at least one input"_s},
        {{u"convert"_s, u"a.lxm"_s}, u"convert needs at least one input and an output"_s},
        {{u"info"_s, u"--load-type"_s, u"xls"_s, u"a.lxm"_s}, u"unknown load type \"xls\""_s},
        {{u"convert"_s, u"--save-type"_s, u"pdf"_s, u"a.lxm"_s, u"b.lxm"_s}, u"unknown save type \"pdf\""_s},
        {{u"convert"_s, u"--merge"_s, u"both"_s, u"a.lxm"_s, u"b.lxm"_s}, u"unknown merge mode \"both\""_s},
        {{u"info"_s, u"--bogus"_s, u"a.lxm"_s}, u"bogus"_s},
    };
    for (const Row& r : rows) {
        const Outcome o = runTool(r.arguments);
        EXPECT_EQ(o.status, basCliCommands::UsageError) << r.arguments.join(u' ').toStdString();
        EXPECT_TRUE(o.err.contains(r.says)) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(u"Usage:"_s)) << o.err.toStdString();
        EXPECT_TRUE(o.out.isEmpty());
    }
    const Outcome help = runTool({u"--help"_s});
    EXPECT_EQ(help.status, basCliCommands::Done);
    EXPECT_TRUE(help.out.startsWith(u"Usage:"_s));
}

TEST(Quorvelin2Cli, InfoTellsWhatAFileHolds) {
    TestFolder folder;
    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    const Outcome o = runTool({u"info"_s, lxm});
    ASSERT_EQ(o.status, basCliCommands::Done) << o.err.toStdString();
    const auto root = loaded(lxm);
    qint64 runners = 0;
    for (int c = 1; c <= root->ClassCount(); ++c)
        runners += root->ClassData(c)->LapCount();
    EXPECT_TRUE(o.out.contains(u"Event: 春の大会\n"_s)) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains(u"Date: 2024/04/21\n"_s)) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains(u"Classes: %1, courses: %2, runners: %3\n"_s.arg(root->ClassCount())
                                   .arg(root->CourseCount())
                                   .arg(runners)))
        << o.out.toStdString();
    for (int c = 1; c <= root->ClassCount(); ++c) {
        const clsClassData& cls = *root->ClassData(c);
        EXPECT_TRUE(o.out.contains(u"  "_s + cls.ClassName() + u"  %1 runners"_s.arg(cls.LapCount())))
            << o.out.toStdString();
    }
}

// Each conversion loads back to what the target kind keeps of the source.
TEST(Quorvelin2Cli, ConvertWritesEveryKindByExtensionOrByName) {
    TestFolder folder;
    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    const QStringList source = picture(*loaded(lxm));
    struct Row {
        QString output;
        QStringList options;
    } rows[] = {
        {u"copy.lxm"_s, {}},   {u"full.lxm"_s, {u"--full"_s}},
        {u"spring.lap"_s, {}}, {u"named.txt"_s, {u"--save-type"_s, u"lap"_s}},
        {u"packed.lzh"_s, {}},
    };
    for (const Row& r : rows) {
        const QString target = folder.file(r.output);
        const Outcome o = runTool(QStringList{u"convert"_s} + r.options + QStringList{lxm, target});
        ASSERT_EQ(o.status, basCliCommands::Done) << r.output.toStdString() << o.err.toStdString();
        // The text lap file keeps less: compare with the same event saved as one directly.
        if (r.output.endsWith(u".lap"_s) || r.output.endsWith(u".txt"_s)) {
            const QString reference = folder.file(u"reference.lap"_s);
            ASSERT_TRUE(makeSampleEvent()->FileControl()->SaveLapFile(reference));
            clsQuorvelin2 probe;
            ASSERT_TRUE(probe.FileControl()->LoadLapFile(target, Quorvelin2::QV_FILETYPE_QUORVELIN1));
            EXPECT_EQ(picture(probe), picture(*loaded(reference))) << r.output.toStdString();
            continue;
        }
        EXPECT_EQ(picture(*loaded(target)), source) << r.output.toStdString();
    }
}

TEST(Quorvelin2Cli, IofResultListsValidate) {
    TestFolder folder;
    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    const QString xml = folder.file(u"results.xml"_s);
    const Outcome o = runTool({u"convert"_s, lxm, xml});
    ASSERT_EQ(o.status, basCliCommands::Done) << o.err.toStdString();
    EXPECT_EQ(iofValidationErrors(xml), QString());
    EXPECT_TRUE(folder.read(u"results.xml"_s).contains("<ResultList"));
}

// An IOF XML document under a .xml name is read as one by its contents, whichever version; the
// kinds can also be named.
TEST(Quorvelin2Cli, IofResultListsAreReadByTheirContents) {
    TestFolder folder;
    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    const QString v3 = folder.file(u"results3.xml"_s);
    const QString v2 = folder.file(u"results2.xml"_s);
    ASSERT_EQ(runTool({u"convert"_s, u"--save-type"_s, u"iof3"_s, lxm, v3}).status, basCliCommands::Done);
    ASSERT_EQ(runTool({u"convert"_s, lxm, v2}).status, basCliCommands::Done);
    EXPECT_EQ(iof3ValidationErrors(v3), QString());
    EXPECT_EQ(iofValidationErrors(v2), QString());
    struct Row {
        QStringList arguments;
        int status;
        QString says;
    } rows[] = {
        {{u"info"_s, v3},
         basCliCommands::Done,
         u"Classes: 3, courses: 1, runners: 6\n  M21  4 runners, 3 controls, course 1\n"_s},
        {{u"info"_s, v2}, basCliCommands::Done, u"Classes: 3, courses: 1, runners: 6\n"_s},
        {{u"info"_s, u"--load-type"_s, u"iof3"_s, v3}, basCliCommands::Done, u"Event: 春の大会\n"_s},
        {{u"info"_s, u"--load-type"_s, u"iof2"_s, v2}, basCliCommands::Done, u"Date: 2024/04/21\n"_s},
        // Told it is a lap file, the tool reads it as one and says why it cannot.
        {{u"info"_s, u"--load-type"_s, u"lxm"_s, v3},
         basCliCommands::FileFailed,
         u"clsFileControl.LoadQuorvelin2"_s},
        {{u"info"_s, u"--load-type"_s, u"iof3"_s, lxm},
         basCliCommands::FileFailed,
         u"clsFileControl.LoadIofResultList"_s},
    };
    for (const Row& r : rows) {
        const Outcome o = runTool(r.arguments);
        EXPECT_EQ(o.status, r.status) << r.arguments.join(u' ').toStdString() << o.err.toStdString();
        EXPECT_TRUE(QString(o.out + o.err).contains(r.says)) << o.out.toStdString() << o.err.toStdString();
    }
    // Back to the library's own file: the same classes and runners.
    const QString back = folder.file(u"back.lxm"_s);
    ASSERT_EQ(runTool({u"convert"_s, v3, back}).status, basCliCommands::Done);
    const QString again = folder.file(u"again.xml"_s);
    ASSERT_EQ(runTool({u"convert"_s, u"--save-type"_s, u"iof3"_s, back, again}).status, basCliCommands::Done);
    EXPECT_EQ(iof3ValidationErrors(again), QString());
    EXPECT_EQ(loaded(back)->ClassData(u"M21"_s)->LapCount(), 4);
}

TEST(Quorvelin2Cli, LaterInputsAreMergedIntoTheFirst) {
    TestFolder folder;
    const QString a = saveSample(folder, u"a.lxm"_s);
    // A second file with a class of its own and one runner more in a shared class.
    auto other = makeSampleEvent();
    auto extra = other->AddClass(u"M35"_s);
    extra->AddLap()->setRunnerName(u"追加 選手"_s);
    const auto shared = other->ClassData(1);
    shared->AddLap()->setRunnerName(u"別の 選手"_s);
    const QString b = folder.file(u"b.lxm"_s);
    ASSERT_TRUE(other->FileControl()->SaveLapFile(b));

    const int sharedBefore = loaded(a)->ClassData(1)->LapCount();
    const QString merged = folder.file(u"merged.lxm"_s);
    ASSERT_EQ(runTool({u"convert"_s, u"--merge"_s, u"name"_s, a, b, merged}).status, basCliCommands::Done);
    const auto byName = loaded(merged);
    EXPECT_TRUE(byName->IsClassExists(u"M35"_s));
    EXPECT_EQ(byName->ClassData(1)->LapCount(), sharedBefore + 1);

    ASSERT_EQ(runTool({u"convert"_s, a, b, merged}).status, basCliCommands::Done); // append
    EXPECT_EQ(loaded(merged)->ClassData(1)->LapCount(), 2 * sharedBefore + 1);
}

TEST(Quorvelin2Cli, FailuresNameTheFileAndTheReason) {
    TestFolder folder;
    const QString broken =
        folder.write(u"broken.lxm"_s, "<quorvelin version=\"2\"><classes><class name=\"M21\">");
    const Outcome bad = runTool({u"info"_s, broken});
    EXPECT_EQ(bad.status, basCliCommands::FileFailed);
    EXPECT_TRUE(bad.err.startsWith(u"quorvelin2: "_s + broken + u": "_s)) << bad.err.toStdString();
    EXPECT_GT(bad.err.size(), (u"quorvelin2: "_s + broken + u": \n"_s).size());

    const Outcome missing = runTool({u"info"_s, folder.file(u"none.lxm"_s)});
    EXPECT_EQ(missing.status, basCliCommands::FileFailed);
    EXPECT_TRUE(missing.err.contains(u"none.lxm"_s));

    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    const Outcome unwritable = runTool({u"convert"_s, lxm, folder.file(u"no/such/folder/out.lxm"_s)});
    EXPECT_EQ(unwritable.status, basCliCommands::FileFailed);
    EXPECT_TRUE(unwritable.err.contains(u"out.lxm: "_s)) << unwritable.err.toStdString();
}

// An archive of two lap files: the console asks which one to load.
class ArchiveChoice : public ::testing::Test {
protected:
    void SetUp() override {
        auto first = makeSampleEvent();
        auto second = makeSampleEvent();
        second->RenameClass(second->ClassData(1)->ClassName(), u"ONLY-IN-SECOND"_s);
        const QString a = folder.file(u"a.lxm"_s), b = folder.file(u"b.lxm"_s);
        ASSERT_TRUE(first->FileControl()->SaveLapFile(a));
        ASSERT_TRUE(second->FileControl()->SaveLapFile(b));
        QVector<basLha::Entry> entries;
        for (const QString& name : {u"a.lxm"_s, u"b.lxm"_s})
            entries.push_back({name, folder.read(name), 1700000000});
        archive = folder.write(u"both.lzh"_s, basLha::encodeArchive(entries));
    }
    TestFolder folder;
    QString archive;
};

TEST_F(ArchiveChoice, AnswersPickCancelOrRetry) {
    struct Row {
        QStringList options;
        QString answers;
        int status;
        bool second; // the second file was loaded
        bool asked;
    } rows[] = {
        {{}, u"2\n"_s, basCliCommands::Done, true, true},
        {{}, u"b.lxm\n"_s, basCliCommands::Done, true, true},
        {{}, u"\n"_s, basCliCommands::Done, false, true},
        {{}, u"7\nx\n2\n"_s, basCliCommands::Done, true, true},
        {{}, u"0\n"_s, basCliCommands::FileFailed, false, true},
        {{}, QString(), basCliCommands::FileFailed, false, true}, // end of input
        {{}, u"7\n8\n9\n2\n"_s, basCliCommands::FileFailed, false, true},
        {{u"--first"_s}, QString(), basCliCommands::Done, false, false},
    };
    for (const Row& r : rows) {
        const Outcome o = runTool(QStringList{u"info"_s} + r.options + QStringList{archive}, r.answers);
        EXPECT_EQ(o.status, r.status) << r.answers.toStdString() << o.err.toStdString();
        EXPECT_EQ(o.err.contains(u"The archive holds 2 lap files:\n  1  a.lxm\n  2  b.lxm\n"_s), r.asked)
            << o.err.toStdString();
        if (o.status == basCliCommands::Done) {
            EXPECT_EQ(o.out.contains(u"ONLY-IN-SECOND"_s), r.second) << r.answers.toStdString();
        }
    }
}

TEST(Quorvelin2Cli, ProgressIsOneRewrittenLine) {
    TestFolder folder;
    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    const Outcome quiet = runTool({u"info"_s, lxm});
    EXPECT_FALSE(quiet.err.contains(u'%'));
    const Outcome shown = runTool({u"info"_s, u"--progress"_s, lxm});
    ASSERT_EQ(shown.status, basCliCommands::Done);
    EXPECT_TRUE(shown.err.startsWith(u"\r"_s)) << shown.err.toStdString();
    EXPECT_TRUE(shown.err.endsWith(u"\r100 %\n"_s)) << shown.err.toStdString();
    EXPECT_EQ(shown.err.count(u'\n'), 1);
    // A file that does not open shows its error and no progress line.
    const Outcome missing = runTool({u"info"_s, u"--progress"_s, folder.file(u"none.lxm"_s)});
    EXPECT_EQ(missing.status, basCliCommands::FileFailed);
    EXPECT_TRUE(missing.err.startsWith(u"quorvelin2: "_s)) << missing.err.toStdString();
    EXPECT_FALSE(missing.err.contains(u'%'));
}

TEST(Quorvelin2Cli, ConsoleHostStartsMessagesOnALineOfTheirOwn) {
    QString answers, shown;
    QTextStream in(&answers, QIODevice::ReadOnly), out(&shown);
    {
        clsConsoleFileHost host(in, out);
        host.message(u"no title"_s, QString());
        host.showProgress();
        host.setProgress(40);
        host.setProgress(40);
        host.message(u"見出しがありません"_s, u"quorvelin2"_s);
        host.setProgress(90);
    } // closing the host ends the progress line
    out.flush();
    EXPECT_EQ(shown, u"no title\n\r 40 %\nquorvelin2: 見出しがありません\n\r 90 %\n"_s);

    // A progress display that never heard from its loader leaves nothing behind.
    QString quiet;
    QTextStream quietOut(&quiet);
    {
        clsConsoleFileHost host(in, quietOut);
        host.showProgress();
        host.closeProgress();
        host.closeProgress();
    }
    quietOut.flush();
    EXPECT_TRUE(quiet.isEmpty()) << quiet.toStdString();
}

// The program itself: exit statuses and streams of a real process.
TEST(Quorvelin2Cli, TheProgramRunsOnItsOwn) {
    TestFolder folder;
    const QString lxm = saveSample(folder, u"spring.lxm"_s);
    struct Row {
        QStringList arguments;
        int exitCode;
        QByteArray inOut, inErr;
    } rows[] = {
        {{u"--help"_s}, 0, "Usage:", ""},
        {{u"info"_s, lxm}, 0, "runners: ", ""},
        {{u"info"_s, folder.file(u"none.lxm"_s)}, 1, "", "none.lxm"},
        {{u"frob"_s}, 2, "", "unknown command"},
    };
    for (const Row& r : rows) {
        QProcess p;
        p.start(QStringLiteral(QUORVELIN2_CLI), r.arguments);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), r.exitCode) << r.arguments.join(u' ').toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().contains(r.inOut));
        EXPECT_TRUE(p.readAllStandardError().contains(r.inErr));
    }
}

} // namespace
