#pragma once
// Events to save and load, a text picture of a data set to compare them by, a host that
// records what the file control asked of it, and the DTD check of IOF documents.

#include "FileControlHost.h"
#include "clsQuorvelin2.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>

// What a format keeps of a data set; the picture leaves out the rest.
struct Keeps {
    bool rankFixAndAge = true;
    bool idAndEcard = true;
    bool courses = true;
    bool meta = true;
    bool classDetails = true; // cut-off rank and file name
    bool noDataLegs = true;   // false: a leg without data reads back as disqualified
    bool classesWithoutControls = true;
    bool runnersWithoutLegs = true;
};

// A small event with every kind of value: two classes on courses, one without controls, runners
// with start times, disqualified, skipped and empty legs, one runner without result.
std::unique_ptr<clsQuorvelin2> makeSampleEvent();
// A generated event for round trips of size.
void fillGeneratedEvent(clsQuorvelin2& root, int classes, int runnersPerClass, int legs);

// One line per fact; the runners of a class sorted by their lines.
QStringList picture(const clsQuorvelin2& root, const Keeps& keeps = Keeps());

// xmllint --noout --dtdvalid against the IOF 2.0.3 DTD; empty when valid, else its report.
QString iofValidationErrors(const QString& path);
// xmllint --noout --schema against the IOF 3.0 schema; empty when valid, else its report.
QString iof3ValidationErrors(const QString& path);

class RecordingHost : public FileControlHost {
public:
    void showProgress() override { calls << QStringLiteral("show"); }
    void setProgress(int percent) override { calls << QStringLiteral("set %1").arg(percent); }
    void closeProgress() override { calls << QStringLiteral("close"); }
    std::optional<QString> chooseFile(const QString& folder, const QStringList& files) override {
        chooseFolder = folder;
        offered << files;
        ++chooseCount;
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    void message(const QString& text, const QString& title) override {
        messages << text;
        titles << title;
    }

    QStringList calls;
    QStringList offered;
    QString chooseFolder;
    int chooseCount = 0;
    std::deque<std::optional<QString>> answers;
    QStringList messages;
    QStringList titles;
};
