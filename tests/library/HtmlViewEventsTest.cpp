#include "library/ViewHarness.h"

#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <stdexcept>

namespace {

using lumetto::HtmlElement;
using lumetto::HtmlView;

// Records the view's clicks as "left:<id>"; a hook may run inside each slot.
class Clicks {
public:
    explicit Clicks(HtmlView& view) : view_(view) {
        QObject::connect(&view, &HtmlView::clicked, &context_, [this](const HtmlElement& e, Qt::MouseButton button) {
            handle(button == Qt::RightButton ? QStringLiteral("right") : QStringLiteral("left"), e);
        });
    }

    std::function<void()> during;
    QStringList raised;
    int depth = 0;
    int deepest = 0;
    bool clickedElementStable = true;

private:
    void handle(const QString& kind, const HtmlElement& element) {
        deepest = std::max(deepest, ++depth);
        lumetto::HtmlError error;
        const QString id = element.id(&error);
        raised << kind + QLatin1Char(':') + (error.isValid() ? QStringLiteral("gone") : id);
        if (during)
            during();
        clickedElementStable &= view_.clickedElement() == element;
        --depth;
    }

    HtmlView& view_;
    QObject context_;
};

TEST(HtmlView, ClickDuringASlotIsRaisedAfterItNeverInsideIt) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p id='first'>first paragraph</p><p id='second'>second paragraph</p>"));
    Clicks clicks(h.view());
    const QPoint second = h.centreOf(QStringLiteral("second"));
    clicks.during = [&] {
        if (clicks.raised.size() != 1)
            return;
        h.click(second);  // a person clicks again while the slot still works
        for (int i = 0; i < 20; ++i)
            h.view().document().source();
    };
    h.click(h.centreOf(QStringLiteral("first")));
    ASSERT_TRUE(waitFor([&] { return clicks.raised.size() == 2; })) << clicks.raised.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(clicks.raised, (QStringList{QStringLiteral("left:first"), QStringLiteral("left:second")}));
    EXPECT_EQ(clicks.deepest, 1) << "no slot runs inside another";
    EXPECT_TRUE(clicks.clickedElementStable);
}

// Clicks on x, y and x again, the last two while the first slot runs: the host lets go of x
// when y is raised, after the page had handed x out again for the click still queued.
TEST(HtmlView, ElementAQueuedClickCarriesStaysValidWhenTheHostLetsGoOfItMeanwhile) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p id='x'>x</p><p id='y'>y</p>"));
    Clicks clicks(h.view());
    clicks.during = [&] {
        if (clicks.raised.size() == 1)
            h.inPage(QStringLiteral("document.getElementById('y').click(); document.getElementById('x').click(); true"));
    };
    h.click(h.centreOf(QStringLiteral("x")));
    ASSERT_TRUE(waitFor([&] { return clicks.raised.size() == 3; })) << clicks.raised.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(clicks.raised, (QStringList{QStringLiteral("left:x"), QStringLiteral("left:y"), QStringLiteral("left:x")}));
}

// What a click's slot reads of the clicked element, while the page waits for it, is what the
// page reads at any other time; what it writes is in the page before the click's event in the
// page has ended, where a listener of the page's own that runs after the control's sees it.
TEST(HtmlView, ClickSlotReadsTheElementAsThePageHasItAndItsWriteIsInTheClicksOwnEvent) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral(
        "<p id='p' Data-Note='note' style='color: red; --mark: 1; background-color: white'>paragraph</p><p><input id='f' value='as written'></p>"
        "<svg width='40' height='40'><rect id='r' viewBox='0 0 1 1' width='40' height='40' fill='blue'/></svg>"));
    const auto reads = [](const HtmlElement& e) {
        QStringList read{e.id()};
        for (const char* name : {"data-NOTE", "missing", "VALUE", "viewBox", "viewbox"})
            read << (e.attribute(QLatin1String(name)).isNull() ? QStringLiteral("null") : e.attribute(QLatin1String(name)));
        for (const char* name : {"COLOR", "--mark", "background-color"})
            read << e.styleProperty(QLatin1String(name));
        return read;
    };
    QTest::mouseClick(h.engineView()->focusProxy(), Qt::LeftButton, {}, h.centreOf(QStringLiteral("f")));
    QTest::keyClicks(h.engineView()->focusProxy(), QStringLiteral(" and typed"));
    ASSERT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("document.getElementById('f').value")).toString().endsWith(QLatin1String("typed")); }));
    h.settle();  // the click into the field has been raised
    h.inPage(QStringLiteral("window.seen = []; window.addEventListener('click', (e) => seen.push(e.target.style.backgroundColor)); true"));
    QStringList inSlot;
    QObject::connect(&h.view(), &HtmlView::clicked, [&](HtmlElement e) {
        inSlot = reads(e);
        e.setBackgroundColor(QColor(0, 128, 0));
    });
    for (const char* id : {"p", "f", "r"}) {
        SCOPED_TRACE(id);
        HtmlElement element;
        for (const HtmlElement& e : h.view().document().elements())
            if (e.id() == QLatin1String(id))
                element = e;
        element.setBackgroundColor(QColor(id == QLatin1String("p") ? Qt::white : QColor()));
        const QStringList before = reads(element);
        inSlot.clear();
        QTest::mouseClick(h.engineView()->focusProxy(), Qt::LeftButton, {}, h.centreOf(QLatin1String(id)));
        ASSERT_TRUE(waitFor([&] { return !inSlot.isEmpty(); }));
        EXPECT_EQ(inSlot, before);
        EXPECT_EQ(h.inPage(QStringLiteral("seen.pop()")).toString(), QStringLiteral("rgb(0, 128, 0)"));
    }
}

// A click that reaches the view while a modal window (an error's message box) is open waits
// until the box is closed: nothing runs behind it, nothing is lost. A click held so belongs to
// its page: when the page process dies meanwhile, the click goes with it, and is never raised,
// neither with an element of the page loaded anew nor with none: the next click is the next
// event.
TEST(HtmlView, ClickWaitsWhileAModalWindowIsOpenAndGoesWithItsPage) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p id='x'>x</p><p id='y'>y</p>"));
    Clicks clicks(h.view());
    const QString left = QStringLiteral("left:x");
    for (const bool pageDies : {false, true}) {
        SCOPED_TRACE(pageDies ? "the page dies" : "the page stays");
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Host"), QStringLiteral("An error"));
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        h.inPage(QStringLiteral("document.getElementById('x').click(); true"));
        h.settle();
        EXPECT_EQ(clicks.raised.size(), pageDies ? 1 : 0) << clicks.raised.join(QLatin1Char(' ')).toStdString();
        if (pageDies) {
            const qint64 lost = h.pageProcess();
            ASSERT_TRUE(h.killPageProcess());
            ASSERT_TRUE(waitFor([&] {
                return h.pageProcess() != lost &&
                       evaluateInPage(h.engineView(), QStringLiteral("!!document.getElementById('y')"), 100).toBool();
            }));
        }
        box.close();
        if (!pageDies)
            EXPECT_TRUE(waitFor([&] { return clicks.raised == QStringList{left}; })) << clicks.raised.join(QLatin1Char(' ')).toStdString();
    }
    h.click(h.centreOf(QStringLiteral("y")));
    ASSERT_TRUE(waitFor([&] { return clicks.raised.last() == QLatin1String("left:y"); })) << clicks.raised.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(clicks.raised, (QStringList{left, QStringLiteral("left:y")})) << "the click held while its page died was raised";
}

// The page's source, or the failure of the read that asks for it.
QString sourceOrError(const ViewHarness& h) {
    lumetto::HtmlError error;
    const QString source = h.view().document().source(&error);
    return error.isValid() ? error.description() : source;
}

// A slot that throws, opens a modal dialog, writes new content or deletes its view wedges neither that view nor another: later clicks keep coming. The page,
// which waits in its click for the slot, goes on as soon as the slot processes events: what
// the slot wrote before its dialog is on the screen while the dialog is open, and a write of
// the slot's waits for no page.
TEST(HtmlView, SlotThatThrowsOrDeletesItsViewWedgesNothing) {
    ViewHarness h;
    const QString body = QStringLiteral("<p id='x'>x</p>");
    h.view().setBodyHtml(body);
    QSignalSpy errors(&h.view(), &HtmlView::errorOccurred);
    const QColor highlight(0, 128, 0);
    int clicks = 0;
    bool shownDuringDialog = false;
    QObject::connect(&h.view(), &HtmlView::clicked, [&](HtmlElement e) {
        ++clicks;
        if (clicks == 1)
            throw std::runtime_error("the host's slot failed");
        if (clicks == 2) {
            e.setBackgroundColor(highlight);
            QMessageBox box(QMessageBox::Information, QStringLiteral("Host"), QStringLiteral("a slot's dialog"));
            QTimer poll;
            QElapsedTimer open;
            QObject::connect(&poll, &QTimer::timeout, &box, [&] {
                shownDuringDialog = h.pixelAt(h.centreOf(QStringLiteral("x")) + QPoint(100, 0)) == highlight;
                if (shownDuringDialog || open.elapsed() > WaitBoundMs)
                    box.accept();
            });
            open.start();
            poll.start(20);
            box.exec();
            e.setBackgroundColor(QColor());
        }
        if (clicks == 3)
            h.view().setBodyHtml(body);  // the same content, written anew
    });
    for (int expected : {1, 2, 3, 4}) {
        ASSERT_TRUE(waitFor([&] { return !boundingBox(h.engineView(), QStringLiteral("#x")).isEmpty(); }));
        h.click(h.centreOf(QStringLiteral("x")));
        EXPECT_TRUE(waitFor([&] { return clicks == expected; })) << clicks;
        if (expected == 3)
            EXPECT_TRUE(errors.isEmpty()) << errors.first().first().value<lumetto::HtmlError>().description().toStdString();
    }
    EXPECT_TRUE(shownDuringDialog);

    auto* doomed = new HtmlView(h.engineView()->window());
    doomed->setGeometry(0, 0, 200, 100);
    doomed->setBodyHtml(QStringLiteral("<p id='y'>delete me</p>"));
    doomed->show();
    QObject::connect(doomed, &HtmlView::clicked, doomed, [&] { delete doomed; });
    auto* view = doomed->findChild<QWebEngineView*>();
    ASSERT_TRUE(waitFor([&] { return !boundingBox(view, QStringLiteral("#y")).isEmpty(); }));
    const QPointer<HtmlView> gone(doomed);
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, boundingBox(view, QStringLiteral("#y")).center());
    EXPECT_TRUE(waitFor([&] { return gone.isNull(); }));
    doomed = nullptr;
    h.click(h.centreOf(QStringLiteral("x")));
    EXPECT_TRUE(waitFor([&] { return clicks == 5; })) << "the other view's events stopped";
}

// The page process ends while the page waits in a click for its slot, which writes into the
// page after that: the slot returns, the view comes back with its content, and takes clicks.
TEST(HtmlView, PageProcessEndedWhileThePageWaitsForAClickSlotLeavesTheViewWorking) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p id='x'>x</p><p id='y'>y</p>"));
    Clicks clicks(h.view());
    const qint64 lost = h.pageProcess();
    clicks.during = [&] {
        if (clicks.raised.size() != 1)
            return;
        h.killPageProcess();
        h.view().clickedElement().setBackgroundColor(Qt::green);
    };
    h.click(h.centreOf(QStringLiteral("x")));
    ASSERT_TRUE(waitFor([&] {
        return h.pageProcess() != lost && evaluateInPage(h.engineView(), QStringLiteral("!!document.getElementById('y')"), 100).toBool();
    }));
    h.click(h.centreOf(QStringLiteral("y")));
    EXPECT_TRUE(waitFor([&] { return clicks.raised.size() == 2; }));
    EXPECT_EQ(clicks.raised, (QStringList{QStringLiteral("left:x"), QStringLiteral("left:y")}));
}

TEST(HtmlView, LinksAndFormSubmissionsNeverNavigate) {
    ViewHarness h;
    h.view().setBaseUrl(h.baseUrl());
    h.view().setBodyHtml(QStringLiteral(
        "<p><a id='away' href='https://example.org/'>away</a> <a id='near' href='icon-logo.gif'>near</a></p>"
        "<form action='elsewhere.html'><input id='go' type='submit' value='Go'></form>"));
    Clicks clicks(h.view());
    const QUrl before = h.engineView()->page()->url();
    QSignalSpy loads(h.engineView()->page(), &QWebEnginePage::loadStarted);
    for (const char* id : {"away", "near", "go"})
        h.click(h.centreOf(QLatin1String(id)));
    ASSERT_TRUE(waitFor([&] { return clicks.raised.size() == 3; }));
    h.settle();  // the navigations the clicks would start, were one allowed, have started
    EXPECT_TRUE(loads.isEmpty());
    EXPECT_EQ(h.engineView()->page()->url(), before);
    EXPECT_TRUE(h.source().contains(QStringLiteral("id=\"away\"")));
}

// An SVG link, whatever its target (one the engine cannot parse included), followed with any
// button, with ctrl or with the keyboard, and a link or a file dropped on the view, leave the
// view on its page: it answers at once and still shows its content.
TEST(HtmlView, NoLinkFollowedAnyWayNorDropTakesTheViewFromItsPage) {
    ViewHarness h;
    h.view().setBaseUrl(h.baseUrl());
    h.engineView()->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.engineView()->window()));
    const QPoint inside(300, 200);
    const QColor lime(0, 255, 0);
    const QUrl file = QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("icon-logo.gif"));
    QWidget* input = h.engineView()->focusProxy();
    const QList<std::pair<const char*, std::function<void()>>> ways{
        {"left click", [&] { h.click(inside); }},
        {"middle click", [&] { h.click(inside, Qt::MiddleButton); }},
        {"ctrl-click", [&] { QTest::mouseClick(input, Qt::LeftButton, Qt::ControlModifier, inside); }},
        {"Enter", [&] {
             h.inPage(QStringLiteral("document.getElementById('link').focus(); true"));
             QTest::keyClick(input, Qt::Key_Return);
         }},
        {"drop", [&] {
             QMimeData dropped;
             dropped.setUrls({QUrl(QStringLiteral("http://127.0.0.1:99999/x")), file});
             QDragEnterEvent enter(inside, Qt::CopyAction | Qt::LinkAction, &dropped, Qt::LeftButton, {});
             QCoreApplication::sendEvent(input, &enter);
             QDropEvent drop(QPointF(inside), Qt::CopyAction | Qt::LinkAction, &dropped, Qt::LeftButton, {});
             QCoreApplication::sendEvent(input, &drop);
         }},
    };
    QSignalSpy loads(h.engineView()->page(), &QWebEnginePage::loadStarted);
    for (const char* target : {"http://127.0.0.1:99999/x", "http://[::1", "file://host:1/x", "//127.0.0.1:44045/u700", "icon-logo.gif"}) {
        h.view().setBodyHtml(QStringLiteral("<svg style='position:fixed;left:0;top:0;width:100%;height:100%'>"
                                            "<a id='link' xlink:href='%1'><rect width='2000' height='2000' fill='lime'/></a></svg>")
                                 .arg(QLatin1String(target)));
        loads.clear();
        for (const auto& [way, follow] : ways) {
            SCOPED_TRACE(std::string(way) + " on " + target);
            follow();
            h.settle();  // a navigation, were one allowed, has started
            QElapsedTimer timer;
            timer.start();
            EXPECT_TRUE(sourceOrError(h).contains(QStringLiteral("id=\"link\""))) << sourceOrError(h).toStdString();
            EXPECT_LT(timer.elapsed(), 1000) << "the page is there: no wait for it to load again";
            EXPECT_TRUE(waitFor([&] { return h.pixelAt(inside) == lime; }));
            EXPECT_TRUE(loads.isEmpty());
        }
    }
}

// What the user selected, as the document tells it.
QString selectedText(const ViewHarness& h) {
    return h.view().document().selectedText();
}

QPoint leftEdge(const QRect& box) { return QPoint(box.left() + 1, box.center().y()); }

// Paragraphs, a form field and an image, laid out in a shown window.
struct SelectionPage {
    SelectionPage() {
        h.view().setBodyHtml(QStringLiteral(
            "<p id='a'>first <b>bold</b> paragraph</p><p id='b'>second one</p>"
            "<p><input id='f' value='typed text'></p><p><img id='i' src='none.gif' width='40' height='40'></p>"));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(h.engineView()->window(), WaitBoundMs));
        a = boundingBox(h.engineView(), QStringLiteral("#a"));
        b = boundingBox(h.engineView(), QStringLiteral("#b"));
        field = boundingBox(h.engineView(), QStringLiteral("#f"));
        EXPECT_FALSE(a.isEmpty() || b.isEmpty() || field.isEmpty());
    }
    // Each simulated click is stamped a double-click interval after the one before, so a
    // double click never counts as a further click of an earlier one.
    void doubleClick(const QPoint& at) { QTest::mouseDClick(h.engineView()->focusProxy(), Qt::LeftButton, Qt::NoModifier, at); }
    void drag(const QPoint& from, const QPoint& to) { dragAcross(h.engineView(), from, to); }

    ViewHarness h;
    QRect a, b, field;
};

TEST(HtmlView, MouseSelectsPlainTextAcrossElementsOnlyWhileAllowed) {
    SelectionPage page;
    const ViewHarness& h = page.h;
    page.drag(leftEdge(page.a), leftEdge(page.b) + QPoint(30, 0));
    // The page takes input apart from the calls that read it: a selection is waited for.
    ASSERT_TRUE(waitFor([&] { return !selectedText(h).isEmpty(); })) << "the drag selected nothing";
    const QString text = selectedText(h);
    EXPECT_TRUE(text.startsWith(QStringLiteral("first bold paragraph\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nse"))) << text.toStdString();

    QSignalSpy changed(&h.view(), &HtmlView::mouseSelectEnabledChanged);
    h.view().setMouseSelectEnabled(false);
    EXPECT_FALSE(h.view().mouseSelectEnabled());
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(selectedText(h), QString()) << "switching selection off drops the selection";
    page.drag(leftEdge(page.a), leftEdge(page.b) + QPoint(30, 0));
    EXPECT_EQ(selectedText(h), QString());
    page.doubleClick(leftEdge(page.b) + QPoint(4, 0));
    EXPECT_EQ(selectedText(h), QString());

    h.view().setMouseSelectEnabled(true);
    EXPECT_TRUE(h.view().mouseSelectEnabled());
    page.doubleClick(leftEdge(page.b) + QPoint(4, 0));
    EXPECT_TRUE(waitFor([&] { return selectedText(h) == QLatin1String("second"); }))
        << "the double click selected " << selectedText(h).toStdString();
}

TEST(HtmlView, FieldTextIsSelectedOnlyWhileAllowedButAnImageAloneIsNoText) {
    SelectionPage page;
    const ViewHarness& h = page.h;
    const QPoint fieldStart = leftEdge(page.field) + QPoint(2, 0);
    page.drag(fieldStart, fieldStart + QPoint(50, 0));
    EXPECT_TRUE(waitFor([&] { return selectedText(h).startsWith(QStringLiteral("typed")); }))
        << "the drag in the field selected " << selectedText(h).toStdString();

    const QRect image = boundingBox(h.engineView(), QStringLiteral("#i"));
    page.drag(QPoint(image.right() + 6, image.center().y()), QPoint(image.left() - 2, image.center().y()));
    EXPECT_TRUE(waitFor([&] { return h.view().document().hasSelectedControls(); })) << "a selection of views";
    EXPECT_EQ(selectedText(h), QString());

    h.view().setMouseSelectEnabled(false);
    page.drag(fieldStart, fieldStart + QPoint(50, 0));
    EXPECT_EQ(selectedText(h), QString());
}

}  // namespace
