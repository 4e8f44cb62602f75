#include "frmQuorvelinViewer.h"

#include "ProjectError.h"
#include "basCliIof.h"
#include "basConstants.h"
#include "basQuorvelin2.h"
#include "clsConfigControl.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"
#include "clsWidgetFileHost.h"
#include "ctlQuorvelinView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace {

const QString Caption = u"ラップ解析ビューア"_s;
const QString LastFolderItem = u"VIEWER_LAST_FOLDER"_s;

struct MergeChoice {
    QString text;
    qint32 mode;
};
const MergeChoice MergeChoices[] = {
    {u"そのまま追加する"_s, QV_LOADMODE_APPEND},
    {u"IDが同じ選手をまとめる"_s, QV_LOADMODE_MERGE_ID},
    {u"名前が同じ選手をまとめる"_s, QV_LOADMODE_MERGE_NAME},
};

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

} // namespace

frmQuorvelinViewer::frmQuorvelinViewer(bool interactive, QWidget* parent)
    : QMainWindow(parent), m_interactive(interactive), m_host(std::make_unique<clsWidgetFileHost>(this)),
      m_root(std::make_shared<clsQuorvelin2>()), m_view(new ctlQuorvelinView(this)) {
    setWindowTitle(Caption);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_view);
    setCentralWidget(central);
    setAcceptDrops(true);

    QMenu* file = menuBar()->addMenu(u"ファイル(&F)"_s);
    QAction* open = file->addAction(u"開く(&O)..."_s, this, &frmQuorvelinViewer::mnuOpen_Click);
    open->setShortcut(QKeySequence::Open);
    m_mnuAdd = file->addAction(u"ファイルを追加(&A)..."_s, this, &frmQuorvelinViewer::mnuAdd_Click);
    m_mnuSave = file->addAction(u"名前を付けて保存(&S)..."_s, this, &frmQuorvelinViewer::mnuSave_Click);
    m_mnuSave->setShortcut(QKeySequence::Save);
    file->addSeparator();
    file->addAction(u"終了(&X)"_s, this, &QWidget::close);
    m_mnuAdd->setEnabled(false);
    m_mnuSave->setEnabled(false);
    resize(1100, 720);
}

frmQuorvelinViewer::~frmQuorvelinViewer() = default;

QStringList frmQuorvelinViewer::dialogFilters(const QString& libraryFilter) {
    const QStringList parts = libraryFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The text already names its patterns in some entries; the dialog reads the last pair of
        // parentheses, so the patterns go there in its form.
        filters << parts[i] + u" ("_s + QString(parts[i + 1]).replace(u';', u' ') + u')';
    }
    return filters;
}

std::shared_ptr<clsQuorvelin2> frmQuorvelinViewer::load(const std::shared_ptr<clsQuorvelin2>& base,
                                                        const QStringList& files, qint32 firstMode,
                                                        qint32 mergeMode, QString* error) {
    auto root = std::make_shared<clsQuorvelin2>();
    clsFileControl& control = *root->FileControl();
    if (m_interactive) {
        control.setHost(m_host.get());
        control.setProgressVisible(true);
    }
    QStringList inputs = files;
    // The event shown goes into the new root through a file of its own, so that a merge that
    // fails halfway leaves the shown event untouched.
    QTemporaryDir snapshotFolder;
    if (base) {
        const QString snapshot = snapshotFolder.filePath(u"shown.lxm"_s);
        if (!snapshotFolder.isValid() ||
            !base->FileControl()->SaveLapFile(snapshot, QV_FILETYPE_QUORVELIN2)) {
            *error = u"表示中のデータを一時ファイルに保存できませんでした"_s;
            return nullptr;
        }
        inputs.prepend(snapshot);
    }
    for (qsizetype k = 0; k < inputs.size(); ++k) {
        const QString& input = inputs[k];
        basQuorvelin2::SetErrorComment(QString());
        bool loaded = false;
        try {
            loaded = control.LoadLapFile(input, basCliIof::loadKind(input, QV_FILETYPE_AUTODETECT),
                                         k == 0 ? firstMode : mergeMode);
        } catch (const ProjectError& e) {
            basQuorvelin2::SetErrorComment(e.description());
        }
        if (!loaded) {
            *error = root->ErrorComment();
            if (error->isEmpty())
                *error = u"ファイルを読み込めませんでした: "_s + QDir::toNativeSeparators(input);
            return nullptr;
        }
    }
    return root;
}

void frmQuorvelinViewer::display(std::shared_ptr<clsQuorvelin2> root, QStringList files) {
    m_root = std::move(root);
    m_files = std::move(files);
    m_view->setQuorvelin2Object(m_root);
    QStringList names;
    for (const QString& f : m_files)
        names << QFileInfo(f).fileName();
    setWindowTitle(names.isEmpty() ? Caption : names.join(u", "_s) + u" - "_s + Caption);
    m_mnuAdd->setEnabled(true);
    m_mnuSave->setEnabled(true);
}

bool frmQuorvelinViewer::openFiles(const QStringList& files, qint32 mergeMode, QString* error) {
    if (files.isEmpty())
        return false;
    auto root = load(nullptr, files, QV_LOADMODE_NORMAL, mergeMode, error);
    if (!root)
        return false;
    display(std::move(root), files);
    return true;
}

bool frmQuorvelinViewer::addFiles(const QStringList& files, qint32 mergeMode, QString* error) {
    if (files.isEmpty())
        return false;
    if (m_files.isEmpty())
        return openFiles(files, mergeMode, error);
    auto root = load(m_root, files, QV_LOADMODE_NORMAL, mergeMode, error);
    if (!root)
        return false;
    display(std::move(root), m_files + files);
    return true;
}

bool frmQuorvelinViewer::saveFile(const QString& path, qint32 saveMode, QString* error) {
    basQuorvelin2::SetErrorComment(QString());
    bool saved = false;
    try {
        saved = m_root->FileControl()->SaveLapFile(path, saveMode);
    } catch (const ProjectError& e) {
        basQuorvelin2::SetErrorComment(e.description());
    }
    if (!saved) {
        *error = m_root->ErrorComment();
        if (error->isEmpty())
            *error = u"ラップファイルを保存できませんでした: "_s + QDir::toNativeSeparators(path);
    }
    return saved;
}

void frmQuorvelinViewer::tell(const QString& error) {
    QMessageBox::warning(this, Caption, error);
}

QString frmQuorvelinViewer::lastFolder() const {
    return m_root->ConfigControl()->Value(QV_CONFIG_FOLDER_SYSTEM, LastFolderItem);
}

void frmQuorvelinViewer::rememberFolder(const QString& path) {
    m_root->ConfigControl()->setValue(QV_CONFIG_FOLDER_SYSTEM, LastFolderItem,
                                      QFileInfo(path).absolutePath());
}

void frmQuorvelinViewer::mnuOpen_Click() {
    const QStringList files =
        QFileDialog::getOpenFileNames(this, u"ラップファイルを開く"_s, lastFolder(),
                                      dialogFilters(m_root->FileControl()->FileLoadFilter()).join(u";;"_s));
    if (files.isEmpty())
        return;
    rememberFolder(files.first());
    QString error;
    if (!openFiles(files, QV_LOADMODE_APPEND, &error))
        tell(error);
}

void frmQuorvelinViewer::mnuAdd_Click() {
    const QStringList files =
        QFileDialog::getOpenFileNames(this, u"ラップファイルを追加"_s, lastFolder(),
                                      dialogFilters(m_root->FileControl()->FileLoadFilter()).join(u";;"_s));
    if (files.isEmpty())
        return;
    rememberFolder(files.first());
    QStringList texts;
    for (const MergeChoice& c : MergeChoices)
        texts << c.text;
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, u"ファイルを追加"_s, u"追加する選手の扱い"_s, texts, 0, false, &ok);
    if (!ok)
        return;
    const qint32 mode = MergeChoices[texts.indexOf(chosen)].mode;
    QString error;
    if (!addFiles(files, mode, &error))
        tell(error);
}

void frmQuorvelinViewer::mnuSave_Click() {
    const QString library = m_root->FileControl()->FileSaveFilter();
    const QStringList filters = dialogFilters(library);
    QFileDialog dialog(this, u"ラップファイル保存"_s, lastFolder(), filters.join(u";;"_s));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(u"lxm"_s);
    if (!m_files.isEmpty())
        dialog.selectFile(QFileInfo(m_files.first()).completeBaseName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    rememberFolder(path);
    const int index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    QString error;
    if (!saveFile(path, m_root->FileControl()->FileSaveMode(QVariant(std::max(index, 1))), &error))
        tell(error);
}

void frmQuorvelinViewer::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmQuorvelinViewer::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    QString error;
    // With Ctrl held the files join the event shown, as the menu's add does.
    const bool add = event->modifiers().testFlag(Qt::ControlModifier);
    if (!(add ? addFiles(files, QV_LOADMODE_APPEND, &error) : openFiles(files, QV_LOADMODE_APPEND, &error)))
        tell(error);
}
