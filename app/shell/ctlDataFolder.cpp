#include "ctlDataFolder.h"

#include "UserPrompt.h"
#include "basPath.h"
#include "clsEventSettingFile.h"
#include "clsMachineSettings.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QLabel* clickable(QLabel* label, QObject* filter) {
    label->installEventFilter(filter);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

ctlDataFolder::ctlDataFolder(UserPrompt* prompt, clsMachineSettings* settings, QWidget* parent)
    : QFrame(parent), m_prompt(prompt), m_settings(settings),
      m_eventName(clsEventSettingFile::DefaultEventName) {
    setFrameShape(QFrame::StyledPanel);
    m_opener = [](const QString& folder) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(folder))
                   ? QString()
                   : u"ファイルマネージャを起動できません: "_s + folder;
    };
    m_picture = new QLabel(this);
    m_picture->setPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(32, 32));
    m_folderLabel = new QLabel(this);
    m_folderLabel->setTextInteractionFlags(Qt::NoTextInteraction);
    m_eventLabel = new QLabel(this);
    QFont big = m_eventLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_eventLabel->setFont(big);
    m_selectCaption = new QLabel(u"フォルダを選択"_s, this);
    m_openCaption = new QLabel(u"開く"_s, this);
    for (QLabel* l : {m_picture, m_folderLabel, m_selectCaption, m_openCaption})
        clickable(l, this);
    installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_picture, 0, 0, 2, 1);
    grid->addWidget(m_eventLabel, 0, 1);
    grid->addWidget(m_folderLabel, 1, 1);
    grid->addWidget(m_selectCaption, 0, 2);
    grid->addWidget(m_openCaption, 1, 2);
    grid->setColumnStretch(1, 1);
    showState();
}

bool ctlDataFolder::SelectFolder(const QString& PathName) {
    QString path = PathName;
    if (path.isEmpty()) {
        const QString last = m_settings->value(clsMachineSettings::LastFolderValue);
        const QString initial = last.isEmpty() ? u"Ecard.txt"_s : last + u"Ecard.txt"_s;
        const auto chosen =
            m_prompt->openFile(u"データフォルダ選択"_s, initial, u"Ｅカード記録ファイル (Ecard.txt)"_s);
        if (!chosen || chosen->isEmpty())
            return false;
        path = *chosen;
    }
    m_folder = basPath::folderOf(path);
    m_settings->setValue(clsMachineSettings::LastFolderValue, m_folder);
    const clsEventSettingFile ini = clsEventSettingFile::read(m_folder);
    m_eventName = ini.EventName;
    m_eventDate = ini.EventDate;
    m_rule = ini.PenacheckRule;
    showState();
    emit Opened();
    return true;
}

void ctlDataFolder::SetEventSetting(const QString& NewEventName, double NewEventDate) {
    m_eventName = NewEventName;
    m_eventDate = NewEventDate;
    showState();
    writeSettings();
}

void ctlDataFolder::setPenacheckRule(qint32 value) {
    m_rule = value;
    writeSettings();
}

void ctlDataFolder::writeSettings() {
    if (m_folder.isEmpty())
        return;
    clsEventSettingFile ini;
    ini.EventName = m_eventName;
    ini.EventDate = m_eventDate;
    ini.PenacheckRule = m_rule;
    const basTextFile::Result r = ini.write(m_folder);
    if (!r)
        m_prompt->message(r.error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
}

void ctlDataFolder::showInFileManager() {
    if (m_folder.isEmpty())
        return;
    const QString error = m_opener(m_folder);
    if (!error.isEmpty())
        m_prompt->message(error, UserPrompt::Buttons::Ok, UserPrompt::Icon::Exclamation, QString());
}

void ctlDataFolder::showState() {
    const bool open = !m_folder.isEmpty();
    m_folderLabel->setText(open ? QDir::toNativeSeparators(m_folder) : InviteText);
    m_eventLabel->setText(open ? m_eventName : QString());
    m_picture->setVisible(open);
    m_openCaption->setVisible(open);
}

bool ctlDataFolder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return QFrame::eventFilter(watched, event);
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
    const bool open = !m_folder.isEmpty();
    if (watched == m_selectCaption) {
        SelectFolder(QString());
        return true;
    }
    if (watched == m_openCaption || watched == m_picture) {
        showInFileManager();
        return true;
    }
    if ((watched == m_folderLabel || watched == this) && !open) {
        SelectFolder(QString());
        return true;
    }
    return false;
}
