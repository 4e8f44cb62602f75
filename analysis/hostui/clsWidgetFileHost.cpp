#include "clsWidgetFileHost.h"

#include "frmUseLha.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

clsWidgetFileHost::clsWidgetFileHost(QWidget* parent) : m_parent(parent) {}

clsWidgetFileHost::~clsWidgetFileHost() {
    closeProgress();
}

void clsWidgetFileHost::showProgress() {
    if (!m_progress) {
        m_progress = new QProgressDialog(m_parent);
        m_progress->setCancelButton(nullptr);
        m_progress->setRange(0, 100);
        m_progress->setMinimumDuration(0);
        m_progress->setWindowModality(Qt::NonModal);
    }
    m_progress->setValue(0);
    m_progress->show();
}

void clsWidgetFileHost::setProgress(int percent) {
    if (!m_progress)
        return;
    m_progress->setValue(percent);
    m_progress->setLabelText(u"%1 %"_s.arg(percent));
    // The load runs on the user-interface thread; let the window paint its new value.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void clsWidgetFileHost::closeProgress() {
    if (m_progress) {
        m_progress->close();
        delete m_progress;
    }
}

std::optional<QString> clsWidgetFileHost::chooseFile(const QString& folder, const QStringList& files) {
    (void)folder;
    frmUseLha window(m_parent);
    return window.ChooseFile(files);
}

void clsWidgetFileHost::message(const QString& text, const QString& title) {
    QMessageBox::information(m_parent, title, text, QMessageBox::Ok);
}
