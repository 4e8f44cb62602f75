#pragma once
// IOF XML result lists on the command line: the library takes a .xml name for its own lap file
// unless told otherwise, so the tool looks at each input and names the IOF kind itself.

#include <QString>

#include <optional>

namespace basCliIof {

// The file kind to load an input with: the requested kind, or for an automatic load of an IOF
// XML result list (by its root element and namespace) the kind of its version.
qint32 loadKind(const QString& input, qint32 requested);
// The IOF kinds by name: "iof3" (both ways) and "iof2" (loading; "iof" saves 2.0.3).
std::optional<qint32> kindNamed(const QString& name, bool loading);

} // namespace basCliIof
