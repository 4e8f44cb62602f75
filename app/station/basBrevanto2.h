#pragma once

// The start procedure of the finish program and the program's version texts.

#include <QString>

#include <functional>
#include <optional>

class UserPrompt;

namespace basBrevanto2 {

inline const QString LibraryMessage =
    QStringLiteral("このプログラムを起動するためにはクォルベリンVer.2.16以降が必要です");

// The program's version: major, ".", minor as two digits ("2.16").
QString programVersion();
// The main window's caption, "BREVANTO Ver." and the version.
QString windowCaption();

// Asks the analysis library for its version text without build; nothing when its root object
// cannot be created.
using VersionSource = std::function<std::optional<QString>()>;

// Steps 1 and 2 of the start: true when the library is there and newer than 2.15; otherwise
// the message with the error icon has been shown.
bool checkAnalysisLibrary(const VersionSource& version, UserPrompt& prompt);

// The whole start: the library check, then the main window run by showMain (its exit code).
// Returns 1 when the check fails, before any window is made.
int startUp(const VersionSource& version, UserPrompt& prompt, const std::function<int()>& showMain);

} // namespace basBrevanto2
