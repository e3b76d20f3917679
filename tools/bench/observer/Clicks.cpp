// Click: a real click on a list item of the product page, to its highlight on the screen. The
// application, the bare view and the bare window are on the screen side by side and take turns,
// click by click.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/Stats.h"

#include <QThread>

#include <memory>
#include <vector>

#include <cstdio>

namespace {

// One of the two views being clicked: where its page is on the screen, and its two items.
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
    QThread::msleep(30);  // the pointer rests before the click, as a person's does
    clock.restart();
    screen.click();
    const auto shown = msUntil(clock, [&] { return screen.anyPixel(background, isHighlight); }, 2000);
    QThread::msleep(60);  // a person's clicks are apart
    return shown;
}

}  // namespace

bool measureClicks(XScreen& screen, const Subjects& subjects, int clicks) {
    const Layout& layout = subjects.layout;
    const QRect items[] = {layout["item1"], layout["item2"]};
    const Subject* shown[] = {&subjects.application, &subjects.bareView, &subjects.bareWindow};
    std::vector<std::unique_ptr<MeasuredProgram>> programs;
    std::vector<Target> targets;
    // Side by side, so that each click lands in the view it is meant for.
    QPoint next(0, 0);
    for (const Subject* subject : shown) {
        programs.push_back(std::make_unique<MeasuredProgram>(subject->program, subject->arguments, subject->title));
        if (!waitForWindow(screen, *programs.back()))
            return false;
        screen.moveWindow(subject->title, next);
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
    const Samples& app = targets[0].samples;
    const Samples& bare = targets[1].samples;
    const Samples& window = targets[2].samples;
    printRow(qPrintable(QStringLiteral("click to the highlight on screen, ms, %1 clicks").arg(clicks)), app, bare);
    printRow("click, 95th percentile, ms", app.percentile(95), bare.percentile(95));
    printRow("click in a bare window with two views, ms (not the application)", window, bare);
    return true;
}
