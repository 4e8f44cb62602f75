#pragma once

// Changes the name of a card's runner: in either Name.csv, or for this one read only.

#include "clsFinishStation.h"
#include "clsNameData.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QRadioButton;

class frmChangeName final : public QDialog {
    Q_OBJECT
public:
    // Stores the typed name where chosen; false when it could not (the dialog then stays open).
    using Store =
        std::function<bool(clsFinishStation::NameTarget, const QString& RunnerName, const QString& ClubName)>;

    // name: the name that applies to the read now (none: empty fields).
    frmChangeName(const clsNameDataPtr& name, Store store, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmChangeName)

    QLineEdit* txtName() const { return m_name; }
    QLineEdit* txtClub() const { return m_club; }
    QRadioButton* optDataFolder() const { return m_dataFolder; }
    QRadioButton* optApplicationFolder() const { return m_applicationFolder; }
    QRadioButton* optThisRead() const { return m_thisRead; }

    void accept() override;

private:
    Store m_store;
    QLineEdit* m_name;
    QLineEdit* m_club;
    QRadioButton* m_dataFolder;
    QRadioButton* m_applicationFolder;
    QRadioButton* m_thisRead;
};
