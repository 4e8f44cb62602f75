#pragma once

#include "Quorvelin2Global.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

class clsAnalyzer;
class clsQuorvelin2;
class clsResultsHolder;

// The root object's control for the text and CSV outputs. Each output takes an analysed data set
// and returns one complete text with CR LF line ends; the control keeps no state and changes
// nothing it reads. Failures (a missing member, too many controls) raise ProjectError and give no
// text.
class QV_EXPORT clsTextControl : public QObject {
    Q_OBJECT
public:
    // The mail text's row store: header, 30 control legs, the finish leg and the total row.
    static constexpr int MailMaxControls = 30;

    explicit clsTextControl(clsQuorvelin2* root);

    // The two CSV exports reach their argument only by member name, so any object that offers
    // the executed analyzer's members will do.
    Q_INVOKABLE QString OutputCsvVennelMacro(const QVariant& wAnalyzer) const;
    Q_INVOKABLE QString OutputCsvSplitsBrowser(const QVariant& wAnalyzer) const;
    Q_INVOKABLE QString OutputTextMail(const std::shared_ptr<clsAnalyzer>& wAnalyzer) const;
    Q_INVOKABLE QString OutputTextResult(const std::shared_ptr<clsResultsHolder>& wResults) const;

    clsQuorvelin2* root() const { return m_root; }

private:
    clsQuorvelin2* m_root;
};
