#pragma once

// The questions logic may put to the user: message boxes, input boxes, file and folder
// choices. The finish program answers them with real dialogs; tests answer them from a script.
// Logic classes take a UserPrompt* and never open a dialog themselves.

#include <QString>
#include <QStringList>

#include <optional>

class UserPrompt {
public:
    // Answers carry the automation runtime's message-box values.
    enum Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
    enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
    enum class Icon { None, Critical, Question, Exclamation, Information };

    virtual ~UserPrompt() = default;

    virtual Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) = 0;
    // An input box: the text typed, or nothing when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // File and folder choices: the chosen path, or nothing when the user cancels.
    // filter uses the dialogs' form "Text (*.txt);;All (*)".
    virtual std::optional<QString> openFile(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(const QString& title, const QString& suggestedPath,
                                            const QString& filter) = 0;
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& folder) = 0;
    virtual void beep() {}
};
