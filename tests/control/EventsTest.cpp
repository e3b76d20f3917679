#include "control/ControlHarness.h"
#include "contract/DocumentObjects.h"
#include "contract/RuntimeError.h"
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
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>
#include <stdexcept>

namespace {

using contract::IHTMLElement;

// Records the control's click events; a hook may run inside each handler.
class Sink : public contract::vekBrowserEvents {
public:
    explicit Sink(contract::vekBrowser& control) : control_(control) { control.setEventSink(this); }

    void LeftClick() override { handle(QStringLiteral("left")); }
    void RightClick() override { handle(QStringLiteral("right")); }

    std::function<void()> during;
    QStringList raised;  // "left:<id>" per event
    int depth = 0;
    int deepest = 0;
    bool clickedElementStable = true;

private:
    void handle(const QString& kind) {
        deepest = std::max(deepest, ++depth);
        const auto clicked = control_.ClickedElement().as<IHTMLElement>();
        try {
            raised << kind + QLatin1Char(':') + clicked->id();
        } catch (const contract::RuntimeError& e) {
            raised << kind + QStringLiteral(":error %1").arg(e.code());
        }
        if (during)
            during();
        clickedElementStable &= control_.ClickedElement().as<IHTMLElement>() == clicked;
        --depth;
    }

    contract::vekBrowser& control_;
};

TEST(Events, ClickDuringAHandlerIsRaisedAfterItNeverInsideIt) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p id='first'>first paragraph</p><p id='second'>second paragraph</p>"));
    Sink sink(h.control());
    const QPoint second = h.centreOf(QStringLiteral("second"));
    sink.during = [&] {
        if (sink.raised.size() != 1)
            return;
        h.click(second);  // a person clicks again while the handler still works
        for (int i = 0; i < 20; ++i)
            h.control().SourceHTML();
    };
    h.click(h.centreOf(QStringLiteral("first")));
    ASSERT_TRUE(waitFor([&] { return sink.raised.size() == 2; })) << sink.raised.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(sink.raised, (QStringList{QStringLiteral("left:first"), QStringLiteral("left:second")}));
    EXPECT_EQ(sink.deepest, 1) << "no handler runs inside another";
    EXPECT_TRUE(sink.clickedElementStable);
}

// Clicks on x, y and x again, the last two while the first handler runs: the host lets go of x
// when y is raised, after the page had handed x out again for the click still queued.
TEST(Events, ElementAQueuedClickCarriesStaysValidWhenTheHostLetsGoOfItMeanwhile) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p id='x'>x</p><p id='y'>y</p>"));
    Sink sink(h.control());
    sink.during = [&] {
        if (sink.raised.size() == 1)
            h.inPage(QStringLiteral("document.getElementById('y').click(); document.getElementById('x').click(); true"));
    };
    h.click(h.centreOf(QStringLiteral("x")));
    ASSERT_TRUE(waitFor([&] { return sink.raised.size() == 3; })) << sink.raised.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(sink.raised, (QStringList{QStringLiteral("left:x"), QStringLiteral("left:y"), QStringLiteral("left:x")}));
}

// An event that reaches the control while a modal window (a run-time error's box) is open
// waits until the box is closed: nothing runs behind it, nothing is lost. A click held so
// belongs to its page: when the page process dies meanwhile, the click goes with it, and is
// never raised with an element of the page loaded anew.
TEST(Events, EventWaitsWhileAModalWindowIsOpenAndGoesWithItsPage) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p id='x'>x</p>"));
    Sink sink(h.control());
    const QString left = QStringLiteral("left:x");
    for (const bool pageDies : {false, true}) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Form1"), QStringLiteral("Run-time error '440'"));
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        h.inPage(QStringLiteral("document.getElementById('x').click(); true"));
        QTest::qWait(300);  // time for the event to be raised, were it not held back
        EXPECT_EQ(sink.raised.size(), pageDies ? 1 : 0) << sink.raised.join(QLatin1Char(' ')).toStdString();
        if (pageDies) {
            const qint64 lost = h.view()->page()->renderProcessPid();
            ASSERT_EQ(::kill(static_cast<pid_t>(lost), SIGKILL), 0);
            ASSERT_TRUE(waitFor([&] {
                return h.view()->page()->renderProcessPid() != lost &&
                       evaluateInPage(h.view(), QStringLiteral("!!document.getElementById('x')"), 100).toBool();
            }));
        }
        box.close();
        EXPECT_TRUE(waitFor([&] { return sink.raised == QStringList{left}; })) << sink.raised.join(QLatin1Char(' ')).toStdString();
    }
    QTest::qWait(300);
    h.click(h.centreOf(QStringLiteral("x")));
    EXPECT_TRUE(waitFor([&] { return sink.raised == (QStringList{left, left}); }))
        << sink.raised.join(QLatin1Char(' ')).toStdString();
}

// A slot that throws, opens a modal dialog, writes new content or deletes its view wedges
// neither that view nor another: later clicks keep coming.
TEST(Events, SlotThatThrowsOrDeletesItsControlWedgesNothing) {
    ControlHarness h;
    const QString body = QStringLiteral("<p id='x'>x</p>");
    h.control().setBodyHTML(body);
    int clicks = 0;
    QObject::connect(&h.control().view(), &lumetto::HtmlView::clicked, [&] {
        ++clicks;
        if (clicks == 1)
            throw std::runtime_error("the host's slot failed");
        if (clicks == 2) {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Host"), QStringLiteral("a slot's dialog"));
            QTimer::singleShot(300, &box, &QMessageBox::accept);
            box.exec();
        }
        if (clicks == 3)
            h.control().view().setBodyHtml(body);  // the same content, written anew
    });
    for (int expected : {1, 2, 3, 4}) {
        ASSERT_TRUE(waitFor([&] { return !boundingBox(h.view(), QStringLiteral("#x")).isEmpty(); }));
        h.click(h.centreOf(QStringLiteral("x")));
        EXPECT_TRUE(waitFor([&] { return clicks == expected; })) << clicks;
    }

    auto* doomed = new lumetto::HtmlView(h.view()->window());
    doomed->setGeometry(0, 0, 200, 100);
    doomed->setBodyHtml(QStringLiteral("<p id='y'>delete me</p>"));
    doomed->show();
    QObject::connect(doomed, &lumetto::HtmlView::clicked, doomed, [&] { delete doomed; });
    auto* view = doomed->findChild<QWebEngineView*>();
    ASSERT_TRUE(waitFor([&] { return !boundingBox(view, QStringLiteral("#y")).isEmpty(); }));
    const QPointer<lumetto::HtmlView> gone(doomed);
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, boundingBox(view, QStringLiteral("#y")).center());
    EXPECT_TRUE(waitFor([&] { return gone.isNull(); }));
    doomed = nullptr;
    h.click(h.centreOf(QStringLiteral("x")));
    EXPECT_TRUE(waitFor([&] { return clicks == 5; })) << "the other control's events stopped";
}

// The page's source, or the failure of the call that asks for it.
QString sourceOrError(ControlHarness& h) {
    try {
        return h.control().SourceHTML().toText();
    } catch (const contract::RuntimeError& e) {
        return e.description();
    }
}

TEST(Events, LinksAndFormSubmissionsNeverNavigate) {
    ControlHarness h;
    h.control().setBaseURL(h.baseDirectory());
    h.control().setBodyHTML(QStringLiteral(
        "<p><a id='away' href='https://example.org/'>away</a> <a id='near' href='icon-logo.gif'>near</a></p>"
        "<form action='elsewhere.html'><input id='go' type='submit' value='Go'></form>"));
    Sink sink(h.control());
    const QUrl before = h.view()->page()->url();
    for (const char* id : {"away", "near", "go"})
        h.click(h.centreOf(QLatin1String(id)));
    ASSERT_TRUE(waitFor([&] { return sink.raised.size() == 3; }));
    QTest::qWait(300);  // a window in which a navigation would start, were one allowed
    EXPECT_EQ(h.view()->page()->url(), before);
    EXPECT_TRUE(h.control().SourceHTML().toText().contains(QStringLiteral("id=\"away\"")));
}

// An SVG link, whatever its target (one the engine cannot parse included), followed with any
// button, with ctrl or with the keyboard, and a link or a file dropped on the view, leave the
// control on its page: it answers at once and still shows its content.
TEST(Events, NoLinkFollowedAnyWayNorDropTakesTheControlFromItsPage) {
    ControlHarness h;
    h.control().setBaseURL(h.baseDirectory());
    h.view()->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.view()->window()));
    const QPoint inside(300, 200);
    const QColor lime(0, 255, 0);
    const QUrl file = QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("icon-logo.gif"));
    const QList<std::pair<const char*, std::function<void()>>> ways{
        {"left click", [&] { h.click(inside); }},
        {"middle click", [&] { h.click(inside, Qt::MiddleButton); }},
        {"ctrl-click", [&] { QTest::mouseClick(h.view()->focusProxy(), Qt::LeftButton, Qt::ControlModifier, inside); }},
        {"Enter", [&] {
             h.inPage(QStringLiteral("document.getElementById('link').focus(); true"));
             QTest::keyClick(h.view()->focusProxy(), Qt::Key_Return);
         }},
        {"drop", [&] {
             QMimeData dropped;
             dropped.setUrls({QUrl(QStringLiteral("http://127.0.0.1:99999/x")), file});
             QDragEnterEvent enter(inside, Qt::CopyAction | Qt::LinkAction, &dropped, Qt::LeftButton, {});
             QCoreApplication::sendEvent(h.view()->focusProxy(), &enter);
             QDropEvent drop(QPointF(inside), Qt::CopyAction | Qt::LinkAction, &dropped, Qt::LeftButton, {});
             QCoreApplication::sendEvent(h.view()->focusProxy(), &drop);
         }},
    };
    for (const char* target : {"http://127.0.0.1:99999/x", "http://[::1", "file://host:1/x", "//127.0.0.1:44045/u700", "icon-logo.gif"}) {
        h.control().setBodyHTML(QStringLiteral("<svg style='position:fixed;left:0;top:0;width:100%;height:100%'>"
                                               "<a id='link' xlink:href='%1'><rect width='2000' height='2000' fill='lime'/></a></svg>")
                                    .arg(QLatin1String(target)));
        for (const auto& [way, follow] : ways) {
            SCOPED_TRACE(std::string(way) + " on " + target);
            follow();
            QTest::qWait(300);  // a window in which a navigation would start, were one allowed
            QElapsedTimer timer;
            timer.start();
            EXPECT_TRUE(sourceOrError(h).contains(QStringLiteral("id=\"link\""))) << sourceOrError(h).toStdString();
            EXPECT_LT(timer.elapsed(), 1000) << "the page is there: no wait for it to load again";
            EXPECT_TRUE(waitFor([&] { return h.pixelAt(inside) == lime; }));
        }
    }
}

TEST(Events, ElementsOfReplacedContentStayUsableAndAreFreedWhenReleased) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p id='old'>old</p>"));
    Sink sink(h.control());
    h.click(h.centreOf(QStringLiteral("old")));
    ASSERT_TRUE(waitFor([&] { return sink.raised.size() == 1; }));
    auto old = h.control().ClickedElement().as<IHTMLElement>();

    h.control().setBodyHTML(QStringLiteral("<p id='new'>new</p>"));
    old->style()->setBackgroundColor(contract::Variant::fromString(QStringLiteral("#f1f1f1")));
    EXPECT_EQ(old->style()->backgroundColor().toText(), QStringLiteral("rgb(241, 241, 241)"));
    EXPECT_EQ(old->id(), QStringLiteral("old"));
    EXPECT_FALSE(h.control().SourceHTML().toText().contains(QStringLiteral("241"))) << "no visible effect";

    // Walk the document many times: every handle the walks took is given back.
    for (int i = 0; i < 50; ++i)
        h.control().Document().as<contract::IHTMLDocument2>()->all();
    old.reset();
    h.click(h.centreOf(QStringLiteral("new")));  // the control now holds the new element only
    ASSERT_TRUE(waitFor([&] { return sink.raised.size() == 2; }));
    EXPECT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("window.__lumetto.call('handleCount', []).value")) == 1; }))
        << h.inPage(QStringLiteral("window.__lumetto.call('handleCount', []).value")).toInt();
}

}  // namespace
