// Click: a real mouse click in the page to the highlight on the screen, in the application and
// in a bare engine view whose page highlights with a script of its own (the engine's floor).
#include "BenchApp.h"
#include "Stats.h"
#include "ViewProbe.h"

#include "content/basGlobal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

namespace {

const QColor Highlight(0xf1, 0xf1, 0xf1);

// Clicks two list items in turn: each click highlights one and restores the other.
Samples clickToHighlight(QWebEngineView* view, quint32 world, int clicks) {
    const QString items[] = {QStringLiteral("ul li:nth-child(2)"), QStringLiteral("ul li:nth-child(3)")};
    QRect boxes[2];
    for (int i = 0; i < 2; ++i)
        boxes[i] = view_probe::boundsOf(view, items[i], world);
    Samples samples;
    for (int i = 0; i < clicks; ++i) {
        const QRect& box = boxes[i % 2];
        const QPoint onText(box.left() + 8, box.center().y());
        const QPoint background(box.right() - 4, box.center().y());  // right of the item's text
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, onText);
        if (!view_probe::waitForColour(view, background, Highlight)) {
            std::fprintf(stderr, "click %d: the highlight never showed\n", i);
            std::exit(1);
        }
        samples.add(clock.nsecsElapsed() / 1e6);
        QTest::qWait(20);  // a person's clicks are apart; let the restore of the other item show too
    }
    return samples;
}

// The product page in a view with script on, highlighting the clicked element itself.
QWebEngineView* bareView() {
    auto* view = new QWebEngineView;
    view->resize(549, 355);
    view->settings()->setFontSize(QWebEngineSettings::DefaultFontSize, 11);
    basGlobal::BuildPages();
    const QString html = QStringLiteral(
        "<html><head><style>BODY {margin:0;font-family:Verdana, Arial, Helvetica, sans-serif;overflow:hidden;}"
        "</style><script>let last = null; document.addEventListener('click', (e) => {"
        " if (last) last.style.backgroundColor = ''; last = e.target; last.style.backgroundColor = '#f1f1f1'; });"
        "</script></head><body>%1</body></html>").arg(basGlobal::ProductPageHTML);
    QEventLoop loaded;
    QObject::connect(view, &QWebEngineView::loadFinished, &loaded, &QEventLoop::quit);
    view->setHtml(html, QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    view->show();
    loaded.exec();
    return view;
}

}  // namespace

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 200;

    BenchApp bench;
    QWebEngineView* page = bench.pageView();

    QWebEngineView* bare = bareView();
    if (!QTest::qWaitForWindowExposed(bare))
        return 1;
    QTest::qWait(500);

    // Interleaved blocks, so that drift in the machine's load touches both alike.
    Samples application, floor;
    for (int block = 0; block < 4; ++block) {
        application.append(clickToHighlight(page, QWebEngineScript::ApplicationWorld, clicks / 4));
        floor.append(clickToHighlight(bare, QWebEngineScript::MainWorld, clicks / 4));
    }
    std::printf("Click to highlight on screen over %d clicks each (ms)\n", clicks);
    printRow("median", application.median(), floor.median());
    printRow("95th percentile", application.percentile(95), floor.percentile(95));
    delete bare;
    return 0;
}
