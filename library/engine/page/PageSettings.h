#pragma once

#include <lumetto/Global.h>

#include <QWebEngineSettings>

#include <array>

namespace lumetto::engine {

// One setting of a control's page: the attribute of the widget's engine page, and the same
// setting's property of the Qt Quick view's settings.
struct PageSetting {
    QWebEngineSettings::WebAttribute attribute;
    const char* property;
    bool on;
};

// The settings every control's page has, whichever face shows it: the content never runs
// script (the control's own script runs in a world of its own), opens no window, reaches no
// remote address, shows no error page, takes no focus as it loads, loads no icon and
// navigates on no drop.
LUMETTO_CONTROL_EXPORT const std::array<PageSetting, 9>& pageSettings();

// Text without a size of its own is set in the desktop's small interface size (8 pt at 96 DPI):
// the pages are laid out for text of that size, and fit the control only with it.
constexpr int DefaultFontPixels = 11;

}  // namespace lumetto::engine
