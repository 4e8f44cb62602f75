#include "ctlLapChart.h"

#include "ProjectError.h"
#include "basChartSeries.h"
#include "basConstants.h"
#include "clsAnalyzer.h"
#include "clsChartObject.h"
#include "clsChartRenderer.h"
#include "clsGraphicControl.h"
#include "clsQuorvelin2.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr double ZoomStep = 1.25;
constexpr double MostRatioY = 16;
constexpr double MostRatioXOverFit = 64;
constexpr int ScrollRange = 1000;

QIcon swatch(qint32 color) {
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(clsChartRenderer::color(color));
    p.drawRoundedRect(QRectF(1, 4, 12, 6), 2, 2);
    return QIcon(pixmap);
}

} // namespace

// The drawing area: the chart object at the area's own size, the runner under the mouse.
class ctlLapChart::Canvas final : public QWidget {
public:
    explicit Canvas(ctlLapChart* owner) : QWidget(owner), m_owner(owner) {
        setMouseTracking(true);
        setMinimumSize(160, 120);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const clsChartObject& chart = *m_owner->m_chart;
        if (chart.Width() != width() || chart.Height() != height()) {
            p.fillRect(rect(), Qt::white);
            return;
        }
        clsChartRenderer::paint(p, chart);
        // An empty chart says why, rather than looking broken.
        if (m_owner->m_analyzer && chart.description().runners.empty()) {
            const QString note = chart.ChartMode() == Quorvelin2::QV_CHART_REALTIME
                                     ? u"スタート時刻のある選手がいないため、表示できません"_s
                                     : u"表示できる選手がいません"_s;
            QRectF box = p.fontMetrics().boundingRect(note).toRectF().adjusted(-12, -6, 12, 6);
            box.moveCenter(chart.plotArea().center());
            p.fillRect(box, Qt::white);
            p.setPen(QColor(0x60, 0x60, 0x60));
            p.drawRect(box);
            p.drawText(box, Qt::AlignCenter, note);
        }
    }
    void resizeEvent(QResizeEvent*) override {
        m_owner->m_chart->setWidth(width());
        m_owner->m_chart->setHeight(height());
        m_owner->draw();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        m_owner->highlightRunner(m_owner->runnerAt(event->position().toPoint()));
        // The name beside the pointer too, where the eye is.
        if (m_owner->m_highlighted != 0)
            QToolTip::showText(event->globalPosition().toPoint(), m_owner->m_runnerName->text(), this);
        else
            QToolTip::hideText();
    }
    void leaveEvent(QEvent*) override { m_owner->highlightRunner(0); }
    void wheelEvent(QWheelEvent* event) override {
        const double steps = event->angleDelta().y() / 120.0;
        if (steps == 0) {
            event->ignore();
            return;
        }
        const double factor = std::pow(ZoomStep, steps);
        if (event->modifiers() & Qt::ControlModifier)
            m_owner->zoomBy(factor, 1);
        else if (event->modifiers() & Qt::ShiftModifier)
            m_owner->zoomBy(1, factor);
        else if (m_owner->m_scrollY->isEnabled())
            m_owner->m_scrollY->setValue(m_owner->m_scrollY->value() - static_cast<int>(steps * 50));
        else
            m_owner->m_scrollX->setValue(m_owner->m_scrollX->value() - static_cast<int>(steps * 50));
        event->accept();
    }

private:
    ctlLapChart* m_owner;
};

ctlLapChart::ctlLapChart(QWidget* parent) : QWidget(parent), m_chart(std::make_unique<clsChartObject>()) {
    m_kinds = new QComboBox(this);
    for (qint32 mode = 0; mode < basChartSeries::ModeCount; ++mode)
        m_kinds->addItem(basChartSeries::ChartName(mode), mode);
    m_kinds->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_runnerName = new QLabel(this);
    m_runnerName->setMinimumWidth(160);
    m_canvas = new Canvas(this);
    m_scrollX = new QScrollBar(Qt::Horizontal, this);
    m_scrollY = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_scrollX, m_scrollY}) {
        bar->setRange(0, ScrollRange);
        bar->setPageStep(ScrollRange / 5);
        bar->setSingleStep(ScrollRange / 50);
        bar->setEnabled(false);
    }
    m_legend = new QListWidget(this);
    m_legend->setMaximumWidth(190);
    m_legend->setMinimumWidth(120);
    m_legend->setMouseTracking(true);

    auto* tools = new QHBoxLayout;
    tools->addWidget(m_kinds);
    const auto button = [&](const QString& text, double fx, double fy) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, fx, fy] { zoomBy(fx, fy); });
        tools->addWidget(b);
    };
    button(u"横拡大"_s, ZoomStep, 1);
    button(u"横縮小"_s, 1 / ZoomStep, 1);
    button(u"縦拡大"_s, 1, ZoomStep);
    button(u"縦縮小"_s, 1, 1 / ZoomStep);
    auto* fit = new QPushButton(u"全体表示"_s, this);
    fit->setAutoDefault(false);
    connect(fit, &QPushButton::clicked, this, &ctlLapChart::fitWidth);
    tools->addWidget(fit);
    tools->addSpacing(12);
    tools->addWidget(m_runnerName, 1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    grid->addLayout(tools, 0, 0, 1, 3);
    grid->addWidget(m_canvas, 1, 0);
    grid->addWidget(m_scrollY, 1, 1);
    grid->addWidget(m_scrollX, 2, 0);
    grid->addWidget(m_legend, 1, 2, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    connect(m_kinds, &QComboBox::activated, this,
            [this](int index) { setMode(m_kinds->itemData(index).toInt()); });
    connect(m_scrollX, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_updatingScroll)
            setScroll(static_cast<double>(v) / ScrollRange, m_positionY);
    });
    connect(m_scrollY, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_updatingScroll)
            setScroll(m_positionX, 1 - static_cast<double>(v) / ScrollRange);
    });
    connect(m_legend, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { highlightRunner(item->data(Qt::UserRole).toInt()); });
    connect(m_legend, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { highlightRunner(item->data(Qt::UserRole).toInt()); });
}

ctlLapChart::~ctlLapChart() = default;

void ctlLapChart::setRoot(std::shared_ptr<clsQuorvelin2> root) {
    m_root = std::move(root);
    refresh();
}

void ctlLapChart::setAnalyzer(std::shared_ptr<clsAnalyzer> analyzer) {
    m_analyzer = std::move(analyzer);
    m_bostrimeDone = false;
    m_fitting = true;
    m_ratioY = 1;
    m_positionX = m_positionY = 0;
    refresh();
}

void ctlLapChart::refresh() {
    m_highlighted = 0;
    m_chart->clearRunnerSettings();
    m_runnerName->clear();
    draw();
    rebuildLegend();
}

const clsChartObject& ctlLapChart::chart() const {
    return *m_chart;
}

qint32 ctlLapChart::mode() const {
    return m_mode;
}

void ctlLapChart::setMode(qint32 mode) {
    const bool changed = mode != m_mode;
    m_mode = mode;
    m_kinds->setCurrentIndex(m_kinds->findData(mode));
    m_fitting = true;
    m_ratioY = 1;
    m_positionX = m_positionY = 0;
    refresh();
    if (changed)
        emit ModeChanged(mode);
}

QWidget* ctlLapChart::canvas() const {
    return m_canvas;
}

void ctlLapChart::draw() {
    m_chart->setWidth(m_canvas->width());
    m_chart->setHeight(m_canvas->height());
    if (!m_root || !m_analyzer) {
        m_chart->setDescription({});
        updateScrollBars();
        m_canvas->update();
        return;
    }
    try {
        // The placement of the Bostrime chart is an analysis of its own, run once it is wanted.
        if (m_mode == Quorvelin2::QV_CHART_BOSTRIME && !m_bostrimeDone && m_analyzer->IsExecuted()) {
            m_analyzer->Bostrime();
            m_bostrimeDone = true;
        }
        if (m_fitting)
            m_ratioX = basChartSeries::FitRatioX(*m_analyzer, m_mode, m_chart->Width());
        m_root->GraphicControl()->DrawChart(m_analyzer, m_chart.get(), m_mode, m_ratioX, m_ratioY,
                                            m_positionX, m_positionY);
    } catch (const ProjectError&) {
        // Drawing runs inside resize and scroll events, where nothing may escape: no chart then.
        m_chart->setDescription({});
    }
    // The values DrawChart accepted.
    m_ratioX = m_chart->RatioX();
    m_ratioY = m_chart->RatioY();
    m_positionX = m_chart->PositionX();
    m_positionY = m_chart->PositionY();
    updateScrollBars();
    m_canvas->update();
}

void ctlLapChart::updateScrollBars() {
    m_updatingScroll = true;
    const auto& d = m_chart->description();
    const bool wide = d.horizontal.content > m_chart->Width() + 0.5;
    m_scrollX->setEnabled(wide);
    m_scrollX->setValue(wide ? static_cast<int>(std::lround(m_positionX * ScrollRange)) : 0);
    const bool tall = m_ratioY > 1.0001;
    m_scrollY->setEnabled(tall);
    m_scrollY->setValue(tall ? static_cast<int>(std::lround((1 - m_positionY) * ScrollRange)) : ScrollRange);
    m_updatingScroll = false;
}

void ctlLapChart::rebuildLegend() {
    m_legend->clear();
    const auto& runners = m_chart->description().runners;
    for (const auto& runner : runners) {
        auto* item = new QListWidgetItem(swatch(m_chart->runnerSetting(runner.index).color), runner.name);
        item->setData(Qt::UserRole, runner.index);
        m_legend->addItem(item);
    }
}

void ctlLapChart::zoomBy(double factorX, double factorY) {
    if (!m_analyzer)
        return;
    // The zoom at which the whole width shows, from the drawn content, which grows with the zoom.
    const double content = m_chart->description().horizontal.content;
    const double fit = content > 0 ? std::max(0.5, m_ratioX * m_chart->Width() / content) : 1.0;
    setZoom(std::clamp(m_ratioX * factorX, 0.5, fit * MostRatioXOverFit),
            std::clamp(m_ratioY * factorY, 1.0, MostRatioY));
}

void ctlLapChart::setZoom(double ratioX, double ratioY) {
    m_fitting = false;
    m_ratioX = ratioX;
    m_ratioY = ratioY;
    draw();
}

void ctlLapChart::setScroll(double positionX, double positionY) {
    m_positionX = positionX;
    m_positionY = positionY;
    draw();
}

void ctlLapChart::fitWidth() {
    m_fitting = true;
    m_ratioY = 1;
    m_positionX = m_positionY = 0;
    draw();
}

qint32 ctlLapChart::runnerAt(QPoint position) const {
    return m_chart->MousePointRunnerIndex(position.x(), position.y());
}

void ctlLapChart::highlightRunner(qint32 index) {
    if (index == m_highlighted)
        return;
    m_highlighted = index;
    m_chart->clearRunnerSettings();
    QString name;
    for (const auto& runner : m_chart->description().runners)
        if (runner.index == index)
            name = runner.name;
    if (index != 0 && !name.isEmpty()) {
        m_chart->SetRunnerSetting(index, clsChartObject::defaultColor(index), 2, 1);
        m_chart->SetRunnerSetting2(index, 0xffffff, 2);
        m_runnerName->setText(name);
        m_runnerName->setStyleSheet(
            QString(u"font-weight: bold; color: "_s +
                    clsChartRenderer::color(clsChartObject::defaultColor(index)).name()));
    } else {
        m_highlighted = 0;
        m_runnerName->clear();
    }
    for (int row = 0; row < m_legend->count(); ++row)
        if (m_legend->item(row)->data(Qt::UserRole).toInt() == m_highlighted) {
            m_legend->setCurrentRow(row);
            m_legend->scrollToItem(m_legend->item(row));
        }
    m_canvas->update();
}
