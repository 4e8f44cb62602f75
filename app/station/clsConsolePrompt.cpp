#include "clsConsolePrompt.h"

#include <cstdio>

UserPrompt::Answer clsConsolePrompt::message(const QString& text, Buttons buttons, Icon,
                                             const QString& title) {
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
    // The answer a user at an unattended station would give: go on.
    switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Yes;
    case Buttons::RetryCancel:
    case Buttons::AbortRetryIgnore:
        return Cancel;
    default:
        return Ok;
    }
}
