// Answers: a real click on the submit button of a questionnaire of many fields, to the first
// line of the answers on the screen: in brClip for the application, in the page's own box for
// the bare view, whose script walks the form. Each run starts both programs afresh.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/Questionnaire.h"
#include "bench/Stats.h"

#include <QThread>

#include <cstdio>

namespace {

// The first line of text in a box of the screen.
QRect firstLine(const QPoint& boxOrigin) {
    return QRect(boxOrigin, QSize(240, 30));
}

std::optional<double> submit(XScreen& screen, const MeasuredProgram& program, const QPoint& page, const QRect& button,
                             const QPoint& answersIn, const QRect& hiddenLogo) {
    const auto origin = waitForWindow(screen, program);
    if (!origin)
        return std::nullopt;
    const QRect buttonOnScreen = button.translated(*origin + page);
    const QRect answers = firstLine(*origin + answersIn);
    QElapsedTimer clock;
    clock.start();
    // The questionnaire on the screen, in place of the product page, with no answers yet.
    const auto shown = msUntil(clock, [&] {
        return screen.anyPixel(buttonOnScreen, isDrawn) && !screen.anyPixel(hiddenLogo.translated(*origin), isLogoBlue) &&
               !screen.anyPixel(answers, isDark);
    }, 120000, 5000);
    if (!shown)
        return std::nullopt;
    QThread::msleep(1000);  // as a person sees it before answering
    screen.movePointer(buttonOnScreen.center());
    QThread::msleep(30);
    clock.restart();
    screen.click();
    return msUntil(clock, [&] { return screen.anyPixel(answers, isDark); }, 60000);
}

}  // namespace

bool measureAnswers(XScreen& screen, const Subjects& subjects, int runs, int fields) {
    const Layout& layout = subjects.layout;
    const QStringList arguments{QStringLiteral("questionnaire"), QString::number(fields)};
    Samples appMs, bareMs;
    for (int i = 0; i < runs; ++i) {
        std::optional<double> bare, app;
        {
            MeasuredProgram program(subjects.bareView.program, arguments, "bare view");
            bare = submit(screen, program, {}, layout["submit"], BareAnswersBox.topLeft(), {});
        }
        {
            MeasuredProgram program(subjects.questionnaire, {QString::number(fields)}, "Form1");
            app = submit(screen, program, layout["page"].topLeft(), layout["submit"], layout["mirror"].topLeft(),
                         layout["logo"].translated(layout["page"].topLeft()));
        }
        if (!bare || !app) {
            std::fprintf(stderr, "the answers of run %d never showed\n", i);
            return false;
        }
        bareMs.add(*bare);
        appMs.add(*app);
    }
    printRow(qPrintable(QStringLiteral("answers: submit click on %1 fields to the answers on screen, ms, %2 runs")
                            .arg(fields).arg(runs)), appMs, bareMs);
    return true;
}
