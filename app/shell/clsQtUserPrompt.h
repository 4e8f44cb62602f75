#pragma once

// The user-prompt interface answered with real Qt dialogs.

#include "UserPrompt.h"

#include <QPointer>
#include <QWidget>

class clsQtUserPrompt final : public UserPrompt {
public:
    explicit clsQtUserPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    // The chosen file need not exist: a data folder is chosen by naming its Ecard.txt.
    std::optional<QString> openFile(const QString& title, const QString& folder,
                                    const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& suggestedPath,
                                    const QString& filter) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& folder) override;
    void beep() override;

private:
    QPointer<QWidget> m_parent;
};
