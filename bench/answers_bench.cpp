// Answers: a click on the submit button of a form of 5,000 fields until brClip has laid out
// the collected answers, against the engine's floor: one script in a bare view that walks the
// same form.
#include "BenchApp.h"
#include "Stats.h"
#include "ViewProbe.h"

#include "content/basGlobal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLoggingCategory>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

namespace {

QString formOf(int fields) {
    // The button comes first, where it can be seen and clicked.
    QString html = QStringLiteral("<form name='form1'><input id='SubmitButton' type='submit' name='Submit' value='Submit'>");
    for (int i = 0; i < fields; ++i)
        html += QStringLiteral("<input type='text' name='Question%1' value='answer %1'>").arg(i);
    return html + QStringLiteral("</form>");
}

const QString Walk = QStringLiteral(
    "(() => { let text = ''; for (const e of document.getElementsByTagName('*')) {"
    " const n = e.getAttribute('name'); if (n !== null && n.includes('Question')) text += n + ' : ' + e.value + '<BR>'; }"
    " return text.length; })()");

}  // namespace

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    const int fields = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int runs = 5;
    const QString form = formOf(fields);

    BenchApp bench;
    QWebEngineView bare;
    bare.setHtml(QStringLiteral("<html><body>%1</body></html>").arg(form));
    bare.show();
    QTest::qWait(1000);

    // brClip's page reports its new size once it has laid out what it was given.
    auto* mirror = bench.form().findChild<QWebEngineView*>(QStringLiteral("brClip"));
    qint64 laidOutAt = -1;
    QElapsedTimer clock;
    QObject::connect(mirror->page(), &QWebEnginePage::contentsSizeChanged, [&] {
        if (laidOutAt < 0)
            laidOutAt = clock.nsecsElapsed();
    });

    Samples application, floor;
    for (int run = 0; run < runs; ++run) {
        // The questionnaire is shown: this one has many fields.
        bench.vekBrowser1().setBodyHTML(form);
        bench.brClip().setBodyHTML(QString());  // so that the answers change its size again
        basGlobal::PageState = 1;
        bench.labelWidget("lblClipCaption")->setText(QString());
        const QPoint submit = bench.boundsOf(QStringLiteral("#SubmitButton")).center();
        QTest::qWait(1000);  // the form on the screen, as a person sees it before answering
        laidOutAt = -1;
        clock.start();
        bench.click(submit);
        if (!bench.waitForLabel("lblClipCaption", QStringLiteral("Answers"), 60000)) {
            std::fprintf(stderr, "the answers never showed\n");
            return 1;
        }
        QElapsedTimer patience;
        patience.start();
        while (laidOutAt < 0 && patience.elapsed() < 10000)
            QCoreApplication::processEvents();
        if (laidOutAt < 0) {
            std::fprintf(stderr, "brClip never laid out the answers\n");
            return 1;
        }
        application.add(laidOutAt / 1e6);

        clock.restart();
        view_probe::evaluate(&bare, Walk, QWebEngineScript::MainWorld);
        floor.add(clock.nsecsElapsed() / 1e6);
    }
    std::printf("Answers from a form of %d fields, %d runs (ms: submit click to the answers laid out in brClip;"
                " floor: one walk by a script)\n", fields, runs);
    printRow("median [min-max]", application, floor);
    return 0;
}
