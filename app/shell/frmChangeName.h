#pragma once

// Changes the name of a card's runner: in either Name.csv, or for this one read only.

#include <QDialog>

#include <memory>

class QLineEdit;
class QRadioButton;
class clsEcardTagData;
class frmMain;

class frmChangeName final : public QDialog {
    Q_OBJECT
public:
    frmChangeName(frmMain* main, std::shared_ptr<clsEcardTagData> tag, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmChangeName)

    QLineEdit* txtName() const { return m_name; }
    QLineEdit* txtClub() const { return m_club; }
    QRadioButton* optDataFolder() const { return m_dataFolder; }
    QRadioButton* optApplicationFolder() const { return m_applicationFolder; }
    QRadioButton* optThisRead() const { return m_thisRead; }

    void accept() override;

private:
    frmMain* m_main;
    std::shared_ptr<clsEcardTagData> m_tag;
    QLineEdit* m_name;
    QLineEdit* m_club;
    QRadioButton* m_dataFolder;
    QRadioButton* m_applicationFolder;
    QRadioButton* m_thisRead;
};
