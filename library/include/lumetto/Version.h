#pragma once

#include <lumetto/Global.h>
#include <lumetto/lumettoversion.h>

#include <QString>

/// \file Version.h
/// \brief The version of the control's library.

namespace lumetto {

/// The version of the library the program runs with, as "major.minor.patch"; #LUMETTO_VERSION_STR
/// is the version it was built against. Programs built against one major version run with any
/// later minor version of it.
LUMETTO_CONTROL_EXPORT QString version();

}  // namespace lumetto
