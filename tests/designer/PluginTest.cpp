#include "driving/PageScript.h"
#include "driving/Wait.h"

#include <lumetto/HtmlView.h>

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QPluginLoader>
#include <QSignalSpy>
#include <QWebEngineView>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace {

// The plugin as Qt Designer loads it: from its file, through Qt's plugin loader.
TEST(DesignerPlugin, CreatesTheControlWhosePropertiesDesignerCanWrite) {
    QPluginLoader loader(QStringLiteral(LUMETTO_DESIGNER_PLUGIN));
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
    EXPECT_FALSE(plugin->icon().isNull());
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("class=\"%1\"").arg(plugin->name())))
        << "the widget box's entry creates the class the plugin names";

    QWidget form;
    form.resize(400, 300);
    auto* control = qobject_cast<lumetto::HtmlView*>(plugin->createWidget(&form));
    ASSERT_NE(control, nullptr);
    form.show();

    // Designer's property editor and uic's code write the properties by name; each one it
    // lists must take the value written and show it in the page. Only the view's state that no
    // form sets (the last error) is kept from its list. Each one notifies its change, so that
    // bindings and mappers follow it.
    const QMetaObject* meta = control->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        EXPECT_EQ(property.isDesignable(), property.isWritable()) << property.name();
        EXPECT_TRUE(property.hasNotifySignal()) << property.name();
    }
    QSignalSpy bodyChanged(control, &lumetto::HtmlView::bodyHtmlChanged);
    QSignalSpy selectChanged(control, &lumetto::HtmlView::mouseSelectEnabledChanged);
    ASSERT_TRUE(control->setProperty("bodyHtml", QStringLiteral("<p id='hello'>Hello</p>")));
    ASSERT_TRUE(control->setProperty("cssText", QStringLiteral("p { color: rgb(0, 128, 0) }")));
    ASSERT_TRUE(control->setProperty("mouseSelectEnabled", false));
    EXPECT_EQ(control->property("bodyHtml").toString(), QStringLiteral("<p id='hello'>Hello</p>"));
    EXPECT_FALSE(control->property("mouseSelectEnabled").toBool());
    ASSERT_TRUE(control->setProperty("mouseSelectEnabled", false));  // no change, no signal
    EXPECT_EQ(bodyChanged.size(), 1);
    EXPECT_EQ(selectChanged.size(), 1);
    auto* view = control->findChild<QWebEngineView*>();
    EXPECT_EQ(evaluateInPage(view, QStringLiteral("getComputedStyle(document.getElementById('hello')).color")).toString(),
              QStringLiteral("rgb(0, 128, 0)"));
    delete control;
}

}  // namespace
