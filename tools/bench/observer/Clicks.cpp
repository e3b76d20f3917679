// Click: a real click on a list item of the product page, to its highlight on the screen. Side
// by side, the application, the bare view and the bare window are on the screen together and
// take turns, click by click. Alone, one program is on the screen at a time: the application
// for a block of clicks, then the bare view, the order changing from block to block.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/Stats.h"

#include <QRandomGenerator>
#include <QThread>

#include <memory>
#include <vector>

#include <cstdio>

namespace {

constexpr int FrameUs = 16667;  // a frame of the engine's 60 Hz

// One of the views being clicked: where its page is on the screen, and its figures.
struct Target {
    const char* title;
    QPoint page;
    Samples samples;
};

// Clicks the text of an item and waits for its background, right of the text, to show the
// highlight; the item was given its own colour back by the click before, on the other item.
std::optional<double> clickItem(XScreen& screen, const QPoint& page, const QRect& item) {
    const QRect background(page + QPoint(item.right() - 4, item.center().y()), QSize(1, 1));
    QElapsedTimer clock;
    clock.start();
    if (!msUntil(clock, [&] { return !screen.anyPixel(background, isHighlight); }, 2000))
        return std::nullopt;
    screen.movePointer(page + QPoint(item.left() + 8, item.center().y()));
    // The pointer rests before the click, as a person's does, for a time that places the click
    // anywhere between two of the screen's frames: waiting for the highlight keeps the clicks
    // in step with the frames, and a fixed rest would click at the same point between two
    // frames each time, which favours one program or the other by up to a frame.
    QThread::usleep(30000 + QRandomGenerator::global()->bounded(FrameUs));
    clock.restart();
    screen.click();
    const auto shown = msUntil(clock, [&] { return screen.anyPixel(background, isHighlight); }, 2000);
    QThread::msleep(60);  // a person's clicks are apart
    return shown;
}

// The subjects started and on the screen side by side, each with its product page painted.
// The programs end with the list.
class OnScreen {
public:
    bool show(XScreen& screen, const Layout& layout, const std::vector<const Subject*>& shown) {
        QPoint next(0, 0);
        for (const Subject* subject : shown) {
            programs_.push_back(std::make_unique<MeasuredProgram>(subject->program, subject->arguments, subject->title));
            if (!waitForWindow(screen, *programs_.back()))
                return false;
            screen.moveWindow(subject->title, next);  // so that each click lands in the view it is meant for
            targets.push_back({subject->title, next + subject->page, {}});
            next.rx() += layout["window"].width() + 20;
        }
        for (const Target& target : targets) {
            QElapsedTimer clock;
            clock.start();
            if (!msUntil(clock, [&] { return screen.anyPixel(layout["logo"].translated(target.page), isLogoBlue); }, 60000)) {
                std::fprintf(stderr, "%s: the product page was never painted\n", target.title);
                return false;
            }
        }
        return true;
    }

    // Clicks the two items by turns, each target once a turn, after a few clicks unmeasured.
    bool click(XScreen& screen, const Layout& layout, int clicks) {
        const QRect items[] = {layout["item1"], layout["item2"]};
        constexpr int WarmUp = 4;
        for (int i = -WarmUp; i < clicks; ++i) {
            for (Target& target : targets) {
                const auto ms = clickItem(screen, target.page, items[(i + WarmUp) % 2]);
                if (!ms) {
                    std::fprintf(stderr, "%s: click %d never showed its highlight\n", target.title, i);
                    return false;
                }
                if (i >= 0)
                    target.samples.add(*ms);
            }
        }
        return true;
    }

    std::vector<Target> targets;

private:
    std::vector<std::unique_ptr<MeasuredProgram>> programs_;
};

void printClicks(const char* how, int clicks, const Samples& app, const Samples& bare) {
    printRow(qPrintable(QStringLiteral("click to the highlight on screen%1, ms, %2 clicks").arg(QLatin1String(how)).arg(clicks)),
             app, bare);
    printRow(qPrintable(QStringLiteral("click%1, 95th percentile, ms").arg(QLatin1String(how))), app.percentile(95),
             bare.percentile(95));
}

}  // namespace

bool measureClicks(XScreen& screen, const Subjects& subjects, int clicks) {
    OnScreen together;
    if (!together.show(screen, subjects.layout, {&subjects.application, &subjects.bareView, &subjects.bareWindow}) ||
        !together.click(screen, subjects.layout, clicks))
        return false;
    printClicks("", clicks, together.targets[0].samples, together.targets[1].samples);
    printRow("click in a bare window with two views, ms (not the application)", together.targets[2].samples,
             together.targets[1].samples);
    return true;
}

bool measureClicksAlone(XScreen& screen, const Subjects& subjects, int clicks) {
    constexpr int Blocks = 4;
    const Subject* measured[] = {&subjects.application, &subjects.bareView};
    Samples samples[2];
    for (int block = 0; block < Blocks; ++block) {
        const int count = (clicks * (block + 1)) / Blocks - (clicks * block) / Blocks;
        for (int k = 0; k < 2; ++k) {
            const int s = (block + k) % 2;  // each block starts with the other subject
            OnScreen alone;
            if (!alone.show(screen, subjects.layout, {measured[s]}) || !alone.click(screen, subjects.layout, count))
                return false;
            samples[s].append(alone.targets[0].samples);
        }
    }
    printClicks(", each program alone", clicks, samples[0], samples[1]);
    return true;
}
