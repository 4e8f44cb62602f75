#include "TestFolder.h"
#include "basAutomation.h"
#include "basConstants.h"
#include "clsConfigControl.h"
#include "clsQuorvelin2.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

// Every test keeps its settings in a file of its own temporary folder.
class ConfigStore : public ::testing::Test {
protected:
    void SetUp() override { clsConfigControl::setStoreFile(folder.file(u"Veskard/Quorvelin2.ini"_s)); }
    void TearDown() override { clsConfigControl::setStoreFile(QString()); }
    TestFolder folder;
};

TEST_F(ConfigStore, DefaultsNamesAndTheEmptyValueRule) {
    clsQuorvelin2 root;
    clsConfigControl& config = *root.ConfigControl();
    EXPECT_EQ(config.folderName(), u"Quorvelin2"_s);
    EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, u"PRINT_COLOR_RANK1"_s, u"&HCCCCCC"_s), u"&HCCCCCC"_s);
    EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, u"PRINT_COLOR_RANK1"_s), QString());

    config.setValue(QV_CONFIG_FOLDER_DATA, u"print_color_rank1"_s, u"&H123456"_s);
    for (const QString& name : {u"PRINT_COLOR_RANK1"_s, u"Print_Color_Rank1"_s, u"print_color_rank1"_s})
        EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, name, u"&HCCCCCC"_s), u"&H123456"_s)
            << name.toStdString();

    struct Row {
        QString item, defaultOnWrite, written, defaultOnRead, read;
    } rows[] = {
        {u"A"_s, u"35"_s, QString(), u"99"_s, u"35"_s},   // the default written in place of nothing
        {u"B"_s, QString(), QString(), u"15"_s, u"15"_s}, // nothing stored: reads give their default
        {u"C"_s, u"35"_s, u"40"_s, u"99"_s, u"40"_s},
        {u"D"_s, QString(), u"ab\u0000cd"_s, QString(), u"ab"_s},    // read up to the first zero
        {u"E"_s, QString(), u"東京\uD55C"_s, QString(), u"東京?"_s}, // kept in the code page
    };
    for (const Row& r : rows) {
        config.setValue(QV_CONFIG_FOLDER_DATA, r.item, r.defaultOnWrite, r.written);
        EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, r.item, r.defaultOnRead), r.read)
            << r.item.toStdString();
    }
    // Long values are kept whole.
    const QString longValue = QString(700, u'あ');
    config.setValue(QV_CONFIG_FOLDER_SYSTEM, u"LONG"_s, longValue);
    EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_SYSTEM, u"LONG"_s), longValue);
}

TEST_F(ConfigStore, FolderAndSystemSettingsStayApart) {
    {
        clsQuorvelin2 root;
        clsConfigControl& config = *root.ConfigControl();
        config.setValue(QV_CONFIG_FOLDER_SYSTEM, u"Shared"_s, u"s"_s);
        config.setValue(QV_CONFIG_FOLDER_DATA, u"Own"_s, u"first"_s);
        config.ChangeFolder(u"Spring2024"_s);
        EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_SYSTEM, u"SHARED"_s), u"s"_s);
        EXPECT_EQ(config.Value(7, u"SHARED"_s), u"s"_s); // any other kind is the system folder
        EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, u"OWN"_s, u"none"_s), u"none"_s);
        config.setValue(QV_CONFIG_FOLDER_DATA, u"Own"_s, u"second"_s);
        EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_SYSTEM, u"OWN"_s, u"none"_s), u"none"_s);
    }
    // A new root starts in the folder "Quorvelin2" again, and finds what was stored.
    clsQuorvelin2 later;
    clsConfigControl& config = *later.ConfigControl();
    EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, u"OWN"_s), u"first"_s);
    config.ChangeFolder(u"Spring2024"_s);
    EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, u"OWN"_s), u"second"_s);

    // The file keeps the registry's key path and the upper-case value names.
    QSettings file(folder.file(u"Veskard/Quorvelin2.ini"_s), QSettings::IniFormat);
    EXPECT_EQ(file.value(u"SOFTWARE/Veskard/Quorvelin2/SHARED"_s).toString(), u"s"_s);
    EXPECT_EQ(file.value(u"SOFTWARE/Veskard/Quorvelin2/Quorvelin2/OWN"_s).toString(), u"first"_s);
    EXPECT_EQ(file.value(u"SOFTWARE/Veskard/Quorvelin2/Spring2024/OWN"_s).toString(), u"second"_s);
}

// Hosts reach the store by name: Value get and let, with and without a default.
TEST_F(ConfigStore, ByNameAsHostsCallIt) {
    EXPECT_EQ(basAutomation::MemberNames(clsConfigControl::staticMetaObject),
              (QStringList{u"ChangeFolder"_s, u"Value"_s}));
    clsQuorvelin2 root;
    const QVariant config =
        basAutomation::Get(QVariant::fromValue(static_cast<QObject*>(&root)), u"ConfigControl");
    basAutomation::Let(config, u"Value", u"40"_s, {QV_CONFIG_FOLDER_DATA, u"print_class_label_width"_s});
    basAutomation::Let(config, u"Value", QString(), {QV_CONFIG_FOLDER_DATA, u"Size"_s, u"35"_s});
    EXPECT_EQ(basAutomation::Get(config, u"Value", {QV_CONFIG_FOLDER_DATA, u"PRINT_CLASS_LABEL_WIDTH"_s})
                  .toString(),
              u"40"_s);
    EXPECT_EQ(basAutomation::Get(config, u"Value", {QV_CONFIG_FOLDER_DATA, u"SIZE"_s, u"1"_s}).toString(),
              u"35"_s);
    basAutomation::Call(config, u"ChangeFolder", {u"Other"_s});
    EXPECT_EQ(basAutomation::Get(config, u"Value", {QV_CONFIG_FOLDER_DATA, u"SIZE"_s, u"1"_s}).toString(),
              u"1"_s);
}

TEST_F(ConfigStore, AStoreThatCannotBeWrittenLosesWritesAndReadsDefaults) {
    folder.write(u"blocked"_s, "a file where a folder should be");
    clsConfigControl::setStoreFile(folder.file(u"blocked/Quorvelin2.ini"_s));
    clsQuorvelin2 root;
    clsConfigControl& config = *root.ConfigControl();
    config.setValue(QV_CONFIG_FOLDER_DATA, u"X"_s, u"lost"_s);
    EXPECT_EQ(config.Value(QV_CONFIG_FOLDER_DATA, u"X"_s, u"default"_s), u"default"_s);
    EXPECT_FALSE(QFile::exists(folder.file(u"blocked/Quorvelin2.ini"_s)));
}

} // namespace
