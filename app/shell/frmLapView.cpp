#include "frmLapView.h"

#include "clsQuorvelin2.h"
#include "ctlQuorvelinView.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The view keeps 60 twips from every edge: 4 pixels at 96 dpi.
constexpr int ViewMargin = 4;
} // namespace

frmLapView::frmLapView(QWidget* parent) : QDialog(parent), m_view(new ctlQuorvelinView(this)) {
    setWindowTitle(u"ラップ解析"_s);
    setModal(true);
    // A grid of many runners wants room; the window can be maximised like the one it came from.
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ViewMargin, ViewMargin, ViewMargin, ViewMargin);
    layout->addWidget(m_view);
    m_view->setFocus();
    resize(960, 640);
}

frmLapView::~frmLapView() = default;

void frmLapView::SetData(std::shared_ptr<clsQuorvelin2> root) {
    m_view->setQuorvelin2Object(std::move(root));
}
