#include "contract/RuntimeError.h"

namespace contract {

QString errorDescription(int32_t code) {
    for (const ErrorEntry& entry : ErrorTable) {
        if (entry.code == code)
            return QString::fromUtf8(entry.description);
    }
    return QString();
}

RuntimeError RuntimeError::of(int32_t code, const QString& detail) {
    const QString description = errorDescription(code);
    return RuntimeError(code, detail.isEmpty() ? description : QStringLiteral("%1: %2").arg(description, detail));
}

}  // namespace contract
