#include "library/ViewHarness.h"

#include "contract/ContractFailure.h"
#include "contract/DocumentObjects.h"
#include "contract/HtmlViewControl.h"
#include "contract/RuntimeError.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <memory>
#include <optional>

namespace {

using contract::IHTMLDocument2;
using contract::IHTMLElement;
using contract::IHTMLElementCollection;
using contract::RuntimeError;
using contract::Variant;

// The demo's control in a harness's window, with a forms designer's settings.
struct Adapted {
    explicit Adapted(const contract::DesignSettings& settings = {})
        : h([&](QWidget* window) {
              control = std::make_unique<contract::HtmlViewControl>(window, settings);
              return &control->view();
          }, ViewHarness::Window::Shown) {}

    std::shared_ptr<IHTMLElementCollection> all() {
        return control->Document().as<IHTMLDocument2>()->all().as<IHTMLElementCollection>();
    }
    std::shared_ptr<IHTMLElement> firstWithTag(const QString& tag) {
        auto elements = all();
        for (int i = 0; i < elements->length(); ++i)
            if (auto element = elements->item(i).as<IHTMLElement>(); element->tagName() == tag)
                return element;
        return nullptr;
    }

    std::unique_ptr<contract::HtmlViewControl> control;
    ViewHarness h;
};

// The run-time error a call fails with; none when it succeeds.
template <typename Call>
std::optional<RuntimeError> failureOf(Call call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e;
    }
    return std::nullopt;
}

// The events as the demo's handlers receive them, one line each with its arguments.
class Handlers : public contract::vekBrowserEvents {
public:
    explicit Handlers(contract::vekBrowser& control) : control_(control) { control.setEventSink(this); }

    void LeftClick() override { raised << QStringLiteral("LeftClick ") + clickedId(); }
    void RightClick() override { raised << QStringLiteral("RightClick ") + clickedId(); }
    void MenuItemClick(QString& key, Variant& reserved1, int16_t& checkState, Variant& reserved2) override {
        const bool reservedEmpty = reserved1.type() == Variant::Type::Empty && reserved2.type() == Variant::Type::Empty;
        raised << QStringLiteral("MenuItemClick %1 %2%3").arg(key).arg(checkState).arg(reservedEmpty ? "" : " reserved");
    }
    void ClipboardCopy(int32_t& copiedAsHtml) override { raised << QStringLiteral("ClipboardCopy %1").arg(copiedAsHtml); }
    void RestoreHighlight() override { raised << QStringLiteral("RestoreHighlight"); }

    QStringList raised;
    std::shared_ptr<IHTMLElement> clicked;

private:
    QString clickedId() {
        clicked = control_.ClickedElement().as<IHTMLElement>();
        return clicked->id();
    }
    contract::vekBrowser& control_;
};

TEST(Adapter, SameElementGivesTheSameObject) {
    Adapted a;
    a.control->setBodyHTML(QStringLiteral("<div id='a'><p id='x'>x</p></div>"));
    EXPECT_EQ(a.all()->item(6).as<IHTMLElement>(), a.all()->item(6).as<IHTMLElement>());
    const auto paragraph = a.firstWithTag(QStringLiteral("P"));
    Handlers handlers(*a.control);
    a.h.click(a.h.centreOf(QStringLiteral("x")));
    ASSERT_TRUE(waitFor([&] { return handlers.raised.size() == 1; }));
    EXPECT_EQ(handlers.clicked, paragraph) << "the clicked element is the object the host holds";
    EXPECT_EQ(a.control->ClickedElement().as<IHTMLElement>(), paragraph);
}

TEST(Adapter, UpdateMenuItemOfAKeyNoEntryHasFailsWithCode5) {
    Adapted a;
    a.control->AddMenuItem(QStringLiteral("known"), QStringLiteral("Known"));
    QString known = QStringLiteral("known");
    QString unknown = QStringLiteral("unknown");
    EXPECT_FALSE(failureOf([&] { a.control->UpdateMenuItem(known, Variant::fromBool(true), Variant::fromBool(true), Variant::fromBool(true)); }));
    const auto failure = failureOf([&] {
        a.control->UpdateMenuItem(unknown, Variant::fromBool(true), Variant::fromBool(true), Variant::fromBool(true));
    });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), contract::ErrorCode::InvalidProcedureCall);
}

// Right-clicks the element with that id and chooses the menu's entry of that text with the mouse.
void choose(Adapted& a, const QString& id, const QString& entry) {
    a.h.click(a.h.centreOf(id), Qt::RightButton);
    QMenu* menu = nullptr;
    ASSERT_TRUE(waitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }));
    for (QAction* action : menu->actions())
        if (action->text() == entry) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    ADD_FAILURE() << "no entry " << entry.toStdString();
    menu->close();
}

TEST(Adapter, EventsCarryTheArgumentsTheDemosHandlersRead) {
    Adapted a;
    a.control->setBodyHTML(QStringLiteral("<p id='x'>some text</p>"));
    a.control->AddMenuItem(QStringLiteral("mark"), QStringLiteral("Mark"));
    QString key = QStringLiteral("mark");
    a.control->UpdateMenuItem(key, Variant::fromBool(true), Variant::fromBool(true), Variant::fromBool(true));
    Handlers handlers(*a.control);
    a.h.click(a.h.centreOf(QStringLiteral("x")));
    ASSERT_TRUE(waitFor([&] { return handlers.raised.size() == 1; }));
    choose(a, QStringLiteral("x"), QStringLiteral("Mark"));
    ASSERT_TRUE(waitFor([&] { return handlers.raised.size() == 3; })) << handlers.raised.join(QLatin1Char('|')).toStdString();
    a.control->UpdateMenuItem(key, Variant::fromBool(false), Variant::fromBool(true), Variant::fromBool(true));
    choose(a, QStringLiteral("x"), QStringLiteral("Mark"));
    a.h.inPage(QStringLiteral("getSelection().selectAllChildren(document.getElementById('x')); true"));
    choose(a, QStringLiteral("x"), QStringLiteral("Copy as HTML"));
    choose(a, QStringLiteral("x"), QStringLiteral("Copy as Text"));
    const QStringList expected{
        QStringLiteral("LeftClick x"), QStringLiteral("RightClick x"), QStringLiteral("MenuItemClick mark -1"),
        QStringLiteral("RightClick x"), QStringLiteral("MenuItemClick mark 0"),
        QStringLiteral("RightClick x"), QStringLiteral("RestoreHighlight"), QStringLiteral("ClipboardCopy 1"),
        QStringLiteral("RightClick x"), QStringLiteral("RestoreHighlight"), QStringLiteral("ClipboardCopy 0"),
    };
    EXPECT_TRUE(waitFor([&] { return handlers.raised.size() == expected.size(); })) << handlers.raised.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(handlers.raised, expected);
}

// The height a menu gives a separator of its own, a bare line.
int bareSeparatorHeight() {
    QMenu reference;
    reference.addAction(QStringLiteral("above"));
    QAction* separator = reference.addSeparator();
    reference.addAction(QStringLiteral("below"));
    return reference.actionGeometry(separator).height();
}

// The separator "-" is a bare line, not a heading; choosing an entry leaves its check mark as
// the host set it, each time.
TEST(Adapter, MenuSeparatorIsABareLineAndChoosingKeepsTheHostsCheckMark) {
    Adapted a;
    a.control->setBodyHTML(QStringLiteral("<p id='x'>x</p>"));
    a.control->AddMenuItem(QStringLiteral("Sep1"), QStringLiteral("-"));
    a.control->AddMenuItem(QStringLiteral("mnuCheck"), QStringLiteral("Check this menu"));
    QString key = QStringLiteral("mnuCheck");
    a.control->UpdateMenuItem(key, Variant::fromInteger(-1), Variant::fromBool(true), Variant::fromBool(true));
    Handlers handlers(*a.control);
    for (int time = 1; time <= 2; ++time) {
        a.h.click(a.h.centreOf(QStringLiteral("x")), Qt::RightButton);
        QMenu* menu = nullptr;
        ASSERT_TRUE(waitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }));
        EXPECT_EQ(menu->actionGeometry(menu->actions()[2]).height(), bareSeparatorHeight());
        menu->close();
        choose(a, QStringLiteral("x"), QStringLiteral("Check this menu"));
        ASSERT_TRUE(waitFor([&] { return handlers.raised.size() == 3 * time; })) << handlers.raised.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(handlers.raised.last(), QStringLiteral("MenuItemClick mnuCheck -1"));
    }
}

// Without events the control raises none, and its menu has only the host's entries.
TEST(Adapter, DesignSettingsHideTheClipboardEntriesAndSilenceTheEvents) {
    Adapted a({{QStringLiteral("respondtoevents"), Variant::fromBool(false)},
               {QStringLiteral("showrightclickclipboardmenu"), Variant::fromBool(false)}});
    a.control->setBodyHTML(QStringLiteral("<p id='x'>x</p><p id='y'>y</p>"));
    a.control->AddMenuItem(QStringLiteral("mnuCheck"), QStringLiteral("Check this menu"));
    Handlers handlers(*a.control);
    a.h.click(a.h.centreOf(QStringLiteral("x")), Qt::RightButton);
    QMenu* menu = nullptr;
    ASSERT_TRUE(waitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }));
    QStringList shown;
    for (QAction* action : menu->actions())
        if (menu->actionGeometry(action).isValid())
            shown << action->text();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Check this menu")});
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().last()).center());
    ASSERT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }));
    a.h.click(a.h.centreOf(QStringLiteral("y")));
    ASSERT_TRUE(waitFor([&] { return a.control->ClickedElement().as<IHTMLElement>()->id() == QLatin1String("y"); }));
    EXPECT_TRUE(handlers.raised.isEmpty()) << handlers.raised.join(QLatin1Char(' ')).toStdString();
}

// The library's failures, as the members of the contract fail with them.
TEST(Adapter, FailuresAreTheRunTimeErrorsOfTheirMembers) {
    Adapted a;
    a.control->setBodyHTML(QStringLiteral("<p>text</p><p><img id='i' src='none.gif' width='40' height='40'></p>"));
    const auto lacking = failureOf([&] { a.firstWithTag(QStringLiteral("BODY"))->readMember(QStringLiteral("noSuchMember")); });
    ASSERT_TRUE(lacking) << "a member the element lacks was read";
    EXPECT_EQ(lacking->code(), contract::ErrorCode::MemberNotSupported);
    EXPECT_TRUE(lacking->description().endsWith(contract::errorDescription(lacking->code()))) << lacking->what();

    a.h.inPage(QStringLiteral("const r = document.createRange(); r.selectNode(document.getElementById('i'));"
                              "getSelection().removeAllRanges(); getSelection().addRange(r); true"));
    const auto controls = failureOf([&] {
        a.control->Document().as<IHTMLDocument2>()->selection().as<contract::IHTMLSelectionObject>()->createRange().as<contract::IHTMLTxtRange>();
    });
    ASSERT_TRUE(controls) << "a selection of controls gave a text range";
    EXPECT_EQ(controls->code(), contract::ErrorCode::TypeMismatch);

    // A write the view carries to a new page and fails there: something the view knows nothing
    // of moved the paragraph before the host wrote into it.
    QSignalSpy failed(&a.control->view(), &lumetto::HtmlView::errorOccurred);
    a.control->setBodyHTML(QStringLiteral("<p>set</p>"));
    a.h.inPage(QStringLiteral("document.body.prepend(document.createElement('div')); true"));
    a.firstWithTag(QStringLiteral("P"))->setInnerHTML(QStringLiteral("written"));
    a.control->setBaseURL(a.h.baseDirectory());
    ASSERT_TRUE(waitFor([&] { return !failed.isEmpty(); }));
    const RuntimeError reported = contract::runtimeErrorOfReported(failed[0][0].value<lumetto::HtmlError>());
    EXPECT_EQ(reported.code(), contract::ErrorCode::ObjectNotSet);
    EXPECT_TRUE(reported.description().contains(QStringLiteral("innerHTML"))) << reported.what();

    ASSERT_TRUE(a.h.killPageProcess());
    std::optional<RuntimeError> dead = failureOf([&] { a.control->setBodyHTML(QStringLiteral("<p>during the outage</p>")); });
    if (!dead && a.control->SourceHTML().toText().contains(QStringLiteral("during the outage")))
        FAIL() << "a call to a dead page reported success";
    if (dead) {
        EXPECT_EQ(dead->code(), contract::ErrorCode::AutomationError);
        EXPECT_TRUE(dead->description().contains(QStringLiteral("bodyHTML"))) << dead->what();
    }
}

// An element of a page lost with its process fails its calls, but its style takes reads and
// writes, without effect on the page loaded anew.
TEST(Adapter, ElementsOfALostPageTakeStyleWithoutTouchingTheNewPage) {
    Adapted a;
    a.control->setBodyHTML(QStringLiteral("<p>content</p>"));
    auto before = a.firstWithTag(QStringLiteral("P"));
    ASSERT_NE(before, nullptr);
    ASSERT_TRUE(a.h.killPageProcess());
    std::shared_ptr<IHTMLElement> after;
    ASSERT_TRUE(waitFor([&] {
        failureOf([&] { after = a.firstWithTag(QStringLiteral("P")); });
        return after != nullptr;
    }));

    EXPECT_FALSE(failureOf([&] { before->style()->setBackgroundColor(Variant::fromString(QStringLiteral("red"))); }));
    EXPECT_EQ(before->style()->backgroundColor().toText(), QString());
    EXPECT_EQ(after->style()->backgroundColor().toText(), QString()) << "the new page's element is untouched";
    EXPECT_NE(before, after);
    const auto gone = failureOf([&] { before->id(); });
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->code(), contract::ErrorCode::ObjectNotSet);
}

TEST(Adapter, DesignSettingsApplyFromTheStartAndTakeTheirVariants) {
    Adapted a({{QStringLiteral("csshttp"), Variant::fromBool(true)},
               {QStringLiteral("csstext"), Variant::fromString(QStringLiteral("blue.css"))},
               {QStringLiteral("allowmouseselect"), Variant::fromBool(false)}});
    QFile sheet(a.h.baseDirectory() + QStringLiteral("blue.css"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("body { background: #0000ff; }");
    sheet.close();
    a.control->setBaseURL(a.h.baseDirectory());
    a.control->setBodyHTML(QStringLiteral("<p>x</p>"));
    EXPECT_TRUE(waitFor([&] { return a.h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));
    EXPECT_FALSE(a.control->AllowMouseSelect().toBool());

    a.control->setAllowMouseSelect(Variant::fromInteger(-1));
    EXPECT_EQ(a.control->AllowMouseSelect().type(), Variant::Type::Boolean);
    EXPECT_TRUE(a.control->AllowMouseSelect().toBool());
    a.control->setAllowMouseSelect(Variant::fromInteger(0));
    EXPECT_FALSE(a.control->AllowMouseSelect().toBool());
}

}  // namespace
