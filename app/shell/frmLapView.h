#pragma once

#include <QDialog>

#include <memory>

class clsQuorvelin2;
class ctlQuorvelinView;

// The analysis window: the analysis view over a root object, filling the window.
class frmLapView final : public QDialog {
    Q_OBJECT
public:
    explicit frmLapView(QWidget* parent = nullptr);
    ~frmLapView() override;
    Q_DISABLE_COPY_MOVE(frmLapView)

    void SetData(std::shared_ptr<clsQuorvelin2> root);
    ctlQuorvelinView* view() const { return m_view; }

private:
    ctlQuorvelinView* m_view;
};
