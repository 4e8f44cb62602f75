#pragma once

#include "FileControlHost.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The file control's host for the finish program: a modeless progress window, the archive
// window and message boxes, all owned by the given parent window.
class clsWidgetFileHost : public FileControlHost {
public:
    explicit clsWidgetFileHost(QWidget* parent = nullptr);
    ~clsWidgetFileHost() override;

    void showProgress() override;
    void setProgress(int percent) override;
    void closeProgress() override;
    std::optional<QString> chooseFile(const QString& folder, const QStringList& files) override;
    void message(const QString& text, const QString& title) override;

private:
    QWidget* m_parent;
    QPointer<QProgressDialog> m_progress;
};
