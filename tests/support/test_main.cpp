// One application object for the whole test run, on the offscreen platform, with every
// setting and file of the run kept in a folder of the process's own under the build folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdio>

#ifdef BREVANTO_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // CTest runs test programs side by side: each gets its own TMPDIR and HOME, so what the
    // code under test, its child programs and Qt's test mode write stays apart and goes at exit.
    const QString base = QStringLiteral(BREVANTO_BINARY_DIR "/Testing/tmp");
    QDir().mkpath(base);
    const QString program = QFileInfo(QFile::decodeName(argv[0])).fileName();
    QTemporaryDir own(base + u'/' + program + QStringLiteral("-XXXXXX"));
    if (!own.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder in %s\n", qPrintable(base));
        return 2;
    }
    qputenv("TMPDIR", QFile::encodeName(own.path()));
    qputenv("HOME", QFile::encodeName(own.filePath(QStringLiteral("home"))));
    QDir().mkpath(own.filePath(QStringLiteral("home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(own.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(own.filePath(QStringLiteral("data"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(own.filePath(QStringLiteral("cache"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.filePath(QStringLiteral("runtime"))));
    QDir().mkpath(own.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(own.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
