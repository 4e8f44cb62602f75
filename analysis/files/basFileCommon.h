#pragma once
// What every lap-file loader shares: the root it loads into, the load mode, progress
// reporting, the message to the user, reading a text file's lines, and the failure that
// stops a load with the error comment.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class clsClassData;
class clsLapData;
class clsQuorvelin2;

namespace basFileCommon {

struct LoadContext {
    clsQuorvelin2& root;
    qint32 loadMode = 0;
    bool progressVisible = false;
    std::function<void(int)> raise;              // the Progress event
    std::function<void(int)> window;             // the progress display, when shown
    std::function<void(const QString&)> message; // a message box for the user
};

// A run-time failure of a loader: the load stops and the error comment carries the text.
class LoadError : public std::runtime_error {
public:
    explicit LoadError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    QString description() const { return m_description; }

private:
    QString m_description;
};

// Lines of a lap or import text: the file data split at CR LF when it is not empty, else the
// file read whole (UTF-16 little-endian with its byte-order mark, otherwise Windows-31J), every
// CR CR LF made CR LF and split at CR LF. A text that is then one line but holds bare CR or LF
// line ends is split at those. Raises LoadError when the file cannot be read; *missing is set
// (and nothing raised) when it does not exist.
QStringList readLines(const QString& fileName, const QString& fileData, bool* missing = nullptr);
// The text of a file as readLines reads it, before it is cut into lines.
QString readText(const QString& fileName);

// The runners of a class in result order, as a results holder of the class lists them
// (ascending result key, equal keys in reverse order of their position), followed by the
// runners without a result (which a results holder leaves out) in their class order.
std::vector<std::shared_ptr<clsLapData>> runnersInResultOrder(const clsClassData& classData);

// Items done of items in total as a rounded percentage.
int percent(qint64 done, qint64 total);

} // namespace basFileCommon
