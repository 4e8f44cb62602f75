#pragma once

// Text as the event's files hold it.

#include "basText.h"

#include <QByteArray>
#include <QString>

inline QByteArray sjis(const QString& text) {
    return basText::toWindows31J(text);
}
