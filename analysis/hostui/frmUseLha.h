#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;

// The archive window: lists the lap files an archive held and lets the user pick one.
class frmUseLha : public QDialog {
    Q_OBJECT
public:
    explicit frmUseLha(QWidget* parent = nullptr);

    // Shows the files modally; the chosen name, or nothing when the user cancels or confirms
    // without a selection.
    std::optional<QString> ChooseFile(const QStringList& files);

    QListWidget* lstFile() const { return m_lstFile; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

private:
    void cmdOK_Click();

    QLabel* m_label;
    QListWidget* m_lstFile;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdCancel;
    QString m_chosen;
};
