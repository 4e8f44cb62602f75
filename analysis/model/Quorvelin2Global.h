#pragma once

#include <QtGlobal>

// Marks the library's public interface: what hosts, tools and tests call across the shared
// library's boundary. Everything else stays inside the library.
#if defined(QUORVELIN2_LIBRARY)
#define QV_EXPORT Q_DECL_EXPORT
#else
#define QV_EXPORT Q_DECL_IMPORT
#endif
