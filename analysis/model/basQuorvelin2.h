#pragma once

// Library-wide state, kept per thread: the current root object (the most recently created one),
// the serial-number counter of lap records and the error comment of the last failed load. Also
// the library's factory that creates objects by their identifier.

#include "Quorvelin2Global.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <memory>

class clsQuorvelin2;

namespace basQuorvelin2 {

// The identifier under which the root object is created.
inline constexpr char16_t RootIdentifier[] = u"Quorvelin2.clsQuorvelin2";

// Creates an object by its identifier; nothing for an identifier the library does not know.
QV_EXPORT std::shared_ptr<QObject> CreateObject(QStringView identifier);

// The current root object of this thread, or nothing when none exists.
QV_EXPORT clsQuorvelin2* CurrentRoot();
QV_EXPORT void SetCurrentRoot(clsQuorvelin2* root);
// Forgets root when it is the current one (a root that ends calls this).
QV_EXPORT void ReleaseCurrentRoot(const clsQuorvelin2* root);

// Increments the serial counter and returns its new value.
QV_EXPORT qint32 NextSerialNumber();
QV_EXPORT void ResetSerialNumber();

QV_EXPORT QString ErrorComment();
QV_EXPORT void SetErrorComment(const QString& comment);

} // namespace basQuorvelin2
