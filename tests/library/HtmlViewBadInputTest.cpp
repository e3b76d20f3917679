#include "library/ViewHarness.h"
#include "driving/ScreenGrab.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

using lumetto::HtmlElement;

TEST(HtmlView, MarkupNestedTenThousandDeepIsShownAndWalked) {
    ViewHarness h;
    QElapsedTimer timer;
    timer.start();
    h.view().setBodyHtml(QStringLiteral("<div>").repeated(10000) + QStringLiteral("deep") +
                            QStringLiteral("</div>").repeated(10000));
    EXPECT_GT(h.view().document().elements().size(), 100);
    EXPECT_TRUE(h.source().contains(QStringLiteral("deep")));
    EXPECT_LT(timer.elapsed(), 15000) << "shown and walked in a few seconds, with room for a busy machine";
}

// Ten million characters of paragraphs, the last one a blue square at the page's top left.
QString tenMillionCharactersOfParagraphs() {
    QString html;
    for (int i = 0; html.size() < 10000000; ++i)
        html += QStringLiteral("<p>paragraph %1</p>").arg(i);
    return html + QStringLiteral("<p style='position:fixed;left:0;top:0;width:20px;height:20px;margin:0;background:#0000ff'></p>");
}

QString bodyTag(ViewHarness& h) {
    return h.view().document().body().tagName();
}

// The page does not scroll, as Form1's does not: a scrolling page of that size takes up to twice
// the memory, near all that the page process can map.
void showWithoutScrolling(ViewHarness& h) {
    h.view().setCssText(QStringLiteral("BODY {overflow:hidden}"));
}

bool lastParagraphShown(ViewHarness& h) {
    const auto last = onScreen(h.engineView(), QPoint(10, 10));
    return last && screenImage(QRect(*last, QSize(1, 1))).pixelColor(0, 0) == QColor(0, 0, 255);
}

// The page takes longer to lay a large body out than to parse it. The write answers within its
// bound, which grows with its size, and so does the call after it. A call that fails throws,
// which fails the test with its message. A page process lost meanwhile gives the body back.
TEST(HtmlView, BodyOfTenMillionCharactersIsShownToItsLastParagraphAlsoAfterALostPageProcess) {
    ViewHarness h;
    showWithoutScrolling(h);
    h.view().setBodyHtml(tenMillionCharactersOfParagraphs());
    EXPECT_EQ(bodyTag(h), QStringLiteral("BODY"));
    EXPECT_TRUE(waitFor([&] { return lastParagraphShown(h); }));

    const qint64 lost = h.pageProcess();
    ASSERT_TRUE(h.killPageProcess());
    ASSERT_TRUE(waitFor([&] { return h.pageProcess() != lost; }));
    EXPECT_TRUE(waitFor([&] { return lastParagraphShown(h); })) << "the body did not come back";
    EXPECT_EQ(h.view().bodyHtml().size(), tenMillionCharactersOfParagraphs().size());
}

// Written before the window shows, a body too large for the shell to carry goes to the page
// once the shell has loaded, ahead of the next call, which waits for it within its bound.
TEST(HtmlView, BodyOfTenMillionCharactersWrittenBeforeTheWindowShowsIsShownToItsLastParagraph) {
    ViewHarness h(ViewHarness::Window::Hidden);
    showWithoutScrolling(h);
    h.view().setBodyHtml(tenMillionCharactersOfParagraphs());
    h.show();
    EXPECT_EQ(bodyTag(h), QStringLiteral("BODY"));
    EXPECT_TRUE(waitFor([&] { return lastParagraphShown(h); }));
}

TEST(HtmlView, InvalidRulesAreIgnoredAndRulesNeverBecomeMarkup) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>text</p>"));
    h.view().setCssText(QStringLiteral("BODY { background-color : ; } }}} {{{ not css @@ ;"));
    h.view().setCssText(QStringLiteral("</style><script>document.body.setAttribute('data-ran','yes')</script>"));
    EXPECT_TRUE(h.view().document().body().attribute(QStringLiteral("data-ran")).isNull()) << "rules are style text, never markup";
    h.view().setCssText(QStringLiteral("BODY { background-color : green; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 128, 0); }));
}

TEST(HtmlView, BaseDirectoryWithSpacesNonAsciiCharactersAndABackslashServesTheImage) {
    QTemporaryDir parent;
    const QString directory = parent.filePath(QStringLiteral("my demo ünï € back\\slash"));
    ASSERT_TRUE(QDir().mkpath(directory));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMETTO_ICON), directory + QStringLiteral("/icon-logo.gif")));
    ViewHarness h;
    h.view().setBaseUrl(QUrl::fromLocalFile(directory + QLatin1Char('/')));
    h.view().setBodyHtml(QStringLiteral("<img src='icon-logo.gif'>"));
    const HtmlElement image = h.view().document().elements().last();
    ASSERT_EQ(image.tagName(), QStringLiteral("IMG"));
    EXPECT_TRUE(waitFor([&] { return image.property(QStringLiteral("naturalWidth")).toInt() == 32; }));
}

// Whatever element the content holds, it never makes the view navigate, reload or lose its
// page, and it leaves nothing behind that outlives it.
TEST(HtmlView, ContentCannotNavigateReloadOrEmptyTheView) {
    ViewHarness h;
    h.view().setBaseUrl(h.baseUrl());
    const QString elsewhere = QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("other.html")).toString();
    QFile other(h.baseDirectory() + QStringLiteral("other.html"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("<p>other page</p>");
    other.close();
    const QStringList hostile{
        QStringLiteral("<meta http-equiv='refresh' content='0'>"),
        QStringLiteral("<meta http-equiv='refresh' content='0; url=%1'>").arg(elsewhere),
        QStringLiteral("<meta http-equiv='Content-Security-Policy' content=\"img-src 'none'\">"),
        QStringLiteral("<base href='file:///nowhere/'>"),
        QStringLiteral("<link rel='prerender' href='%1'><link rel='stylesheet' href='%1'>").arg(elsewhere),
        QStringLiteral("<form action='%1'><input name='q' value='x'><input type='submit' id='go'></form>").arg(elsewhere),
        QStringLiteral("<iframe src='%1'></iframe><object data='%1'></object><embed src='%1'>").arg(elsewhere),
        QStringLiteral("<iframe srcdoc=\"<meta http-equiv='refresh' content='0; url=%1'>\"></iframe>").arg(elsewhere),
    };
    for (const QString& markup : hostile) {
        SCOPED_TRACE(markup.toStdString());
        h.view().setBodyHtml(QStringLiteral("<p id='mark'>kept</p>") + markup);
        if (markup.contains(QStringLiteral("id='go'")))
            h.click(h.centreOf(QStringLiteral("go")));
        h.settle();  // a refresh or a submission has tried
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(h.source().contains(QStringLiteral("<p id=\"mark\">kept</p>")));
        EXPECT_LT(timer.elapsed(), 1000) << "the page is there: no wait for it to load again";
        h.view().setBodyHtml(QStringLiteral("<img id='logo' src='icon-logo.gif'>"));
        EXPECT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("logo.naturalWidth")).toInt() == 32; }))
            << "the next content loads its image from the base directory";
    }
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
}

// Links below the base directory to files outside it, beside files of its own. The view
// loads no file outside, however it is named: through a link to the file, through a link to
// its folder, nor through an @import of a style sheet; and it loads the directory's own files,
// also where the directory itself is named through a link.
TEST(HtmlView, LinkBelowTheBaseToAFileOutsideLoadsNothingOnAnySurface) {
    QTemporaryDir root;
    const QString base = root.filePath(QStringLiteral("base/"));
    const QString outside = root.filePath(QStringLiteral("outside/"));
    ASSERT_TRUE(QDir().mkpath(base) && QDir().mkpath(outside));
    QImage square(10, 10, QImage::Format_RGB32);
    square.fill(Qt::red);
    ASSERT_TRUE(square.save(base + QStringLiteral("own.png")));
    square.fill(Qt::green);
    ASSERT_TRUE(square.save(outside + QStringLiteral("secret.png")));
    writeFile(outside + QStringLiteral("secret.css"), "body { background: #00ff00 }");
    writeFile(base + QStringLiteral("own.css"),
              "@import 'linked.css'; #mark { position:fixed; left:400px; top:200px; width:100px; height:100px; background:#ff00ff }");
    ASSERT_TRUE(QFile::link(QStringLiteral("../outside/secret.png"), base + QStringLiteral("linked.png")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../outside/secret.css"), base + QStringLiteral("linked.css")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../outside"), base + QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(QStringLiteral("base"), root.filePath(QStringLiteral("base-link"))));
    const QString at = QStringLiteral("position:fixed; top:0; left:%1px; width:100px; height:100px");
    const QString content = QStringLiteral("<img id='own' src='own.png' style='%1'><img id='linked' src='linked.png' style='%2'>"
                                           "<img id='folder' src='folder/secret.png' style='%3'>"
                                           "<link rel='stylesheet' href='linked.css'><div id='mark'></div>")
                                .arg(at.arg(0), at.arg(200), at.arg(400));
    writeFile(base + QStringLiteral("page.html"), (QStringLiteral("<link rel='stylesheet' href='own.css'>") + content).toUtf8());

    ViewHarness h;
    lumetto::HtmlView& view = h.view();
    const QList<std::pair<const char*, std::function<void()>>> surfaces{
        {"a body with the style sheet in the content", [&] {
             view.setBaseUrl(QUrl::fromLocalFile(base));
             view.setCssText(QString());
             view.setBodyHtml(QStringLiteral("<link rel='stylesheet' href='own.css'>") + content);
         }},
        {"a body with the view's style sheet", [&] {
             view.setCssFromUrl(true);
             view.setCssText(QStringLiteral("own.css"));
             view.setBodyHtml(content);
         }},
        {"the base named through a link", [&] {
             view.setBaseUrl(QUrl::fromLocalFile(root.filePath(QStringLiteral("base-link/"))));
             view.setBodyHtml(content);
         }},
        {"a file's folder", [&] {
             view.setCssFromUrl(false);
             view.setSource(QUrl::fromLocalFile(base + QStringLiteral("page.html")));
         }},
    };
    for (const auto& [surface, show] : surfaces) {
        SCOPED_TRACE(surface);
        view.setBodyHtml(QString());
        show();
        // The own style sheet applies once its @import of the linked one has been decided.
        EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(50, 50)) == QColor(Qt::red) && h.pixelAt(QPoint(450, 250)) == QColor(Qt::magenta); }))
            << "the directory's own files";
        EXPECT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("linked.complete && folder.complete")).toBool(); }));
        EXPECT_EQ(h.inPage(QStringLiteral("linked.naturalWidth + folder.naturalWidth")).toInt(), 0);
        for (const QPoint& point : {QPoint(250, 50), QPoint(450, 50), QPoint(300, 350)})
            EXPECT_NE(h.pixelAt(point), QColor(Qt::green)) << "a file outside the base directory shows at " << point.x() << "," << point.y();
    }
}

// Both views of the process share one page process and its caches: a file that one view
// may not load never takes away what the other shows.
TEST(HtmlView, FileRefusedToOneViewStaysShownInTheOther) {
    ViewHarness upper;
    ViewHarness lower;
    upper.view().setBaseUrl(upper.baseUrl());
    upper.view().setBodyHtml(QStringLiteral("<img id='logo' src='icon-logo.gif'>"));
    const QString logo = QStringLiteral("logo.complete && logo.naturalWidth");
    ASSERT_TRUE(waitFor([&] { return upper.inPage(logo).toInt() == 32; }));

    const QString url = QUrl::fromLocalFile(upper.baseDirectory() + QStringLiteral("icon-logo.gif")).toString();
    lower.view().setBodyHtml(QStringLiteral("<img id='logo' src='%1'>").arg(url));
    EXPECT_TRUE(waitFor([&] { return lower.inPage(QStringLiteral("logo.complete")).toBool(); }));
    EXPECT_EQ(lower.inPage(QStringLiteral("logo.naturalWidth")).toInt(), 0) << "outside the lower view's files";
    upper.settle();
    EXPECT_EQ(upper.inPage(logo).toInt(), 32) << "the upper view still shows its image";
    upper.view().setBodyHtml(QStringLiteral("<p>again</p><img id='logo' src='icon-logo.gif'>"));
    EXPECT_TRUE(waitFor([&] { return upper.inPage(logo).toInt() == 32; })) << "and shows it again when asked";
}

// Neither a URL the view does not read nor a file it cannot show changes what it shows.
TEST(HtmlView, SourceThatIsNoFileToShowIsRefusedAndTheViewStaysAsItWas) {
    ViewHarness h;
    lumetto::HtmlView& view = h.view();
    QFile shown(h.baseDirectory() + QStringLiteral("shown.html"));
    ASSERT_TRUE(shown.open(QIODevice::WriteOnly));
    shown.write("<p id='shown'>shown</p>");
    shown.close();
    const QUrl url = QUrl::fromLocalFile(shown.fileName());
    view.setSource(url);
    QSignalSpy sourceChanged(&view, &lumetto::HtmlView::sourceChanged);
    QSignalSpy bodyChanged(&view, &lumetto::HtmlView::bodyHtmlChanged);
    QSignalSpy baseChanged(&view, &lumetto::HtmlView::baseUrlChanged);

    const QList<QUrl> refused{
        QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("missing.html")),
        QUrl::fromLocalFile(h.baseDirectory()),
        QUrl(QStringLiteral("qrc:/pages/help/")),
        QUrl(QStringLiteral("http://127.0.0.1:9/page.html")),
        QUrl(QStringLiteral("data:text/html,<p>data</p>")),
    };
    for (const QUrl& source : refused) {
        SCOPED_TRACE(source.toString().toStdString());
        const lumetto::HtmlError error = failureOf(view, [&] { view.setSource(source); });
        EXPECT_EQ(error.type(), lumetto::HtmlError::SourceUnreadable);
        EXPECT_EQ(error.call(), QStringLiteral("setSource"));
        EXPECT_TRUE(error.description().contains(source.toDisplayString())) << error.description().toStdString();
    }
    EXPECT_EQ(view.source(), url);
    EXPECT_EQ(view.baseUrl(), QUrl::fromLocalFile(h.baseDirectory()));
    EXPECT_EQ(view.bodyHtml(), QStringLiteral("<p id='shown'>shown</p>"));
    EXPECT_TRUE(sourceChanged.isEmpty() && bodyChanged.isEmpty() && baseChanged.isEmpty());
    EXPECT_TRUE(h.inPage(QStringLiteral("document.getElementById('shown') !== null")).toBool());
}

}  // namespace
