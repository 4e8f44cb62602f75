// The standalone analysis viewer: opens lap files and archives in the analysis view. With
// --screenshot it renders the window for one class and view into a PNG and exits.
#include "basCliDataSet.h"
#include "basConstants.h"
#include "clsQuorvelin2.h"
#include "ctlClassCombo.h"
#include "ctlQuorvelinView.h"
#include "frmQuorvelinViewer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int LoadFailed = 1;
constexpr int UsageError = 2;

std::optional<ctlQuorvelinView::ViewType> viewNamed(const QString& name) {
    static const std::pair<QString, ctlQuorvelinView::ViewType> views[] = {
        {u"analysis"_s, ctlQuorvelinView::ViewAnalysis},
        {u"result"_s, ctlQuorvelinView::ViewResult},
        {u"leg"_s, ctlQuorvelinView::ViewLegData},
        {u"chart"_s, ctlQuorvelinView::ViewChart},
    };
    for (const auto& [text, type] : views)
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return type;
    return std::nullopt;
}

std::optional<QSize> sizeNamed(const QString& text) {
    const QStringList parts = text.toLower().split(u'x');
    bool w = false, h = false;
    const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(&w), parts[1].toInt(&h)) : QSize();
    if (!w || !h || size.width() < 100 || size.height() < 100 || size.width() > 8000 || size.height() > 8000)
        return std::nullopt;
    return size;
}

// Chooses the class as a user would in the combo.
bool chooseClass(frmQuorvelinViewer& viewer, const QString& name, QString& unknown) {
    const auto root = viewer.root();
    const auto sets =
        basCliDataSet::chooseDataSets(*root, name.isEmpty() ? QStringList() : QStringList{name}, unknown);
    if (!sets || sets->empty()) {
        if (unknown.isEmpty())
            unknown = u"(no class)"_s;
        return false;
    }
    const basCliDataSet::DataSet& set = sets->front();
    ctlQuorvelinView& view = *viewer.view();
    // The combo lists the classes first, in class order.
    ctlClassCombo& combo = *view.classCombo();
    if (set.front() > combo.count()) {
        unknown = name;
        return false;
    }
    combo.chooseEntry(set.front() - 1);
    return view.Analyzer() != nullptr;
}

int screenshot(frmQuorvelinViewer& viewer, const QCommandLineParser& parser, const QString& png,
               QTextStream& err) {
    const auto view = viewNamed(parser.value(u"view"_s));
    const auto size = sizeNamed(parser.value(u"size"_s));
    if (!view || !size) {
        err << u"quorvelin2-view: --view takes analysis, result, leg or chart; --size WIDTHxHEIGHT\n"_s;
        return UsageError;
    }
    QString error;
    if (!viewer.openFiles(parser.positionalArguments(), Quorvelin2::QV_LOADMODE_APPEND, &error)) {
        err << error << u'\n';
        return LoadFailed;
    }
    QString unknown;
    if (!chooseClass(viewer, parser.value(u"class"_s), unknown)) {
        err << u"quorvelin2-view: no class \""_s << unknown << u"\"\n"_s;
        return UsageError;
    }
    viewer.view()->setViewType(*view);
    viewer.resize(*size);
    viewer.show();
    QCoreApplication::processEvents();
    if (!viewer.grab().save(png, "PNG")) {
        err << u"quorvelin2-view: cannot write "_s << png << u'\n';
        return LoadFailed;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bool shooting = false;
    for (int i = 1; i < argc; ++i)
        shooting = shooting || std::strcmp(argv[i], "--screenshot") == 0;
    // A picture needs no screen.
    if (shooting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"quorvelin2-view"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Shows lap files (.lxm, .lap, .csv, .txt, .xml, .lzh) in the analysis view."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"FILE"_s, u"lap files or archives; later ones are merged into the first"_s,
                                 u"[FILE...]"_s);
    parser.addOptions({
        {u"screenshot"_s, u"render the window into FILE.png and exit"_s, u"FILE.png"_s},
        {u"class"_s, u"the class to show (name or position; default the first)"_s, u"NAME"_s},
        {u"view"_s, u"analysis (default), result, leg or chart"_s, u"VIEW"_s, u"analysis"_s},
        {u"size"_s, u"window size of the screenshot (default 1100x720)"_s, u"WIDTHxHEIGHT"_s, u"1100x720"_s},
    });
    parser.process(app);

    QTextStream err(stderr);
    if (parser.isSet(u"screenshot"_s)) {
        frmQuorvelinViewer viewer(false);
        return screenshot(viewer, parser, parser.value(u"screenshot"_s), err);
    }

    frmQuorvelinViewer viewer;
    viewer.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        QTimer::singleShot(0, &viewer, [&viewer, files] {
            QString error;
            if (!viewer.openFiles(files, Quorvelin2::QV_LOADMODE_APPEND, &error))
                QMessageBox::warning(&viewer, viewer.windowTitle(), error);
        });
    }
    return QApplication::exec();
}
