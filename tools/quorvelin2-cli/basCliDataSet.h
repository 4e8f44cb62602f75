#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <optional>
#include <vector>

class FileControlHost;
class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;

// What the commands that read lap files share: the options that say how the inputs load, the
// loading itself, the choice of data sets by --class, and writing a command's bytes.
namespace basCliDataSet {

// --load-type, --merge, --progress and --first.
struct LoadOptions {
    QCommandLineOption loadType;
    QCommandLineOption merge;
    QCommandLineOption progress;
    QCommandLineOption first;

    LoadOptions();
    void addTo(QCommandLineParser& parser) const;
};

struct LoadSettings {
    qint32 type = 0;
    qint32 merge = 0;
    bool progress = false;
    bool first = false;
};

// The settings the parsed options give, or nothing with a usage error text in error.
std::optional<LoadSettings> readLoadSettings(const QCommandLineParser& parser, const LoadOptions& options,
                                             QString& error);

// Loads the inputs into the root as one event: the first as it is, the later ones merged by the
// settings' mode. The host becomes the file control's host (for later saves too).
// A failure is told on err, naming the input; the result is then false.
bool loadInputs(clsQuorvelin2& root, FileControlHost& host, const QStringList& inputs,
                const LoadSettings& settings, QTextStream& err);

// --class NAME, given any number of times.
QCommandLineOption classOption();

// One data set: the classes' 1-based positions, in the order given.
using DataSet = std::vector<int>;

// The data sets the --class values choose: all of them together as one set, or, without any,
// every class of the root as its own set in class order. A value names a class, or when no
// class has that name, a number is a class position. A value that is neither leaves nothing
// and names itself in unknown.
std::optional<std::vector<DataSet>> chooseDataSets(const clsQuorvelin2& root, const QStringList& classValues,
                                                   QString& unknown);

// The data set's classes added to a new analyzer, executed.
std::shared_ptr<clsAnalyzer> executedAnalyzer(const clsQuorvelin2& root, const DataSet& set);
// The data set's classes added to a new results holder, ranked.
std::shared_ptr<clsResultsHolder> rankedResults(const clsQuorvelin2& root, const DataSet& set);
// The class names of a data set joined by "/", as messages name it.
QString dataSetName(const clsQuorvelin2& root, const DataSet& set);

// --output FILE and --encoding sjis|utf-8.
struct OutputOptions {
    QCommandLineOption output;
    QCommandLineOption encoding;

    OutputOptions();
    void addTo(QCommandLineParser& parser) const;
};

enum class Encoding { Windows31J, Utf8 };

// The encoding the option names, or nothing for an unknown name.
std::optional<Encoding> readEncoding(const QCommandLineParser& parser, const OutputOptions& options);
QByteArray encode(const QString& text, Encoding encoding);

// Writes the bytes to the file the options name, or to out. A stream on a device takes the bytes
// as they are; a stream on a string (a caller in the same process) takes them decoded again.
// A file that cannot be written is told on err; the result is then false.
bool writeOutput(const QByteArray& bytes, Encoding encoding, const QString& fileName, QTextStream& out,
                 QTextStream& err);

} // namespace basCliDataSet
