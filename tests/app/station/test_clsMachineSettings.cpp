#include "TestFolder.h"
#include "clsMachineSettings.h"

#include <QSettings>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes a raw value under the key as another program (or a person) might have left it.
void writeRaw(const QString& file, const QString& name, const QString& value) {
    QSettings raw(file, QSettings::IniFormat);
    raw.beginGroup(u"SOFTWARE/Veskard/Brevanto/2.0"_s);
    raw.setValue(name, value);
}

TEST(clsMachineSettings, ReadsStoredValuesWithTheStoresLimits) {
    struct Case {
        const char* what;
        std::optional<QString> stored;
        QString expected;
    } cases[] = {
        {"missing value", std::nullopt, QString()},
        {"plain text", u"/data/event/"_s, u"/data/event/"_s},
        {"text after a NUL is dropped", u"True"_s + QChar(u'\0') + u"junk"_s, u"True"_s},
        {"long text is cut to 1024", QString(1500, u'x'), QString(1024, u'x')},
        {"Japanese folder name", u"/ホーム/大会/"_s, u"/ホーム/大会/"_s},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        const QString file = dir.file(u"settings.conf"_s);
        if (c.stored)
            writeRaw(file, u"LastFolder"_s, *c.stored);
        clsMachineSettings settings(file);
        EXPECT_EQ(settings.value(clsMachineSettings::LastFolderValue), c.expected) << c.what;
    }
}

TEST(clsMachineSettings, WrittenValuesSurviveANewInstanceAndCreateTheFile) {
    TestFolder dir;
    const QString file = dir.file(u"sub/folder/settings.conf"_s);
    {
        clsMachineSettings settings(file);
        settings.setValue(clsMachineSettings::ComPortValue, u"3"_s);
        settings.setValue(clsMachineSettings::OpenLastFolderValue, u"True"_s);
    }
    EXPECT_TRUE(QFile::exists(file));
    clsMachineSettings again(file);
    EXPECT_EQ(again.value(u"ComPort"_s), u"3"_s);
    EXPECT_EQ(again.value(u"OpenLastFolder"_s), u"True"_s);
    // The values sit under the program's key, not at the top of the store.
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value(u"SOFTWARE/Veskard/Brevanto/2.0/ComPort"_s).toString(), u"3"_s);
}

TEST(clsMachineSettings, EnvironmentNamesTheDefaultFile) {
    qputenv("BREVANTO2_SETTINGS", "/tmp/elsewhere/b2.conf");
    EXPECT_EQ(clsMachineSettings::defaultFile(), u"/tmp/elsewhere/b2.conf"_s);
    qunsetenv("BREVANTO2_SETTINGS");
    EXPECT_TRUE(clsMachineSettings::defaultFile().endsWith(u"Veskard/Brevanto2.conf"_s));
}

} // namespace
