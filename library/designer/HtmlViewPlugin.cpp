#include "HtmlViewPlugin.h"

#include <lumetto/HtmlView.h>

#include <QIcon>

QString HtmlViewPlugin::name() const {
    return QStringLiteral("lumetto::HtmlView");
}

QString HtmlViewPlugin::group() const {
    return QStringLiteral("Display Widgets");
}

QString HtmlViewPlugin::toolTip() const {
    return QStringLiteral("Lumetto HTML view");
}

QString HtmlViewPlugin::whatsThis() const {
    return QStringLiteral("Shows HTML with its style rules and reports the user's clicks; its content never runs "
                          "script and never navigates.");
}

QString HtmlViewPlugin::includeFile() const {
    return QStringLiteral("lumetto/HtmlView.h");
}

QIcon HtmlViewPlugin::icon() const {
    return QIcon(QStringLiteral(":/lumetto/designer/htmlview.png"));
}

bool HtmlViewPlugin::isContainer() const {
    return false;
}

QWidget* HtmlViewPlugin::createWidget(QWidget* parent) {
    return new lumetto::HtmlView(parent);
}

// The header is included as <lumetto/HtmlView.h>, as the installed package provides it.
QString HtmlViewPlugin::domXml() const {
    return QStringLiteral(
        "<ui language=\"c++\">\n"
        " <widget class=\"lumetto::HtmlView\" name=\"htmlView\"/>\n"
        " <customwidgets>\n"
        "  <customwidget>\n"
        "   <class>lumetto::HtmlView</class>\n"
        "   <extends>QWidget</extends>\n"
        "   <header location=\"global\">lumetto/HtmlView.h</header>\n"
        "  </customwidget>\n"
        " </customwidgets>\n"
        "</ui>\n");
}
