#pragma once

#include "Quorvelin2Global.h"

#include <QLineF>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <map>
#include <utility>
#include <vector>

// A chart as DrawChart leaves it: a plain description of grid lines, labels, titles and one
// polyline or point per runner, in chart coordinates (x from the left edge, y up from the
// bottom edge, the visible part 0..Width and 0..Height), plus the runners' drawing settings
// and the last mode and zoom values. Runners are known by their 1-based index in the
// analyzer's selection. Colours are 32-bit colour numbers as the platform stores them: red in
// the low byte, then green, then blue (0x00BBGGRR).
class QV_EXPORT clsChartObject : public QObject {
    Q_OBJECT
public:
    enum class LineKind { Minor, Major, Zero };
    // Which edge a label belongs to: Left labels a horizontal line at a height, Bottom a
    // vertical line at a horizontal position.
    enum class LabelEdge { Left, Bottom };
    enum class TitlePlace { Top, Bottom };

    struct GridLine {
        QLineF line;
        LineKind kind = LineKind::Minor;
    };
    struct Label {
        LabelEdge edge = LabelEdge::Left;
        double position = 0; // y of a Left label, x of a Bottom label
        QString text;
    };
    struct Title {
        TitlePlace place = TitlePlace::Top;
        QStringList lines;
    };
    struct Series {
        qint32 index = 0; // in the analyzer's selection, 1-based
        QString name;
        bool point = false;          // a single point rather than a polyline
        std::vector<QPointF> points; // a polyline starts at its first point
    };
    // One axis: coordinate = origin + value * scale. lo..hi is the data range in axis units,
    // start the first value of the content and content its length in chart units.
    struct Axis {
        double lo = 0;
        double hi = 0;
        double start = 0;
        double scale = 0;
        double origin = 0;
        double content = 0;
        double coordinate(double value) const { return origin + value * scale; }
    };
    struct Description {
        qint32 mode = -1;
        Axis horizontal;
        Axis vertical;
        std::vector<double> positions; // course positions in seconds (time charts)
        std::vector<GridLine> grid;
        std::vector<Label> labels;
        std::vector<Title> titles;
        std::vector<Series> runners;
    };
    struct RunnerSetting {
        qint32 color = 0;
        qint32 lineWidth = 1;
        qint32 flag = 0; // not 0: the runner stands out (drawn last, wider)
        qint32 backColor = 0xffffff;
        qint32 backWidth = 0; // 0: no line behind the runner's own
    };

    explicit clsChartObject(QObject* parent = nullptr);

    Q_INVOKABLE qint32 Width() const { return m_width; }
    Q_INVOKABLE void setWidth(qint32 Width) { m_width = Width; }
    Q_INVOKABLE qint32 Height() const { return m_height; }
    Q_INVOKABLE void setHeight(qint32 Height) { m_height = Height; }
    Q_INVOKABLE void SetRunnerSetting(qint32 Index, qint32 Color, qint32 LineWidth, qint32 Flag);
    Q_INVOKABLE void SetRunnerSetting2(qint32 Index, qint32 BackColor, qint32 BackWidth);
    // The runner drawn under an image pixel (the mouse position), the topmost one when several
    // are; 0 when none is within a few pixels.
    Q_INVOKABLE qint32 MousePointRunnerIndex(double X, double Y) const;
    Q_INVOKABLE qint32 ChartMode() const { return m_mode; }
    Q_INVOKABLE void setChartMode(qint32 ChartMode) { m_mode = ChartMode; }
    Q_INVOKABLE double RatioX() const { return m_ratioX; }
    Q_INVOKABLE void setRatioX(double RatioX) { m_ratioX = RatioX; }
    Q_INVOKABLE double RatioY() const { return m_ratioY; }
    Q_INVOKABLE void setRatioY(double RatioY) { m_ratioY = RatioY; }
    Q_INVOKABLE double PositionX() const { return m_positionX; }
    Q_INVOKABLE void setPositionX(double PositionX) { m_positionX = PositionX; }
    Q_INVOKABLE double PositionY() const { return m_positionY; }
    Q_INVOKABLE void setPositionY(double PositionY) { m_positionY = PositionY; }

    // What DrawChart gave; replaced whole on every draw.
    const Description& description() const { return m_description; }
    void setDescription(Description description) { m_description = std::move(description); }

    // The settings of a runner; one never set gets a colour of its own from a palette.
    RunnerSetting runnerSetting(qint32 index) const;
    void clearRunnerSettings() { m_settings.clear(); }
    static qint32 defaultColor(qint32 index);

    // Where the chart coordinates 0..Width x 0..Height lie in the drawn image (pixels, y down):
    // the image keeps margins for the labels.
    QRectF plotArea() const;
    QPointF toImage(QPointF chart) const;
    QPointF toChart(QPointF image) const;

private:
    qint32 m_width = 800;
    qint32 m_height = 600;
    qint32 m_mode = 0;
    double m_ratioX = 1;
    double m_ratioY = 1;
    double m_positionX = 0;
    double m_positionY = 0;
    std::map<qint32, RunnerSetting> m_settings;
    Description m_description;
};
