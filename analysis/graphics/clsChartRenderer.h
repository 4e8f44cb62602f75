#pragma once

#include "Quorvelin2Global.h"

#include <QColor>
#include <QImage>
#include <QString>

class QIODevice;
class QPainter;
class clsChartObject;

// Paints a chart object: the grid with its labels and titles, then every runner's line or
// point in the runner's colour and width. Only QtGui: images here, a window's paint event later.
class QV_EXPORT clsChartRenderer {
public:
    // An image of the chart object's Width x Height.
    static QImage render(const clsChartObject& chart);
    // The chart as a PNG file (written whole or not at all); false when it cannot be written.
    static bool savePng(const clsChartObject& chart, const QString& path);
    // An image packed as PNG onto a device open for writing.
    static bool writePng(const QImage& image, QIODevice& device);
    // Paints into a device of the chart object's size (the painter's origin at its top left).
    static void paint(QPainter& painter, const clsChartObject& chart);

    // A colour number as the platform stores it (0x00BBGGRR).
    static QColor color(qint32 colorNumber);
};
