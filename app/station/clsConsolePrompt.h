#pragma once

// The user-prompt interface without a screen: messages go to the error stream and questions
// get no answer, as a cancelled dialog.

#include "UserPrompt.h"

class clsConsolePrompt final : public UserPrompt {
public:
    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return std::nullopt; }
};
