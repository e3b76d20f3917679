// Writes: a real click on the product page's "forms" link, which writes a large body in place
// of the page, to the body's last paragraph on the screen. The application writes it through
// its control's bodyHTML; the bare view shows the same markup with setHtml (or, beyond what
// setHtml takes, loads it from memory). Each run starts both programs afresh, each run with the
// other one first.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/Stats.h"
#include "bench/WrittenBody.h"

#include <QThread>

#include <cstdio>

namespace {

constexpr qsizetype Sizes[] = {10 * 1024, 100 * 1024, 1024 * 1024, 10 * 1024 * 1024};
// The screen is read less often than for a click: a large write keeps both cores busy, and
// the X server's reads would take their share.
constexpr int PollUs = 2000;
constexpr int WrittenBoundMs = 300000;

struct Written {
    double ms = 0;
    bool failed = false;  // the application reported a run-time error
};

bool isLastParagraph(QRgb pixel) {
    return pixel == LastParagraphColour.rgb();
}

// The write of one run; errorTitle names the message box in which the program reports a failed write.
std::optional<Written> write(XScreen& screen, const MeasuredProgram& program, const QPoint& page, const Layout& layout,
                             const char* errorTitle = nullptr) {
    const auto origin = waitForWindow(screen, program);
    if (!origin)
        return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    if (!msUntil(clock, [&] { return screen.anyPixel(layout["logo"].translated(*origin + page), isLogoBlue); }, 60000, 5000))
        return std::nullopt;
    QThread::msleep(1000);  // as a person sees it before clicking
    screen.movePointer(*origin + page + layout["link"].center());
    QThread::msleep(30);
    clock.restart();
    screen.click();
    const QRect last = LastParagraphBox.translated(*origin + page);
    const auto shown = msUntil(clock, [&] { return screen.anyPixel(last, isLastParagraph); }, WrittenBoundMs, PollUs);
    if (!shown)
        return std::nullopt;
    return Written{*shown, errorTitle && screen.windowOrigin(errorTitle).has_value()};
}

}  // namespace

bool measureWrites(XScreen& screen, const Subjects& subjects, int runs) {
    printHeader("application");
    for (const qsizetype size : Sizes) {
        const QStringList characters{QString::number(size)};
        Samples appMs, bareMs;
        int failed = 0;
        for (int i = 0; i < runs; ++i) {
            std::optional<Written> bare, app;
            for (int k = 0; k < 2; ++k) {
                if ((i + k) % 2 == 0) {
                    MeasuredProgram program(subjects.bareView.program, QStringList{QStringLiteral("write")} + characters,
                                            "bare view");
                    bare = write(screen, program, {}, subjects.layout);
                } else {
                    MeasuredProgram program(subjects.writer, characters, "Form1");
                    app = write(screen, program, subjects.layout["page"].topLeft(), subjects.layout, "write_app");
                }
            }
            if (!bare || !app) {
                std::fprintf(stderr, "the written body of %lld characters never showed in run %d\n",
                             static_cast<long long>(size), i);
                return false;
            }
            bareMs.add(bare->ms);
            appMs.add(app->ms);
            failed += app->failed;
        }
        const bool setHtml = setHtmlTakes(writtenBody(size));
        printRow(qPrintable(QStringLiteral("write of %1 KiB of paragraphs to its last on screen, ms, %2 runs%3")
                                .arg(size / 1024).arg(runs).arg(setHtml ? QString() : QStringLiteral(" (bare: from memory)"))),
                 appMs, bareMs);
        if (failed)
            std::printf("| %-62s | %22d | %22s |       |\n", "  of which the write call failed (run-time error)", failed, "");
    }
    return true;
}
