#include "clsQtUserPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace {

QMessageBox::StandardButtons standardButtons(UserPrompt::Buttons buttons) {
    using B = UserPrompt::Buttons;
    switch (buttons) {
    case B::Ok:
        return QMessageBox::Ok;
    case B::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case B::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case B::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case B::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case B::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(UserPrompt::Icon icon) {
    using I = UserPrompt::Icon;
    switch (icon) {
    case I::None:
        return QMessageBox::NoIcon;
    case I::Critical:
        return QMessageBox::Critical;
    case I::Question:
        return QMessageBox::Question;
    case I::Exclamation:
        return QMessageBox::Warning;
    case I::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

UserPrompt::Answer answerOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return UserPrompt::Ok;
    case QMessageBox::Abort:
        return UserPrompt::Abort;
    case QMessageBox::Retry:
        return UserPrompt::Retry;
    case QMessageBox::Ignore:
        return UserPrompt::Ignore;
    case QMessageBox::Yes:
        return UserPrompt::Yes;
    case QMessageBox::No:
        return UserPrompt::No;
    default:
        return UserPrompt::Cancel;
    }
}

// A message that comes while the hourglass shows (a file error in the middle of a rebuild)
// gets the normal pointer for as long as it is open.
struct ArrowWhileOpen {
    const bool waiting = QApplication::overrideCursor() != nullptr;
    ArrowWhileOpen() {
        if (waiting)
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileOpen() {
        if (waiting)
            QApplication::restoreOverrideCursor();
    }
    Q_DISABLE_COPY_MOVE(ArrowWhileOpen)
};

} // namespace

UserPrompt::Answer clsQtUserPrompt::message(const QString& text, Buttons buttons, Icon icon,
                                            const QString& title) {
    const ArrowWhileOpen arrow;
    QMessageBox box(boxIcon(icon), title.isEmpty() ? QApplication::applicationName() : title, text,
                    standardButtons(buttons), m_parent);
    return answerOf(box.exec());
}

std::optional<QString> clsQtUserPrompt::input(const QString& prompt, const QString& title,
                                              const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title.isEmpty() ? QApplication::applicationName() : title, prompt,
                              QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> clsQtUserPrompt::openFile(const QString& title, const QString& folder,
                                                 const QString& filter) {
    QFileDialog dialog(m_parent, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QFileInfo initial(folder);
    if (!initial.isDir()) {
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> clsQtUserPrompt::saveFile(const QString& title, const QString& suggestedPath,
                                                 const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(m_parent, title, suggestedPath, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> clsQtUserPrompt::chooseFolder(const QString& title, const QString& folder) {
    const QString path = QFileDialog::getExistingDirectory(m_parent, title, folder);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void clsQtUserPrompt::beep() {
    QApplication::beep();
}
