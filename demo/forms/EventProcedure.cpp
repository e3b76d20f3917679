#include "forms/EventProcedure.h"

#include <lumetto/RuntimeError.h>

namespace forms {

bool runEventProcedure(Platform& platform, const std::function<void()>& procedure) {
    try {
        procedure();
        return true;
    } catch (const lumetto::RuntimeError& error) {
        platform.messageBox(QStringLiteral("Run-time error '%1':\n\n%2").arg(error.code()).arg(error.description()));
        return false;
    }
}

}  // namespace forms
