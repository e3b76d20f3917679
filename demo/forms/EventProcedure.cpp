#include "forms/EventProcedure.h"

#include "contract/RuntimeError.h"

namespace forms {

bool runEventProcedure(Platform& platform, const std::function<void()>& procedure) {
    try {
        procedure();
        return true;
    } catch (const contract::RuntimeError& error) {
        platform.messageBox(QStringLiteral("Run-time error '%1':\n\n%2").arg(error.code()).arg(error.description()));
        return false;
    }
}

}  // namespace forms
