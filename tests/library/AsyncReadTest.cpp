// The asynchronous reads of the document and its elements, and the failures of the view's
// property writes.
#include <lumetto/HtmlView.h>

#include <gtest/gtest.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <csignal>
#include <memory>

namespace {

constexpr int BoundMs = 30000;

const QString Content = QStringLiteral("<p id='first' title='a title' style='background-color: rgb(1, 2, 3)'>first <b>bold</b></p>");

// A shown view with the content, its page loaded.
std::unique_ptr<lumetto::HtmlView> shownView() {
    auto view = std::make_unique<lumetto::HtmlView>();
    view->setBodyHtml(Content);
    view->show();
    EXPECT_FALSE(view->document().body().isNull());
    return view;
}

QWebEnginePage* pageOf(const lumetto::HtmlView& view) {
    return view.findChild<QWebEngineView*>()->page();
}

// The outcomes a callback was handed, in order.
template <typename T>
struct Outcomes {
    QList<T> values;
    QList<lumetto::HtmlError> errors;
    auto callback() {
        return [this](const T& value, const lumetto::HtmlError& error) {
            values.append(value);
            errors.append(error);
        };
    }
};

// Reads of the document and of an element hand their results to the callback later, from the
// event loop, in the order asked, and their call runs no event loop.
TEST(HtmlDocument, ReadsHandTheirResultsLaterInTheOrderAsked) {
    auto view = shownView();
    QObject context;
    QStringList order;
    bool timerFired = false;
    QTimer::singleShot(0, [&] { timerFired = true; });

    Outcomes<QString> source;
    Outcomes<lumetto::HtmlElement> body;
    Outcomes<QList<lumetto::HtmlElement>> elements;
    const lumetto::HtmlDocument document = view->document();
    document.source(&context, [&](const QString& text, const lumetto::HtmlError& error) {
        order << QStringLiteral("source");
        source.callback()(text, error);
    });
    document.body(&context, [&](const lumetto::HtmlElement& element, const lumetto::HtmlError& error) {
        order << QStringLiteral("body");
        body.callback()(element, error);
    });
    document.elements(&context, [&](const QList<lumetto::HtmlElement>& all, const lumetto::HtmlError& error) {
        order << QStringLiteral("elements");
        elements.callback()(all, error);
    });
    EXPECT_TRUE(order.isEmpty()) << "a callback ran inside its call";
    EXPECT_FALSE(timerFired) << "an asynchronous read ran the event loop";

    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 3; }, BoundMs));
    EXPECT_EQ(order, QStringList({QStringLiteral("source"), QStringLiteral("body"), QStringLiteral("elements")}));
    EXPECT_FALSE(source.errors[0].isValid() || body.errors[0].isValid() || elements.errors[0].isValid());
    EXPECT_TRUE(source.values[0].contains(QStringLiteral("id=\"first\""))) << source.values[0].toStdString();
    EXPECT_EQ(body.values[0], document.body());
    const auto first = std::find_if(elements.values[0].begin(), elements.values[0].end(),
                                    [](const lumetto::HtmlElement& e) { return e.id() == QLatin1String("first"); });
    ASSERT_NE(first, elements.values[0].end());

    Outcomes<QString> id, title, style, inner;
    Outcomes<QVariant> property;
    Outcomes<QColor> colour;
    first->id(&context, id.callback());
    first->attribute(QStringLiteral("title"), &context, title.callback());
    first->styleProperty(QStringLiteral("background-color"), &context, style.callback());
    first->innerHtml(&context, inner.callback());
    first->property(QStringLiteral("nothingOfThatName"), &context, property.callback());
    first->backgroundColor(&context, colour.callback());
    EXPECT_TRUE(id.values.isEmpty() && title.values.isEmpty()) << "an element's callback ran inside its call";
    ASSERT_TRUE(QTest::qWaitFor([&] { return colour.values.size() == 1; }, BoundMs));
    EXPECT_EQ(id.values, QStringList{QStringLiteral("first")});
    EXPECT_EQ(title.values, QStringList{QStringLiteral("a title")});
    EXPECT_EQ(style.values, QStringList{QStringLiteral("rgb(1, 2, 3)")});
    EXPECT_EQ(inner.values, QStringList{QStringLiteral("first <b>bold</b>")});
    EXPECT_EQ(property.errors[0].type(), lumetto::HtmlError::NoSuchProperty);
    EXPECT_EQ(property.errors[0].call(), QStringLiteral("HtmlElement::property"));
    EXPECT_EQ(colour.values[0], QColor(1, 2, 3));
    EXPECT_FALSE(colour.errors[0].isValid());

    // A null element fails later as well, never inside its call.
    Outcomes<QString> null;
    lumetto::HtmlElement().id(&context, null.callback());
    EXPECT_TRUE(null.errors.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return null.errors.size() == 1; }, BoundMs));
    EXPECT_EQ(null.errors[0].type(), lumetto::HtmlError::ElementGone);
}

// A read whose page process ends before it answers fails, once; the view then answers again.
TEST(HtmlDocument, ReadFailsOnceWhenThePageProcessEndsWhileItWaits) {
    auto view = shownView();
    QWebEnginePage* page = pageOf(*view);
    page->runJavaScript(QStringLiteral("for (;;) {}"), QWebEngineScript::ApplicationWorld);  // the page answers no more
    QObject context;
    Outcomes<QString> source;
    view->document().source(&context, source.callback());
    const qint64 hung = page->renderProcessPid();
    ASSERT_GT(hung, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(hung), SIGKILL), 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !source.errors.isEmpty(); }, BoundMs));
    EXPECT_EQ(source.errors[0].type(), lumetto::HtmlError::PageFailed);
    EXPECT_EQ(source.errors[0].call(), QStringLiteral("HtmlDocument::source"));
    EXPECT_TRUE(source.values[0].isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->document().source().contains(QStringLiteral("first")); }, BoundMs))
        << "the view did not come back";
    EXPECT_EQ(source.errors.size(), 1);
}

// A callback whose context is destroyed never runs; a read whose view is destroyed while it
// waits fails, once; a callback may destroy the view.
TEST(HtmlView, DestroyedWhileReadsWait) {
    auto view = shownView();
    const lumetto::HtmlDocument document = view->document();
    QObject context;
    bool orphanCalled = false;
    auto* doomed = new QObject;
    document.source(doomed, [&](const QString&, const lumetto::HtmlError&) { orphanCalled = true; });
    delete doomed;

    Outcomes<QString> pending;
    Outcomes<QString> last;
    document.selectedText(&context, [&](const QString&, const lumetto::HtmlError&) {
        document.source(&context, pending.callback());
        view.reset();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pending.errors.isEmpty(); }, BoundMs));
    EXPECT_EQ(pending.errors[0].type(), lumetto::HtmlError::PageFailed);
    EXPECT_FALSE(orphanCalled) << "the callback of a destroyed context ran";

    document.source(&context, last.callback());  // the document of no view fails later as well
    EXPECT_TRUE(last.errors.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !last.errors.isEmpty(); }, BoundMs));
    EXPECT_EQ(pending.errors.size(), 1);
    EXPECT_FALSE(orphanCalled);
}

// A view deleted from the event loop (deleteLater, as a QML Loader lets go of its item) while
// reads of it wait, with no document of it kept: the reads hold the last of its page's calls,
// which go as the reads end; the other views go on.
TEST(HtmlView, DeletedLaterWithOnlyItsReadsLeft) {
    auto other = shownView();
    for (int round = 0; round < 5; ++round) {
        auto view = shownView();
        Outcomes<QString> up;
        view->document().source(view.get(), up.callback());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !up.values.isEmpty(); }, BoundMs));
        QObject context;
        for (int i = 0; i < 50; ++i)
            view->document().source(&context, [](const QString&, const lumetto::HtmlError&) {});
        QPointer<lumetto::HtmlView> gone(view.release());
        gone->deleteLater();
        ASSERT_TRUE(QTest::qWaitFor([&] { return gone.isNull(); }, BoundMs));
        Outcomes<QString> still;
        other->document().source(other.get(), still.callback());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !still.values.isEmpty(); }, BoundMs));
    }
}

// A property write that fails emits errorOccurred before it returns, changes nothing, and its
// failure stays readable as the view's error after later writes succeed.
TEST(HtmlView, FailedWriteEmitsErrorOccurredAndKeepsTheError) {
    auto view = shownView();
    QSignalSpy occurred(view.get(), &lumetto::HtmlView::errorOccurred);
    QSignalSpy bodyChanged(view.get(), &lumetto::HtmlView::bodyHtmlChanged);
    EXPECT_FALSE(view->error().isValid());

    view->setSource(QUrl(QStringLiteral("data:text/html,<p>data</p>")));
    ASSERT_EQ(occurred.size(), 1) << "errorOccurred came after the write returned";
    const auto reported = occurred[0][0].value<lumetto::HtmlError>();
    EXPECT_EQ(reported.type(), lumetto::HtmlError::SourceUnreadable);
    EXPECT_EQ(reported.call(), QStringLiteral("setSource"));
    EXPECT_TRUE(view->source().isEmpty());
    EXPECT_EQ(view->bodyHtml(), Content);
    EXPECT_TRUE(bodyChanged.isEmpty());

    view->setBodyHtml(QStringLiteral("<p>written</p>"));
    EXPECT_EQ(occurred.size(), 1);
    EXPECT_EQ(view->error().type(), lumetto::HtmlError::SourceUnreadable);
    EXPECT_EQ(view->property("error").value<lumetto::HtmlError>().description(), reported.description());
}

}  // namespace
