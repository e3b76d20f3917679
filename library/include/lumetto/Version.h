#pragma once

#include <lumetto/Global.h>

#include <QString>

/// \file Version.h
/// \brief The version of the control's library.

namespace lumetto {

/// The version of the library the program runs with, as "major.minor.patch". Programs built
/// against one major version run with any later minor version of it.
LUMETTO_CONTROL_EXPORT QString version();

}  // namespace lumetto
