// The data binding at scale: a model of many rows bound as a list (HtmlDataMapper, which holds
// the rows near the viewport only) against the same list written as HTML (HtmlView::setBodyHtml),
// each to the list laid out in the page, with the page process's memory after each; then the
// costs of a change, an insert and a reset, and how many rows the page holds.
// binding_bench [rows...] (10000 100000 by default)
#include "ProcessTree.h"

#include "driving/PageScript.h"
#include "driving/Wait.h"

#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QStandardItemModel>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>
#include <functional>

namespace {

const QString Row = QStringLiteral("<li class='row' data-repeat><b data-column='Name'></b> <i data-column='Price'></i> <span data-column='Note'></span></li>");

QString cell(int row, int column) {
    switch (column) {
    case 0: return QStringLiteral("Item %1").arg(row);
    case 1: return QString::number(row * 0.25, 'f', 2);
    default: return QStringLiteral("a note on row %1 <with> & marks").arg(row);
    }
}

// The page's layout is forced before the answer, so the time is the list's to the screen.
constexpr auto LaidOut = "document.documentElement.getBoundingClientRect(); document.querySelectorAll('.row').length";

// The time to the list laid out; hostMs, when given, takes the host's share: the call itself.
double timed(QWebEngineView* page, const std::function<void()>& act, double* hostMs = nullptr) {
    QElapsedTimer timer;
    timer.start();
    act();
    if (hostMs)
        *hostMs = timer.nsecsElapsed() / 1e6;
    evaluateInPage(page, QString::fromLatin1(LaidOut));
    return timer.nsecsElapsed() / 1e6;
}

double rendererMiB(QWebEngineView* page) {
    evaluateInPage(page, QStringLiteral("gc()"));
    QTest::qWait(1000);
    return memoryOfTree(page->page()->renderProcessPid()).residentKiB / 1024.0;
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --js-flags=--expose-gc");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {10000, 100000};

    std::printf("%8s %10s %10s %10s %10s %10s %9s %9s %9s %10s %6s\n", "rows", "html ms", "html MiB", "bound ms", "host ms",
                "bound MiB", "change", "insert", "reset", "reset MiB", "held");
    for (const int rows : sizes) {
        QStandardItemModel model(rows, 3);
        model.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Price"), QStringLiteral("Note")});
        QString html = QStringLiteral("<ul>");
        for (int row = 0; row < rows; ++row) {
            html += QStringLiteral("<li class='row'>");
            for (int column = 0; column < 3; ++column) {
                model.setItem(row, column, new QStandardItem(cell(row, column)));
                static const char* tags[] = {"b", "i", "span"};
                html += QStringLiteral("<%1>%2</%1> ").arg(QLatin1String(tags[column]), escaped(cell(row, column)));
            }
            html += QStringLiteral("</li>");
        }
        html += QStringLiteral("</ul>");

        // Each a fresh view, shown, its page loaded and empty before the clock starts.
        const auto freshView = [] {
            auto* view = new lumetto::HtmlView;
            view->resize(800, 600);
            view->setCssText(qEnvironmentVariable("BENCH_CSS"));
            view->show();
            QWebEngineView* page = view->findChild<QWebEngineView*>();
            waitFor([&] { return evaluateInPage(page, QStringLiteral("1"), 2000).isValid(); });
            return view;
        };
        lumetto::HtmlView* plain = freshView();
        QWebEngineView* plainPage = plain->findChild<QWebEngineView*>();
        const double htmlMs = timed(plainPage, [&] { plain->setBodyHtml(html); });
        const double htmlMiB = rendererMiB(plainPage);
        delete plain;

        lumetto::HtmlView* view = freshView();
        QWebEngineView* page = view->findChild<QWebEngineView*>();
        auto* mapper = new lumetto::HtmlDataMapper(view);
        mapper->setView(view);
        mapper->setModel(&model);
        double hostMs = 0;
        const double boundMs = timed(page, [&] { mapper->setTemplateHtml(QStringLiteral("<ul>") + Row + QStringLiteral("</ul>")); }, &hostMs);
        const double boundMiB = rendererMiB(page);
        const double changeMs = timed(page, [&] { model.item(rows / 2)->setText(QStringLiteral("changed")); });
        const double insertMs = timed(page, [&] { model.insertRow(0, {new QStandardItem(QStringLiteral("new")), new QStandardItem, new QStandardItem}); });
        double resetMs = 0;
        for (int round = 0; round < 5; ++round)  // the rows are filled anew each time: the page keeps no more
            resetMs = timed(page, [&] { model.sort(0, round % 2 ? Qt::AscendingOrder : Qt::DescendingOrder); });
        const double afterMiB = rendererMiB(page);
        const int shown = evaluateInPage(page, QString::fromLatin1(LaidOut)).toInt();
        delete view;

        std::printf("%8d %10.1f %10.1f %10.1f %10.1f %10.1f %9.1f %9.1f %9.1f %10.1f %6d\n", rows, htmlMs, htmlMiB, boundMs, hostMs, boundMiB,
                    changeMs, insertMs, resetMs, afterMiB, shown);
        std::fflush(stdout);
    }
    return 0;
}
