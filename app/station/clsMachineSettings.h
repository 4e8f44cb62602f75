#pragma once

// The finish program's machine-wide settings: named text values under one key of the
// per-machine store (the registry on Windows, a settings file on other systems).

#include <QString>

#include <memory>

class QSettings;

class clsMachineSettings final {
public:
    static inline const QString Key = QStringLiteral("SOFTWARE\\Veskard\\Brevanto\\2.0");
    static inline const QString ComPortValue = QStringLiteral("ComPort");
    static inline const QString OpenLastFolderValue = QStringLiteral("OpenLastFolder");
    static inline const QString LastFolderValue = QStringLiteral("LastFolder");
    // Live results: on ("True"/"False"), the folder, and the analysis pages too.
    static inline const QString PublishResultsValue = QStringLiteral("PublishResults");
    static inline const QString PublishFolderValue = QStringLiteral("PublishFolder");
    static inline const QString PublishAnalysisValue = QStringLiteral("PublishAnalysis");

    // The settings file of this user (BREVANTO2_SETTINGS names another one).
    static QString defaultFile();

    // An empty file name uses the platform's store (the file of defaultFile() off Windows).
    explicit clsMachineSettings(const QString& file = QString());
    ~clsMachineSettings();
    clsMachineSettings(const clsMachineSettings&) = delete;
    clsMachineSettings& operator=(const clsMachineSettings&) = delete;

    // A missing value reads as empty text; at most 1024 characters, up to the first NUL.
    QString value(const QString& name) const;
    // Failures of the store are not reported.
    void setValue(const QString& name, const QString& text);
    // Makes sure the key exists.
    void ensureKey();

    QString file() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
