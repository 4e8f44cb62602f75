#pragma once

#include "Quorvelin2Global.h"

#include <QObject>

class clsQuorvelin2;

// The root object's control for the HTML page sets. The root creates one and keeps it for its
// lifetime; the control reaches the data set through the root.
class QV_EXPORT clsHtmlControl : public QObject {
    Q_OBJECT
public:
    explicit clsHtmlControl(clsQuorvelin2* root);

    clsQuorvelin2* root() const { return m_root; }

private:
    clsQuorvelin2* m_root;
};
