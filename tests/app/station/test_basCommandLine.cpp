// The command line of both programs, without running them.
#include "ScriptedPrompt.h"
#include "basCommandLine.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(basCommandLine, ParsesTheModesAndRefusesBadLines) {
    struct Case {
        QStringList args;
        bool ok, console, listen;
        QString data, port, csv;
    } cases[] = {
        {{u"brevanto2"_s}, true, false, false, {}, {}, {}},
        {{u"brevanto2"_s, u"--console"_s, u"--data"_s, u"/d"_s, u"--port"_s, u"/dev/pts/3"_s, u"--listen"_s},
         true,
         true,
         true,
         u"/d"_s,
         u"/dev/pts/3"_s,
         {}},
        {{u"brevanto2"_s, u"--data"_s, u"/d"_s, u"--export-csv"_s, u"o.csv"_s},
         true,
         false,
         false,
         u"/d"_s,
         {},
         u"o.csv"_s},
        {{u"brevanto2"_s, u"--export-csv"_s, u"o.csv"_s}, false, false, false, {}, {}, u"o.csv"_s},
        {{u"brevanto2"_s, u"--data"_s}, false, false, false, {}, {}, {}},
        {{u"brevanto2"_s, u"--bogus"_s}, false, false, false, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const basCommandLine::Options o = basCommandLine::parse(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(o.error.isEmpty(), c.ok) << what;
        if (!c.ok)
            continue;
        EXPECT_EQ(o.console, c.console) << what;
        EXPECT_EQ(o.listen, c.listen) << what;
        EXPECT_EQ(o.data, c.data) << what;
        EXPECT_EQ(o.port, c.port) << what;
        EXPECT_EQ(o.exportCsv, c.csv) << what;
    }
}

TEST(basCommandLine, TicketsGoToOnePrinterOrOneFolderOnOneOfTwoRolls) {
    struct Case {
        QStringList args;
        QString error; // empty: accepted
        QString printer, folder, paper;
    } cases[] = {
        {{u"--ticket-folder"_s, u"/t"_s}, {}, {}, u"/t"_s, u"80"_s},
        {{u"--print-tickets"_s, u"roll"_s, u"--ticket-paper"_s, u"58"_s}, {}, u"roll"_s, {}, u"58"_s},
        {{u"--ticket-folder"_s, u"/t"_s, u"--print-tickets"_s, u"roll"_s},
         u"exclude each other"_s,
         {},
         {},
         {}},
        {{u"--ticket-folder"_s, u"/t"_s, u"--ticket-paper"_s, u"60"_s}, u"58 or 80"_s, {}, {}, {}},
        {{u"--ticket-paper"_s}, u"needs a value"_s, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const basCommandLine::Options o =
            basCommandLine::parse(QStringList{u"brevanto2"_s, u"--console"_s, u"--data"_s, u"/d"_s} + c.args);
        const std::string what = c.args.join(u' ').toStdString();
        if (!c.error.isEmpty()) {
            EXPECT_TRUE(o.error.contains(c.error)) << what << ": " << o.error.toStdString();
            continue;
        }
        EXPECT_TRUE(o.error.isEmpty()) << what << ": " << o.error.toStdString();
        EXPECT_EQ(o.ticketPrinter, c.printer) << what;
        EXPECT_EQ(o.ticketFolder, c.folder) << what;
        EXPECT_EQ(o.ticketPaper, c.paper) << what;
        EXPECT_TRUE(basCommandLine::printsTickets(o)) << what;
    }
}

TEST(basCommandLine, HelpAndVersionWinOverWhatFollows) {
    struct Case {
        QStringList args;
        bool help, version, ok;
    } cases[] = {
        {{u"brevanto2"_s, u"-h"_s}, true, false, true},
        {{u"brevanto2"_s, u"--help"_s, u"--bogus"_s}, true, false, true},
        {{u"brevanto2"_s, u"--console"_s, u"--version"_s}, false, true, true},
        {{u"brevanto2"_s, u"--bogus"_s, u"--help"_s}, false, false, false},
        {{u"brevanto2"_s, u"--export-csv"_s, u"o.csv"_s, u"--help"_s}, true, false, true},
    };
    for (const Case& c : cases) {
        const basCommandLine::Options o = basCommandLine::parse(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(o.help, c.help) << what;
        EXPECT_EQ(o.version, c.version) << what;
        EXPECT_EQ(o.error.isEmpty(), c.ok) << what;
    }
    const QString window = basCommandLine::usage(u"brevanto2"_s, true);
    const QString console = basCommandLine::usage(u"brevanto2-console"_s, false);
    EXPECT_TRUE(window.startsWith(u"usage: brevanto2 [--data FOLDER] [--port DEVICE] [--settings FILE]\n"_s));
    EXPECT_TRUE(console.startsWith(u"usage: brevanto2-console [--console] --data FOLDER"_s));
    EXPECT_FALSE(console.contains(u"--settings"_s)) << "the console program has no window to set up";
    EXPECT_TRUE(window.contains(u"\n  --settings FILE "_s));
}

TEST(basCommandLine, TheConsoleWithoutAFolderEndsAtOnce) {
    ScriptedPrompt prompt;
    basCommandLine::Options o;
    o.console = true;
    EXPECT_EQ(basCommandLine::runConsole(o, prompt), 2);
    EXPECT_TRUE(prompt.asked().empty());
}

} // namespace
