// Record to record: a real click on a record view's "Next" link, to the next record's swatch on
// the screen, for the view bound to the model (HtmlDataMapper::toNext) against the same record
// written as markup (setBodyHtml). Each program alone on the screen, in blocks that change which
// comes first.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/Stats.h"

#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

namespace {

const QRect Swatch(60, 50, 1, 1);  // inside the swatch, in the window
const QPoint Next(80, 140);        // on the link

bool isEven(QRgb pixel) {
    return qRed(pixel) > 150 && qBlue(pixel) < 80;
}
bool isOdd(QRgb pixel) {
    return qBlue(pixel) > 150 && qRed(pixel) < 80;
}

// Moves count records on in program, each measured from the click to the swatch's new colour.
bool move(XScreen& screen, const QString& program, const char* mode, int count, Samples& samples) {
    MeasuredProgram shown(program, {QString::fromLatin1(mode)}, "records bench");
    if (!waitForWindow(screen, shown))
        return false;
    screen.moveWindow("records bench", QPoint(0, 0));
    QElapsedTimer clock;
    clock.start();
    bool even = true;
    if (!msUntil(clock, [&] { return screen.anyPixel(Swatch, isEven); }, 60000)) {
        std::fprintf(stderr, "records bench %s: the first record was never painted\n", mode);
        return false;
    }
    constexpr int WarmUp = 3;
    for (int i = -WarmUp; i < count; ++i) {
        even = !even;
        screen.movePointer(Next);
        QThread::usleep(30000 + QRandomGenerator::global()->bounded(16700));  // anywhere between two frames
        clock.restart();
        screen.click();
        const auto ms = msUntil(clock, [&] { return screen.anyPixel(Swatch, even ? isEven : isOdd); }, 5000);
        if (!ms) {
            std::fprintf(stderr, "records bench %s: move %d never showed its record\n", mode, i);
            return false;
        }
        if (i >= 0)
            samples.add(*ms);
        QThread::msleep(60);
    }
    return true;
}

}  // namespace

bool measureRecords(XScreen& screen, const QString& program, int moves) {
    constexpr int Blocks = 4;
    const char* modes[] = {"bound", "html"};
    Samples samples[2];
    for (int block = 0; block < Blocks; ++block) {
        const int count = (moves * (block + 1)) / Blocks - (moves * block) / Blocks;
        for (int k = 0; k < 2; ++k) {
            const int m = (block + k) % 2;
            if (!move(screen, program, modes[m], count, samples[m]))
                return false;
        }
    }
    std::printf("| record to record: click on Next to the next record on screen, ms, %d moves | bound to the model | "
                "markup written | ratio |\n|---|---|---|---|\n", moves);
    std::printf("| median [range] | %.1f [%.1f-%.1f] | %.1f [%.1f-%.1f] | %.2f |\n", samples[0].median(), samples[0].min(),
                samples[0].max(), samples[1].median(), samples[1].min(), samples[1].max(), samples[0].median() / samples[1].median());
    std::printf("| 95th percentile | %.1f | %.1f | %.2f |\n", samples[0].percentile(95), samples[1].percentile(95),
                samples[0].percentile(95) / samples[1].percentile(95));
    std::fflush(stdout);
    return true;
}
