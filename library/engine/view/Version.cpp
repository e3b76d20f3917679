#include <lumetto/Version.h>

namespace lumetto {

QString version() {
    return QStringLiteral(LUMETTO_VERSION_STR);
}

}  // namespace lumetto
