#pragma once

// Library-wide state, kept per thread: the current root object (the most recently created one),
// the serial-number counter of lap records and the error comment of the last failed load. Also
// the library's factory that creates objects by their identifier.

#include <QObject>
#include <QString>
#include <QStringView>

#include <memory>

class clsQuorvelin2;

namespace basQuorvelin2 {

// The identifier under which the root object is created.
inline constexpr char16_t RootIdentifier[] = u"Quorvelin2.clsQuorvelin2";

// Creates an object by its identifier; nothing for an identifier the library does not know.
std::shared_ptr<QObject> CreateObject(QStringView identifier);

// The current root object of this thread, or nothing when none exists.
clsQuorvelin2* CurrentRoot();
void SetCurrentRoot(clsQuorvelin2* root);
// Forgets root when it is the current one (a root that ends calls this).
void ReleaseCurrentRoot(const clsQuorvelin2* root);

// Increments the serial counter and returns its new value.
qint32 NextSerialNumber();
void ResetSerialNumber();

QString ErrorComment();
void SetErrorComment(const QString& comment);

} // namespace basQuorvelin2
