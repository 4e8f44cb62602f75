#include "basCliDataSet.h"

#include "basCliCommands.h"
#include "basCliIof.h"

#include "basConstants.h"
#include "basQuorvelin2.h"
#include "basText.h"
#include "clsAnalyzer.h"
#include "clsClassData.h"
#include "clsFileControl.h"
#include "clsQuorvelin2.h"
#include "clsResultsHolder.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

using namespace Qt::StringLiterals;
using namespace Quorvelin2;

namespace basCliDataSet {

namespace {

using basCliCommands::Program;

std::optional<qint32> loadType(const QString& name) {
    static const std::pair<QString, qint32> kinds[] = {
        {u"auto"_s, QV_FILETYPE_AUTODETECT}, {u"lxm"_s, QV_FILETYPE_QUORVELIN2},
        {u"lap"_s, QV_FILETYPE_QUORVELIN1},  {u"sportident"_s, QV_FILETYPE_SPORTIDENT},
        {u"oevent"_s, QV_FILETYPE_OEVENT},   {u"import"_s, QV_FILETYPE_IMPORT_ONLY},
    };
    for (const auto& [text, kind] : kinds)
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return kind;
    return basCliIof::kindNamed(name, true);
}

std::optional<qint32> mergeMode(const QString& name) {
    if (name.compare(u"append"_s, Qt::CaseInsensitive) == 0)
        return QV_LOADMODE_APPEND;
    if (name.compare(u"id"_s, Qt::CaseInsensitive) == 0)
        return QV_LOADMODE_MERGE_ID;
    if (name.compare(u"name"_s, Qt::CaseInsensitive) == 0)
        return QV_LOADMODE_MERGE_NAME;
    bool ok = false;
    const qint32 mode =
        name.startsWith(u"0x"_s, Qt::CaseInsensitive) ? name.mid(2).toInt(&ok, 16) : name.toInt(&ok);
    return ok && mode > 0 ? std::optional<qint32>(mode) : std::nullopt;
}

QString failure(const clsQuorvelin2& root, const QString& fallback) {
    const QString comment = root.ErrorComment();
    return comment.isEmpty() ? fallback : comment;
}

std::optional<int> classPosition(const clsQuorvelin2& root, const QString& value) {
    if (root.IsClassExists(value)) {
        for (int c = 1; c <= root.ClassCount(); ++c)
            if (root.ClassData(c)->ClassName().compare(value, Qt::CaseInsensitive) == 0)
                return c;
    }
    bool ok = false;
    const int position = value.trimmed().toInt(&ok);
    if (ok && position >= 1 && position <= root.ClassCount())
        return position;
    return std::nullopt;
}

} // namespace

LoadOptions::LoadOptions()
    : loadType(u"load-type"_s, QString(), u"KIND"_s, u"auto"_s),
      merge(u"merge"_s, QString(), u"MODE"_s, u"append"_s), progress(u"progress"_s), first(u"first"_s) {}

void LoadOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({loadType, merge, progress, first});
}

std::optional<LoadSettings> readLoadSettings(const QCommandLineParser& parser, const LoadOptions& options,
                                             QString& error) {
    LoadSettings settings;
    const auto type = loadType(parser.value(options.loadType));
    if (!type) {
        error = u"unknown load type \"%1\""_s.arg(parser.value(options.loadType));
        return std::nullopt;
    }
    const auto merge = mergeMode(parser.value(options.merge));
    if (!merge) {
        error = u"unknown merge mode \"%1\""_s.arg(parser.value(options.merge));
        return std::nullopt;
    }
    settings.type = *type;
    settings.merge = *merge;
    settings.progress = parser.isSet(options.progress);
    settings.first = parser.isSet(options.first);
    return settings;
}

bool loadInputs(clsQuorvelin2& root, FileControlHost& host, const QStringList& inputs,
                const LoadSettings& settings, QTextStream& err) {
    clsFileControl& files = *root.FileControl();
    files.setHost(&host);
    files.setProgressVisible(settings.progress);
    bool loaded = true;
    for (qsizetype k = 0; k < inputs.size() && loaded; ++k) {
        const QString& input = inputs[k];
        basQuorvelin2::SetErrorComment(QString());
        if (!files.LoadLapFile(input, basCliIof::loadKind(input, settings.type),
                               k == 0 ? QV_LOADMODE_NORMAL : settings.merge)) {
            err << Program << u": "_s << input << u": "_s << failure(root, u"not loaded"_s) << u'\n';
            err.flush();
            loaded = false;
        }
    }
    return loaded;
}

QCommandLineOption classOption() {
    return QCommandLineOption(u"class"_s, QString(), u"NAME"_s);
}

std::optional<std::vector<DataSet>> chooseDataSets(const clsQuorvelin2& root, const QStringList& classValues,
                                                   QString& unknown) {
    std::vector<DataSet> sets;
    if (classValues.isEmpty()) {
        for (int c = 1; c <= root.ClassCount(); ++c)
            sets.push_back(DataSet{c});
        return sets;
    }
    DataSet set;
    for (const QString& value : classValues) {
        const auto position = classPosition(root, value);
        if (!position) {
            unknown = value;
            return std::nullopt;
        }
        set.push_back(*position);
    }
    sets.push_back(std::move(set));
    return sets;
}

std::shared_ptr<clsAnalyzer> executedAnalyzer(const clsQuorvelin2& root, const DataSet& set) {
    auto analyzer = root.NewAnalyzer();
    for (const int c : set)
        analyzer->AddClass(QVariant(c));
    analyzer->Execute();
    return analyzer;
}

std::shared_ptr<clsResultsHolder> rankedResults(const clsQuorvelin2& root, const DataSet& set) {
    auto results = root.NewResultsHolder();
    for (const int c : set)
        results->AddClass(QVariant(c));
    results->CalcRank();
    return results;
}

QString dataSetName(const clsQuorvelin2& root, const DataSet& set) {
    QStringList names;
    for (const int c : set)
        names.append(root.ClassData(c)->ClassName());
    return names.join(u'/');
}

OutputOptions::OutputOptions()
    : output(u"output"_s, QString(), u"FILE"_s), encoding(u"encoding"_s, QString(), u"NAME"_s, u"sjis"_s) {}

void OutputOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({output, encoding});
}

std::optional<Encoding> readEncoding(const QCommandLineParser& parser, const OutputOptions& options) {
    const QString name = parser.value(options.encoding);
    for (const QString& sjis : {u"sjis"_s, u"shift_jis"_s, u"windows-31j"_s, u"cp932"_s})
        if (name.compare(sjis, Qt::CaseInsensitive) == 0)
            return Encoding::Windows31J;
    for (const QString& utf8 : {u"utf-8"_s, u"utf8"_s})
        if (name.compare(utf8, Qt::CaseInsensitive) == 0)
            return Encoding::Utf8;
    return std::nullopt;
}

QByteArray encode(const QString& text, Encoding encoding) {
    return encoding == Encoding::Utf8 ? text.toUtf8() : basText::toWindows31J(text);
}

bool writeOutput(const QByteArray& bytes, Encoding encoding, const QString& fileName, QTextStream& out,
                 QTextStream& err) {
    if (!fileName.isEmpty()) {
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            err << Program << u": "_s << fileName << u": "_s << file.errorString() << u'\n';
            err.flush();
            return false;
        }
        return true;
    }
    out.flush();
    if (QIODevice* device = out.device()) {
        device->write(bytes);
        if (auto* file = qobject_cast<QFile*>(device))
            file->flush();
        return true;
    }
    out << (encoding == Encoding::Utf8 ? QString::fromUtf8(bytes) : basText::fromWindows31J(bytes));
    out.flush();
    return true;
}

} // namespace basCliDataSet
