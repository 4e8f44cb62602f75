#pragma once

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class clsQuorvelin2;
class clsWidgetFileHost;
class ctlQuorvelinView;

// The standalone analysis viewer: the analysis view over lap files opened from the menu, by
// drag and drop or from the command line. An event that fails to load leaves the shown one as
// it was.
class frmQuorvelinViewer final : public QMainWindow {
    Q_OBJECT
public:
    // Interactive viewers ask with windows (archive choice, progress, messages); a viewer that
    // only renders loads silently and takes an archive's first lap file.
    explicit frmQuorvelinViewer(bool interactive = true, QWidget* parent = nullptr);
    ~frmQuorvelinViewer() override;
    Q_DISABLE_COPY_MOVE(frmQuorvelinViewer)

    // Loads the files as one new event (the later ones merged into the first by mergeMode) and
    // shows it; on a failure the library's error comment goes to error.
    bool openFiles(const QStringList& files, qint32 mergeMode, QString* error);
    // Merges the files into the event shown.
    bool addFiles(const QStringList& files, qint32 mergeMode, QString* error);
    // Saves the event shown; saveMode is the library's file kind (FileSaveMode).
    bool saveFile(const QString& path, qint32 saveMode, QString* error);

    ctlQuorvelinView* view() const { return m_view; }
    std::shared_ptr<clsQuorvelin2> root() const { return m_root; }
    QStringList fileNames() const { return m_files; }

    // The menu commands, with their dialogs.
    void mnuOpen_Click();
    void mnuAdd_Click();
    void mnuSave_Click();

    // The library's dialog filter ("text|patterns|text|patterns") in the dialogs' form.
    static QStringList dialogFilters(const QString& libraryFilter);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Loads into a new root: first what base holds (when given), then the files.
    std::shared_ptr<clsQuorvelin2> load(const std::shared_ptr<clsQuorvelin2>& base, const QStringList& files,
                                        qint32 firstMode, qint32 mergeMode, QString* error);
    void display(std::shared_ptr<clsQuorvelin2> root, QStringList files);
    void tell(const QString& error);
    QString lastFolder() const;
    void rememberFolder(const QString& path);

    bool m_interactive;
    std::unique_ptr<clsWidgetFileHost> m_host;
    std::shared_ptr<clsQuorvelin2> m_root;
    QStringList m_files;
    ctlQuorvelinView* m_view;
    QAction* m_mnuAdd;
    QAction* m_mnuSave;
};
