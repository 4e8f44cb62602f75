#include "TestFolder.h"
#include "basFileName.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(basFileName, NameRules) {
    struct Case {
        QString name;
        QString extension;
        QString filePart;
        QString withoutExtension;
        QString folder;
    };
    const std::vector<Case> cases = {
        {u"C:\\data\\event.LXM"_s, u"lxm"_s, u"event.LXM"_s, u"C:\\data\\event"_s, u"C:\\data\\"_s},
        {u"/tmp/a.b/event"_s, QString(), u"event"_s, u"/tmp/a.b/event"_s, u"/tmp/a.b/"_s},
        {u"archive.tar.lzh"_s, u"lzh"_s, u"archive.tar.lzh"_s, u"archive.tar"_s, QString()},
        {u"C:event.lap"_s, u"lap"_s, u"event.lap"_s, u"C:event"_s, u"C:"_s},
        {u"dir.x\\noext"_s, QString(), u"noext"_s, u"dir.x\\noext"_s, u"dir.x\\"_s},
        {u"trailing."_s, QString(), u"trailing."_s, u"trailing"_s, QString()},
        {u"*.lap"_s, u"lap"_s, u"*.lap"_s, u"*"_s, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(basFileName::Extension(c.name), c.extension);
        EXPECT_EQ(basFileName::FileNamePart(c.name), c.filePart);
        EXPECT_EQ(basFileName::WithoutExtension(c.name), c.withoutExtension);
        EXPECT_EQ(basFileName::FolderPart(c.name), c.folder);
    }
}

TEST(basFileName, AFolderHasNoExtension) {
    TestFolder folder;
    folder.write(u"event.lzh/inner.txt"_s, "x");
    EXPECT_EQ(basFileName::Extension(folder.file(u"event.lzh"_s)), QString());
    EXPECT_EQ(basFileName::Extension(folder.file(u"event.lzh/inner.txt"_s)), u"txt"_s);
}

TEST(basFileName, TrailingSeparator) {
    EXPECT_EQ(basFileName::WithTrailingSeparator(u"/tmp"_s), u"/tmp/"_s);
    EXPECT_EQ(basFileName::WithTrailingSeparator(u"/tmp/"_s), u"/tmp/"_s);
    EXPECT_EQ(basFileName::WithTrailingSeparator(u"C:\\tmp\\"_s), u"C:\\tmp\\"_s);
}
