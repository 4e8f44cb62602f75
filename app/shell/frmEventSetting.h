#pragma once

// Edits the event name and date of the open data folder.

#include <QDialog>

class QLineEdit;
class ctlDataFolder;

class frmEventSetting final : public QDialog {
    Q_OBJECT
public:
    explicit frmEventSetting(ctlDataFolder* DataFolderControl, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmEventSetting)

    QLineEdit* txtName() const { return m_name; }
    QLineEdit* txtDate() const { return m_date; }

    void accept() override;

private:
    ctlDataFolder* m_folder;
    QLineEdit* m_name;
    QLineEdit* m_date;
};
