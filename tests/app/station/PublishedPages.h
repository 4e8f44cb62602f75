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
    QMap<QString, int> positionOf; // shown title -> course position, classes with results only
    const auto& courses = *station.CourseDataTable();
    for (int k = 1; k <= courses.CourseCount(); ++k) {
        const auto list = station.ResultManager()->ResultList(k);
        if (list && list->Count() > 0)
            positionOf.insert(basText::toWide(courses.CourseData(k)->CourseName()), k);
    }
    ASSERT_EQ(linked.size(), positionOf.size()) << index.toStdString();
    int checked = 0;
    for (const QString& name : std::as_const(linked)) {
        const QString page = readPage(dir.filePath(name));
        ASSERT_TRUE(page.contains(QStringLiteral("<meta http-equiv=\"refresh\" content=\"30\">")))
            << name.toStdString();
        static const QRegularExpression title(QStringLiteral("<b>&nbsp;(.*?)</b>"));
        const QString shown = fromHtml(title.match(page).captured(1));
        ASSERT_TRUE(positionOf.contains(shown)) << "a page of no class with results: " << shown.toStdString();
        const auto list = station.ResultManager()->ResultList(positionOf.value(shown));
        const QList<QStringList> shownRows = rows(page, QStringLiteral("r-(?:odd|even)"));
        ASSERT_EQ(shownRows.size(), list->Count()) << shown.toStdString();
        for (int i = 1; i <= list->Count(); ++i) {
            const auto r = list->ObjectItem<clsResultData>(i);
            const QStringList& cells = shownRows[i - 1];
            ASSERT_EQ(cells.size(), 6);
            EXPECT_EQ(cells[0], r->Rank()) << shown.toStdString() << " row " << i;
            EXPECT_EQ(cells[2], r->RunnerName().trimmed()) << shown.toStdString() << " row " << i;
            // The library keeps a result written as a time in its own time form.
            clsLapData handedOver;
            handedOver.setResult(r->Result());
            EXPECT_EQ(cells[3], handedOver.Result()) << shown.toStdString() << " row " << i;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// The latest-reads page's rows (time, name, class, result, rank).
inline QList<QStringList> latestRows(const QString& folder) {
    return rows(readPage(QDir(folder).filePath(clsLivePublisher::LatestFile), true), QStringLiteral("l-"))
        .mid(1); // the head row
}

} // namespace publishedpages
