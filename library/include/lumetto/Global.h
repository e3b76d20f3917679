#pragma once

#include <QtCore/qglobal.h>

/// \file Global.h
/// \brief The export macro of the control's library.

/// \def LUMETTO_CONTROL_EXPORT
/// Marks a class or function as part of the library's public interface: exported while the
/// library is built, imported by programs that use it. Everything else stays hidden.
#if defined(LUMETTO_CONTROL_STATIC)
#define LUMETTO_CONTROL_EXPORT
#elif defined(LUMETTO_CONTROL_BUILD)
#define LUMETTO_CONTROL_EXPORT Q_DECL_EXPORT
#else
#define LUMETTO_CONTROL_EXPORT Q_DECL_IMPORT
#endif
