#include "engine/page/PageSettings.h"

namespace lumetto::engine {

const std::array<PageSetting, 9>& pageSettings() {
    static const std::array<PageSetting, 9> all{{
        {QWebEngineSettings::JavascriptEnabled, "javascriptEnabled", false},
        {QWebEngineSettings::JavascriptCanOpenWindows, "javascriptCanOpenWindows", false},
        {QWebEngineSettings::LocalContentCanAccessRemoteUrls, "localContentCanAccessRemoteUrls", false},
        {QWebEngineSettings::LocalContentCanAccessFileUrls, "localContentCanAccessFileUrls", true},
        {QWebEngineSettings::PluginsEnabled, "pluginsEnabled", false},
        {QWebEngineSettings::ErrorPageEnabled, "errorPageEnabled", false},
        {QWebEngineSettings::FocusOnNavigationEnabled, "focusOnNavigationEnabled", false},
        {QWebEngineSettings::AutoLoadIconsForPage, "autoLoadIconsForPage", false},
        {QWebEngineSettings::NavigateOnDropEnabled, "navigateOnDropEnabled", false},
    }};
    return all;
}

}  // namespace lumetto::engine
