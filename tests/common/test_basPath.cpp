#include "basPath.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(basPath, FolderOfAChosenPath) {
    struct Case {
        QString path, folder;
    } cases[] = {
        {u"/data/event/Ecard.txt"_s, u"/data/event/"_s},
        {u"/data/event/"_s, u"/data/event/"_s},
        {u"C:\\event\\Ecard.txt"_s, u"C:\\event\\"_s},
        {u"C:Ecard.txt"_s, u"C:/"_s},
        // A chosen path counts its later separator, whichever kind it is.
        {u"/data/a\\b/Ecard.txt"_s, u"/data/a\\b/"_s},
        {u"C:\\data/event\\Ecard.txt"_s, u"C:\\data/event\\"_s},
        {u"Ecard.txt"_s, u"/"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basPath::folderOf(c.path), c.folder) << c.path.toStdString();
}

TEST(basPath, NamePartsPreferTheBackslash) {
    struct Case {
        QString name, filePart, folder;
    } cases[] = {
        {u"C:\\data\\event.lxm"_s, u"event.lxm"_s, u"C:\\data\\"_s},
        {u"/tmp/a.b/event"_s, u"event"_s, u"/tmp/a.b/"_s},
        {u"C:event.lap"_s, u"event.lap"_s, u"C:"_s},
        {u"plain.lap"_s, u"plain.lap"_s, QString()},
        // Names written on Windows: a backslash wins over a later slash.
        {u"a\\b/c.lap"_s, u"b/c.lap"_s, u"a\\"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(basPath::fileNamePart(c.name), c.filePart) << c.name.toStdString();
        EXPECT_EQ(basPath::folderPart(c.name), c.folder) << c.name.toStdString();
    }
    EXPECT_EQ(basPath::withTrailingSeparator(u"/tmp"_s), u"/tmp/"_s);
    EXPECT_EQ(basPath::withTrailingSeparator(u"C:\\tmp\\"_s), u"C:\\tmp\\"_s);
}
