// The contract's right-click menu on the view's actions: entries by key, whose check marks the
// control holds, and the design settings that hide the clipboard entries and silence the events.
#include "control/ControlHarness.h"
#include "contract/DocumentObjects.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QWebEngineView>

namespace {

using contract::Variant;

class MenuSink : public contract::vekBrowserEvents {
public:
    void LeftClick() override { raised << QStringLiteral("left"); }
    void RightClick() override { raised << QStringLiteral("right"); }
    void MenuItemClick(QString& key, Variant&, int16_t& checkState, Variant&) override {
        raised << QStringLiteral("%1 %2").arg(key).arg(checkState);
    }
    QStringList raised;
};

QMenu* openMenu(ControlHarness& h) {
    h.click(h.centreOf(QStringLiteral("x")), Qt::RightButton);
    QMenu* menu = nullptr;
    waitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; });
    return menu;
}

QStringList shownTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        if (menu->actionGeometry(action).isValid())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void choose(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

// The height a menu gives a separator of its own, a bare line.
int bareSeparatorHeight() {
    QMenu reference;
    reference.addAction(QStringLiteral("above"));
    QAction* separator = reference.addSeparator();
    reference.addAction(QStringLiteral("below"));
    return reference.actionGeometry(separator).height();
}

// The separator "-" is a bare line; choosing an entry leaves its check mark as the host set it
// and tells it; the host's update of a key no entry has fails with code 5.
TEST(ContractMenu, SeparatorIsABareLineEntryKeepsTheCheckMarkTheHostSetAndAnUnknownKeyFails) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p id='x'>x</p>"));
    MenuSink sink;
    h.control().setEventSink(&sink);
    h.control().AddMenuItem(QStringLiteral("Sep1"), QStringLiteral("-"));
    h.control().AddMenuItem(QStringLiteral("mnuCheck"), QStringLiteral("Check this menu"));
    QString key = QStringLiteral("mnuCheck");
    h.control().UpdateMenuItem(key, Variant::fromInteger(-1), Variant::fromBool(true), Variant::fromBool(true));
    for (int time = 0; time < 2; ++time) {  // the mark the host set, each time
        sink.raised.clear();
        QMenu* menu = openMenu(h);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->actionGeometry(menu->actions()[2]).height(), bareSeparatorHeight());
        choose(menu, QStringLiteral("Check this menu"));
        ASSERT_TRUE(waitFor([&] { return sink.raised.size() == 2; })) << sink.raised.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(sink.raised, (QStringList{QStringLiteral("right"), QStringLiteral("mnuCheck -1")}));
        ASSERT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }));
    }
    QString unknown = QStringLiteral("mnuNone");
    try {
        h.control().UpdateMenuItem(unknown, Variant::fromBool(true), Variant::fromBool(true), Variant::fromBool(true));
        ADD_FAILURE() << "an unknown key was updated";
    } catch (const contract::RuntimeError& e) {
        EXPECT_EQ(e.code(), contract::ErrorCode::InvalidProcedureCall);
    }
}

TEST(ContractMenu, DesignSettingsHideTheClipboardEntriesAndSilenceTheEvents) {
    ControlHarness h({{QStringLiteral("respondtoevents"), Variant::fromBool(false)},
                      {QStringLiteral("showrightclickclipboardmenu"), Variant::fromBool(false)}});
    h.control().setBodyHTML(QStringLiteral("<p id='x'>x</p><p id='y'>y</p>"));
    MenuSink sink;
    h.control().setEventSink(&sink);
    h.control().AddMenuItem(QStringLiteral("mnuCheck"), QStringLiteral("Check this menu"));
    QMenu* menu = openMenu(h);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(shownTexts(menu), QStringList{QStringLiteral("Check this menu")});
    choose(menu, QStringLiteral("Check this menu"));
    ASSERT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }));
    h.click(h.centreOf(QStringLiteral("y")));
    ASSERT_TRUE(waitFor([&] { return h.control().ClickedElement().as<contract::IHTMLElement>()->id() == QLatin1String("y"); }));
    EXPECT_TRUE(sink.raised.isEmpty()) << sink.raised.join(QLatin1Char(' ')).toStdString();
}

}  // namespace
