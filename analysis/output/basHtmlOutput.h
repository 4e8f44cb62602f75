#pragma once

// Publishing an analysed event as a set of pages: the index block with a row per class, and
// per class (or shared course) a result page, a lap analysis page, a leg data page and a chart
// page with its PNG images, the viewer-control page and copies of the lap data.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

class clsFileControl;

namespace basHtmlOutput {

// The parameters of clsFileControl.OutputHtml, in their order.
struct Parameters {
    QString OutputFolder;
    QString IndexFile;
    QString AnalysisFile;
    QString ResultFile;
    QString Lap2File;
    QString Lap1File;
    bool OfficialSite = false;
    bool IndexFileAddMode = false;
    QString ActiveXFile;
    QString ActiveXAddress;
    bool AnalysisIncludeCourse = false;
    bool ResultIncludeCourse = false;
    QString LegDataFile;
    bool LegDataIncludeCourse = false;
    QString ChartFile;
    bool ChartIncludeCourse = false;
    QString ChartOption;
    QString LinkStyleFile;
};

struct Settings {
    // The seed of the runners' random colours; a fresh one each run when not given.
    std::optional<quint64> colourSeed;
    // Threads that build and write the pages of different classes at once; 0 = as many as the
    // machine has cores. The files and the progress are the same for any number.
    int threads = 0;
    // Size of the chart images.
    int chartWidth = 800;
    int chartHeight = 600;
};

// Writes the page set through the file control (its progress, its host, its lap-file saving).
// False when a lap file or a page could not be written; the files written before stay, and the
// error comment names the file.
QV_EXPORT bool OutputHtml(clsFileControl& control, const Parameters& parameters,
                          const Settings& settings = Settings());

// The start marker of an event's block in the index page.
inline constexpr char16_t StartMarker[] = u"<!-- ### QUORVELIN START ### -->";

// The index page text with a new block inserted above the earlier blocks: before the first line
// that is the start marker; without one, right after the body tag, or at the end.
QV_EXPORT QString InsertBlock(const QString& indexText, const QString& block);

// An image as the bytes of a PNG file (8-bit RGB), packed for speed rather than size.
QV_EXPORT QByteArray PngBytes(const QImage& image);

} // namespace basHtmlOutput
