#include <lumetto/Version.h>

namespace lumetto {

QString version() {
    return QStringLiteral(LUMETTO_CONTROL_VERSION);
}

}  // namespace lumetto
