// quorvelin2 text and grid as a user runs them: the real program, its exit status and its bytes.
#include "TestFolder.h"
#include "basText.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QString err;
};

ToolRun quorvelin2(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(QUORVELIN2_CLI), arguments);
    ToolRun r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString crlf(QString lines) {
    return lines.replace(u"\n"_s, u"\r\n"_s);
}

// A text lap file (Windows-31J, CR LF) of two classes over two controls.
QString writeEvent(const TestFolder& folder, const QString& extraHeader = QString(),
                   const QString& extraRows = QString()) {
    const QString text =
        crlf(u"$LAPFILE Ver=2\n$LAPFILE Rev=3\n$名称=春の大会\n$日時=2024/04/21\n$場所=\n$備考=\n"
             u"$公式サイト=\n$ファイル名キーワード=spring\n"
             u"$距離:M21=3200\n$登距離:M21=120\n$コントロール数:M21=2\n$コース番号:M21=1\n"
             u"$距離:W21=2500\n$登距離:W21=0\n$コントロール数:W21=2\n$コース番号:W21=2\n"_s +
             extraHeader +
             u"\nクラス,名前,所属,シード,性別,スタート時刻,総タイム,順位,△→１,１→２,２→◎\n"
             u"M21,山田太郎,OLC,,,10:00:00,0:20:00,,00:05:00,00:06:40,00:08:20\n"
             u"M21,Suzuki,Tokyo OL,,,－,0:21:10,,00:05:30,00:06:20,00:09:20\n"
             u"\nクラス,名前,所属,シード,性別,スタート時刻,総タイム,順位,△→１,１→２,２→◎\n"
             u"W21,ｽｽﾞｷ ﾊﾅｺ,京葉OL,,,－,0:19:30,,00:05:00,00:06:00,00:08:30\n"
             u"W21,佐藤,A,,,－,DNF,,00:05:10,n/a,00:08:00\n"_s +
             extraRows);
    return folder.write(u"spring.lap"_s, basText::toWindows31J(text));
}

const QString VennelHead = u"クラス,氏名,所属,順位,記録,スタート時刻,→１,→２,→◎\n"_s;

TEST(Quorvelin2CliText, EveryClassItsOwnDataSetInWindows31J) {
    TestFolder folder;
    const QString input = writeEvent(folder);
    const ToolRun r = quorvelin2({u"text"_s, u"vennel"_s, input});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, basText::toWindows31J(crlf(
                         VennelHead +
                         u"M21,山田太郎,OLC,1,0:20:00,10:00:00,00:05:00,00:11:40,00:20:00\n"
                         u"M21,Suzuki,Tokyo OL,2,0:21:10,－,00:05:30,00:11:50,00:21:10\n"_s +
                         VennelHead + u"W21,ｽｽﾞｷ ﾊﾅｺ,京葉OL,1,0:19:30,－,00:05:00,00:11:00,00:19:30\n"_s)));
}

TEST(Quorvelin2CliText, ClassesMakeOneDataSetWrittenWhereAsked) {
    TestFolder folder;
    const QString input = writeEvent(folder);
    const QString expected = crlf(u"W21/M21,2\n"
                                  u"ｽｽﾞｷ ﾊﾅｺ,,京葉OL,9:00:00,5:00,6:00,8:30\n"
                                  u"山田太郎,,OLC,10:00:00,5:00,6:40,8:20\n"
                                  u"Suzuki,,Tokyo OL,9:00:00,5:30,6:20,9:20\n"_s);
    // By name and by position, to standard output in UTF-8 and to a file in Windows-31J.
    const ToolRun utf8 = quorvelin2({u"text"_s, u"splitsbrowser"_s, input, u"--class"_s, u"W21"_s,
                                     u"--class"_s, u"1"_s, u"--encoding"_s, u"utf-8"_s});
    ASSERT_EQ(utf8.status, 0) << utf8.err.toStdString();
    EXPECT_EQ(utf8.out, expected.toUtf8());
    const QString output = folder.file(u"sb.csv"_s);
    const ToolRun file = quorvelin2({u"text"_s, u"splitsbrowser"_s, u"--class"_s, u"w21"_s, u"--class"_s,
                                     u"M21"_s, u"--output"_s, output, input});
    ASSERT_EQ(file.status, 0) << file.err.toStdString();
    EXPECT_TRUE(file.out.isEmpty());
    EXPECT_EQ(folder.read(u"sb.csv"_s), basText::toWindows31J(expected));

    const ToolRun result = quorvelin2({u"text"_s, u"result"_s, input, u"--class"_s, u"W21"_s, u"--class"_s,
                                       u"M21"_s, u"--encoding"_s, u"utf-8"_s});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, crlf(u"* W21/M21 3200m ↑120m\n"
                               u"     1 (W21     )    ｽｽﾞｷ ﾊﾅｺ         0:19:30  京葉OL\n"
                               u"     2 (M21     )    山田太郎         0:20:00  OLC\n"
                               u"     3 (M21     )    Suzuki           0:21:10  Tokyo OL\n"
                               u"       (W21     )    佐藤                 DNF  A\n"
                               u"\n"_s)
                              .toUtf8());
}

TEST(Quorvelin2CliText, MistakesAndFailuresHaveTheirExitStatus) {
    TestFolder folder;
    const QString input = writeEvent(folder, u"$コントロール数:Long=31\n"_s,
                                     u"\nクラス,名前,所属,シード,性別,スタート時刻,総タイム,順位,△→１,１→◎\n"
                                     u"Long,x,,,,－,0:10:00,,00:05:00,00:05:00\n"_s);
    struct Row {
        QStringList arguments;
        int status;
        QString says;
    } rows[] = {
        {{u"text"_s, u"mail"_s, input, u"--class"_s, u"M99"_s}, 2, u"no class \"M99\""_s},
        {{u"text"_s, u"poem"_s, input}, 2, u"unknown text kind \"poem\""_s},
        {{u"text"_s, u"mail"_s}, 2, u"text needs a kind"_s},
        {{u"text"_s, u"mail"_s, input, u"--encoding"_s, u"latin1"_s}, 2, u"unknown encoding \"latin1\""_s},
        {{u"grid"_s, input, u"--class"_s, u"9"_s}, 2, u"no class \"9\""_s},
        {{u"grid"_s}, 2, u"grid needs at least one input"_s},
        {{u"text"_s, u"mail"_s, input, u"--class"_s, u"Long"_s}, 1, u"class Long: "_s},
        {{u"text"_s, u"mail"_s, input}, 1, u"class Long: "_s},
        {{u"grid"_s, input, u"--class"_s, u"Long"_s}, 1, u"class Long: "_s},
        {{u"text"_s, u"mail"_s, folder.file(u"missing.lap"_s)}, 1, u"missing.lap"_s},
        {{u"text"_s, u"result"_s, input, u"--output"_s, folder.file(u"no/such/folder/x.txt"_s)},
         1,
         u"x.txt"_s},
    };
    for (const Row& row : rows) {
        const ToolRun r = quorvelin2(row.arguments);
        EXPECT_EQ(r.status, row.status) << row.arguments.join(u' ').toStdString() << "\n"
                                        << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(row.says)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << row.arguments.join(u' ').toStdString();
    }
    // 31 controls are more than the runners' leg tables hold: the exports fail as well, by name.
    const ToolRun vennel = quorvelin2({u"text"_s, u"vennel"_s, input, u"--class"_s, u"Long"_s});
    EXPECT_EQ(vennel.status, 1);
    EXPECT_TRUE(vennel.err.contains(u"class Long: Subscript out of range"_s)) << vennel.err.toStdString();
    const ToolRun help = quorvelin2({u"--help"_s});
    EXPECT_TRUE(QString::fromUtf8(help.out).contains(u"quorvelin2 text KIND"_s));
    EXPECT_TRUE(QString::fromUtf8(help.out).contains(u"quorvelin2 grid"_s));
}

TEST(Quorvelin2CliText, GridPrintsRowsCellsAndColourKinds) {
    TestFolder folder;
    const QString input = writeEvent(folder);
    const ToolRun r =
        quorvelin2({u"grid"_s, input, u"--class"_s, u"M21"_s, u"--colors"_s, u"--encoding"_s, u"utf-8"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(u"\r\n"_s);
    // rows=27 cols=3, 27 rows of cells, "colors", 27 rows of colour kinds, and the last CR LF.
    ASSERT_EQ(lines.size(), 1 + 27 + 1 + 27 + 1) << r.out.toStdString();
    EXPECT_EQ(lines[0], u"rows=27 cols=3"_s);
    EXPECT_EQ(lines[1], u"氏名\t山田太郎\tSuzuki"_s);
    EXPECT_EQ(lines[1 + 5], u"△→１\t  1)   5:00\t  2)   5:30"_s);
    EXPECT_EQ(lines[28], u"colors"_s);
    EXPECT_EQ(lines[29], u"1\t0\t0"_s);
    EXPECT_EQ(lines[29 + 5], u"5\t20\t21"_s);
    EXPECT_EQ(lines.last(), QString());

    // Without --class one grid follows another, in class order, in Windows-31J.
    const ToolRun both = quorvelin2({u"grid"_s, input});
    ASSERT_EQ(both.status, 0);
    const QString text = basText::fromWindows31J(both.out);
    EXPECT_EQ(text.count(u"rows=27 cols=3\r\n"_s), 2);
    EXPECT_TRUE(text.contains(u"\r\n氏名\tｽｽﾞｷﾊﾅｺ\t佐藤\r\n"_s)) << text.toStdString();
}

} // namespace
