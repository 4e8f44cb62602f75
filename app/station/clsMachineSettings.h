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

    // Lap tickets: "True" prints one after each new read; the printer or the folder they go to
    // (the one set wins, the printer when both are); the roll width "58" or "80" (mm).
    static inline const QString PrintLapTicketValue = QStringLiteral("PrintLapTicket");
    static inline const QString LapTicketPrinterValue = QStringLiteral("LapTicketPrinter");
    static inline const QString LapTicketFolderValue = QStringLiteral("LapTicketFolder");
    static inline const QString LapTicketPaperValue = QStringLiteral("LapTicketPaper");

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
