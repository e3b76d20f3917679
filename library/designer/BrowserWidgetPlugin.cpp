#include "BrowserWidgetPlugin.h"

#include <lumetto/BrowserWidget.h>

#include <QIcon>

QString BrowserWidgetPlugin::name() const {
    return QStringLiteral("lumetto::BrowserWidget");
}

QString BrowserWidgetPlugin::group() const {
    return QStringLiteral("Display Widgets");
}

QString BrowserWidgetPlugin::toolTip() const {
    return QStringLiteral("Lumetto HTML display control");
}

QString BrowserWidgetPlugin::whatsThis() const {
    return QStringLiteral("Shows HTML with its style rules and reports the user's clicks; its content never runs "
                          "script and never navigates.");
}

QString BrowserWidgetPlugin::includeFile() const {
    return QStringLiteral("lumetto/BrowserWidget.h");
}

QIcon BrowserWidgetPlugin::icon() const {
    return QIcon(QStringLiteral(":/lumetto/designer/browserwidget.png"));
}

bool BrowserWidgetPlugin::isContainer() const {
    return false;
}

QWidget* BrowserWidgetPlugin::createWidget(QWidget* parent) {
    return new lumetto::BrowserWidget(parent);
}

// The header is included as <lumetto/BrowserWidget.h>, as the installed package provides it.
QString BrowserWidgetPlugin::domXml() const {
    return QStringLiteral(
        "<ui language=\"c++\">\n"
        " <widget class=\"lumetto::BrowserWidget\" name=\"browserWidget\"/>\n"
        " <customwidgets>\n"
        "  <customwidget>\n"
        "   <class>lumetto::BrowserWidget</class>\n"
        "   <extends>QWidget</extends>\n"
        "   <header location=\"global\">lumetto/BrowserWidget.h</header>\n"
        "  </customwidget>\n"
        " </customwidgets>\n"
        "</ui>\n");
}
