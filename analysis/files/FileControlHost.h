#pragma once
// What the file control asks of its host while it works: a progress display, the choice among
// the lap files an archive held, and a message to the user. The library itself shows no window;
// without a host it works silently (no progress display, the first file chosen, the message
// kept as the error comment).

#include "Quorvelin2Global.h"

#include <QString>
#include <QStringList>

#include <optional>

class QV_EXPORT FileControlHost {
public:
    virtual ~FileControlHost() = default;
    // A modeless progress display; shown only when the control's ProgressVisible is set.
    virtual void showProgress() = 0;
    virtual void setProgress(int percent) = 0;
    virtual void closeProgress() = 0;
    // The archive window: the lap files found in folder; the chosen name, or nothing when the
    // user cancels.
    virtual std::optional<QString> chooseFile(const QString& folder, const QStringList& files) = 0;
    // A message box with an OK button; title is the host application's title.
    virtual void message(const QString& text, const QString& title) = 0;
};
