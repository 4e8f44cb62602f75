#pragma once

// Reads a folder of published results back and holds it against the station's result lists.

#include "basText.h"
#include "clsCourseDataTable.h"
#include "clsFinishStation.h"
#include "clsLapData.h"
#include "clsLivePublisher.h"
#include "clsResultManager.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace publishedpages {

inline QString fromHtml(QString text) {
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    text.remove(tags);
    return text.replace(QStringLiteral("&nbsp;"), QString())
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
        .trimmed();
}

// The cells of the rows whose class starts with rowClass, as plain texts.
inline QList<QStringList> rows(const QString& page, const QString& rowClass) {
    QList<QStringList> out;
    const QRegularExpression row(QStringLiteral("<tr[^>]*class=\"") + rowClass +
                                     QStringLiteral("[^\"]*\"[^>]*>(.*?)</tr>"),
                                 QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (auto r = row.globalMatch(page); r.hasNext();) {
        QStringList cells;
        const QString inner = r.next().captured(1);
        for (auto c = cell.globalMatch(inner); c.hasNext();)
            cells << fromHtml(c.next().captured(1));
        out << cells;
    }
    return out;
}

inline QString readPage(const QString& path, bool utf8 = false) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = f.readAll();
    return utf8 ? QString::fromUtf8(bytes) : basText::fromWindows31J(bytes);
}

// Every class with results has a result page linked from the index, showing the list's rank,
// name and result in the list's order; no other result page is linked.
inline void expectPagesAgreeWithLists(const QString& folder, const clsFinishStation& station) {
    const QDir dir(folder);
    const QString index = readPage(dir.filePath(clsLivePublisher::IndexFile));
    ASSERT_TRUE(index.endsWith(QStringLiteral("</html>"))) << folder.toStdString();
    static const QRegularExpression link(QStringLiteral("href=\"([^\"]*_result\\.html)\""));
    QStringList linked;
    for (auto m = link.globalMatch(index); m.hasNext();)
        linked << m.next().captured(1);

    // Shown title -> the list's rows as "rank|name|result"; a result without a text is not shown.
    QMap<QString, QStringList> expected;
    const auto& courses = *station.CourseDataTable();
    for (int k = 1; k <= courses.CourseCount(); ++k) {
        const auto list = station.ResultManager()->ResultList(k);
        QStringList rows;
        for (int i = 1; list && i <= list->Count(); ++i) {
            const auto r = list->ObjectItem<clsResultData>(i);
            if (r->Result().isEmpty())
                continue;
            // The library keeps a result written as a time in its own time form.
            clsLapData handedOver;
            handedOver.setResult(r->Result());
            rows << r->Rank() + u'|' + r->RunnerName().trimmed() + u'|' + handedOver.Result();
        }
        if (!rows.isEmpty())
            expected.insert(basText::toWide(courses.CourseData(k)->CourseName()), rows);
    }
    QMap<QString, QStringList> shown;
    for (const QString& name : std::as_const(linked)) {
        const QString page = readPage(dir.filePath(name));
        EXPECT_TRUE(page.contains(QStringLiteral("<meta http-equiv=\"refresh\" content=\"30\">")))
            << name.toStdString();
        static const QRegularExpression title(QStringLiteral("<b>&nbsp;(.*?)</b>"));
        QStringList rows;
        double lastRank = 0;
        for (const QStringList& cells : publishedpages::rows(page, QStringLiteral("r-(?:odd|even)"))) {
            ASSERT_EQ(cells.size(), 6) << name.toStdString();
            rows << cells[0] + u'|' + cells[2] + u'|' + cells[3];
            // Ranked runners in rank order; among equal ranks either system may list either first.
            bool numeric = false;
            const double rank = cells[0].toDouble(&numeric);
            if (numeric) {
                EXPECT_GE(rank, lastRank) << name.toStdString();
                lastRank = rank;
            }
        }
        shown.insert(fromHtml(title.match(page).captured(1)), rows);
    }
    EXPECT_EQ(shown.keys(), expected.keys()) << "the result pages linked from the index";
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        QStringList want = it.value(), got = shown.value(it.key());
        want.sort();
        got.sort();
        EXPECT_EQ(got, want) << it.key().toStdString();
    }
    EXPECT_FALSE(expected.isEmpty());
}

// The latest-reads page's rows (time, name, class, result, rank).
inline QList<QStringList> latestRows(const QString& folder) {
    return rows(readPage(QDir(folder).filePath(clsLivePublisher::LatestFile), true), QStringLiteral("l-"))
        .mid(1); // the head row
}

} // namespace publishedpages
