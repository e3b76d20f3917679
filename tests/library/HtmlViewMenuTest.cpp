// The view's right-click menu and its events, through real mouse input on the view.
#include "support/QtPrinters.h"
#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/Wait.h"

#include <lumetto/HtmlView.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QWebEngineView>

namespace {

using lumetto::HtmlView;

// A shown view with two paragraphs, #a and #b.
class ShownView {
public:
    ShownView() {
        window_.resize(600, 400);
        view_ = new HtmlView(&window_);
        view_->setGeometry(0, 0, 600, 400);
        view_->setBodyHtml(QStringLiteral("<p id='a'>first paragraph</p><p id='b'>second paragraph</p>"));
        window_.show();
        shown_ = waitFor([this] { return !boundingBox(engine(), QStringLiteral("#b")).isEmpty(); });
    }

    bool shown() const { return shown_; }
    HtmlView& view() const { return *view_; }
    QWebEngineView* engine() const { return view_->findChild<QWebEngineView*>(); }
    QPoint centreOf(const QString& id) const { return boundingBox(engine(), QLatin1Char('#') + id).center(); }
    void click(const QString& id, Qt::MouseButton button) const {
        QTest::mouseClick(engine()->focusProxy(), button, {}, centreOf(id));
    }
    // Right-clicks #a and returns the menu that opened, null when none did once the click came.
    QMenu* openMenu() const {
        QSignalSpy clicked(view_, &HtmlView::clicked);
        click(QStringLiteral("a"), Qt::RightButton);
        if (!waitFor([&] { return !clicked.isEmpty(); }))
            return nullptr;
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

private:
    QWidget window_;
    HtmlView* view_;
    bool shown_ = false;
};

void choose(QMenu* menu, QAction* entry) {
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

QStringList textsOf(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

TEST(HtmlView, ShowsTheClipboardActionsThenTheHostsAsEachActionSaysAndTriggersTheChosenOne) {
    ShownView v;
    ASSERT_TRUE(v.shown());
    HtmlView& view = v.view();
    view.action(HtmlView::CopyAsHtml)->setText(QStringLiteral("Copy markup"));
    view.action(HtmlView::CopyAsHtml)->setEnabled(false);
    auto* separator = new QAction(&view);
    separator->setSeparator(true);
    auto* wrap = new QAction(QStringLiteral("Wrap"), &view);
    wrap->setCheckable(true);
    wrap->setChecked(true);
    auto* print = new QAction(QStringLiteral("Print"), &view);
    print->setEnabled(false);
    auto* hidden = new QAction(QStringLiteral("Hidden"), &view);
    hidden->setVisible(false);
    view.addActions({separator, wrap, print, hidden});
    QSignalSpy wrapped(wrap, &QAction::triggered);

    QMenu* menu = v.openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(textsOf(menu->actions()), (QStringList{QStringLiteral("Copy as Text"), QStringLiteral("Copy markup"),
                                                     QStringLiteral("-"), QStringLiteral("Wrap"), QStringLiteral("Print"),
                                                     QStringLiteral("Hidden")}));
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    EXPECT_TRUE(menu->actionGeometry(print).isValid());
    EXPECT_FALSE(menu->actionGeometry(hidden).isValid()) << "a hidden action takes no place in the menu";
    choose(menu, wrap);
    ASSERT_TRUE(waitFor([&] { return !wrapped.isEmpty(); }));
    EXPECT_EQ(wrapped.size(), 1);
    EXPECT_FALSE(wrapped[0][0].toBool()) << "the action's own check mark, toggled by the choice";
    EXPECT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }));
}

// Hidden clipboard actions leave the menu; a menu with no visible entry but a separator does
// not open, while the click is still told.
TEST(HtmlView, HiddenClipboardActionsLeaveTheMenuWhichOpensOnlyWithAVisibleEntry) {
    ShownView v;
    ASSERT_TRUE(v.shown());
    HtmlView& view = v.view();
    view.action(HtmlView::CopyAsText)->setVisible(false);
    QMenu* menu = v.openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->actionGeometry(view.action(HtmlView::CopyAsText)).isValid());
    EXPECT_TRUE(menu->actionGeometry(view.action(HtmlView::CopyAsHtml)).isValid());
    menu->close();
    ASSERT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }));

    view.action(HtmlView::CopyAsHtml)->setVisible(false);
    auto* separator = new QAction(&view);
    separator->setSeparator(true);
    view.addAction(separator);
    EXPECT_EQ(v.openMenu(), nullptr);
}

TEST(HtmlView, ClickedCarriesTheElementAndTheButton) {
    ShownView v;
    ASSERT_TRUE(v.shown());
    v.view().action(HtmlView::CopyAsText)->setVisible(false);  // no menu in the way of the next click
    v.view().action(HtmlView::CopyAsHtml)->setVisible(false);
    QStringList clicks;
    QObject::connect(&v.view(), &HtmlView::clicked, [&](const lumetto::HtmlElement& element, Qt::MouseButton button) {
        clicks << element.id() + (button == Qt::LeftButton ? QStringLiteral(":left") : button == Qt::RightButton ? QStringLiteral(":right") : QStringLiteral(":other"));
        EXPECT_EQ(v.view().clickedElement(), element);
    });
    v.click(QStringLiteral("a"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return clicks.size() == 1; }));
    v.click(QStringLiteral("b"), Qt::RightButton);
    ASSERT_TRUE(waitFor([&] { return clicks.size() == 2; }));
    EXPECT_EQ(clicks, (QStringList{QStringLiteral("a:left"), QStringLiteral("b:right")}));
}

// aboutToCopy comes before the copy: what its slot takes off the page (a highlight) is not
// copied. A clipboard action copies from the menu and from wherever the host triggers it.
TEST(HtmlView, AboutToCopyComesBeforeTheCopyAndCopiedAfterItWithTheFormat) {
    ShownView v;
    ASSERT_TRUE(v.shown());
    HtmlView& view = v.view();
    lumetto::HtmlElement highlighted;
    for (const lumetto::HtmlElement& element : view.document().elements())
        if (element.id() == QLatin1String("b"))
            highlighted = element;
    QStringList told;
    QObject::connect(&view, &HtmlView::aboutToCopy, [&](HtmlView::CopyFormat format) {
        told << QStringLiteral("about %1").arg(format);
        highlighted.setBackgroundColor(QColor());
    });
    QObject::connect(&view, &HtmlView::copied, [&](HtmlView::CopyFormat format) { told << QStringLiteral("copied %1").arg(format); });
    highlighted.setBackgroundColor(Qt::yellow);
    evaluateInPage(v.engine(), QStringLiteral("getSelection().selectAllChildren(document.body); true"));

    view.action(HtmlView::CopyAsHtml)->trigger();  // as from the host's tool bar
    ASSERT_TRUE(waitFor([&] { return told.size() == 2; }));
    EXPECT_EQ(told, (QStringList{QStringLiteral("about %1").arg(HtmlView::Html), QStringLiteral("copied %1").arg(HtmlView::Html)}));
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(copied->html().contains(QStringLiteral("second paragraph"))) << copied->html().toStdString();
    EXPECT_FALSE(copied->html().contains(QStringLiteral("background"))) << copied->html().toStdString();

    told.clear();
    QMenu* menu = v.openMenu();
    ASSERT_NE(menu, nullptr);
    choose(menu, view.action(HtmlView::CopyAsText));
    ASSERT_TRUE(waitFor([&] { return told.size() == 2; }));
    EXPECT_EQ(told, (QStringList{QStringLiteral("about %1").arg(HtmlView::PlainText),
                                 QStringLiteral("copied %1").arg(HtmlView::PlainText)}));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("second paragraph")));
}

}  // namespace
