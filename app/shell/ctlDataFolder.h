#pragma once

// Shows the current data folder and the event name, lets the user choose the folder, and reads
// and writes the event settings of Brevanto2.ini.

#include "basPenacheckRule.h"

#include <QFrame>
#include <QString>

#include <functional>

class QLabel;
class UserPrompt;
class clsMachineSettings;

class ctlDataFolder final : public QFrame {
    Q_OBJECT
public:
    static inline const QString InviteText = QStringLiteral("フォルダを選択してください");

    ctlDataFolder(UserPrompt* prompt, clsMachineSettings* settings, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ctlDataFolder)

    // Opens a data folder; an empty path asks the user first. Returns false when nothing opened.
    bool SelectFolder(const QString& PathName);
    QString FolderName() const { return m_folder; }
    void SetEventSetting(const QString& NewEventName, double NewEventDate);
    QString EventName() const { return m_eventName; }
    double EventDate() const { return m_eventDate; }
    qint32 PenacheckRule() const { return m_rule; }
    void setPenacheckRule(qint32 value);

    // The file manager command; tests replace it. Returns the error text, empty on success.
    using Opener = std::function<QString(const QString& folder)>;
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    // Shows the folder in the file manager, as a click on "開く" does.
    void showInFileManager();

signals:
    void Opened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void writeSettings();
    void showState();

    UserPrompt* m_prompt;
    clsMachineSettings* m_settings;
    QString m_folder;
    QString m_eventName;
    double m_eventDate = 0;
    qint32 m_rule = basPenacheckRule::BestFitting;
    Opener m_opener;

    QLabel* m_picture;
    QLabel* m_folderLabel;
    QLabel* m_eventLabel;
    QLabel* m_selectCaption;
    QLabel* m_openCaption;
};
