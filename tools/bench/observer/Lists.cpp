// Lists: every row of a SQLite table of 1,000, 100,000 and 1,000,000 rows, bound to a page
// through an HtmlDataMapper (windowed) against a QTableView on the same model, the baseline
// (tools/bench/list_app). For each: the process's start to the first row on the screen, the
// page process's memory (the table's: the program's own, which draws it), a drag of the scroll
// bar's thumb to the bottom to the last row on the screen, and a change of the last row (F2 in
// the program) to its new colour on the screen. Each run starts both programs afresh, each run
// with the other one first.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/ProcessTree.h"
#include "bench/Stats.h"

#include <QDir>
#include <QProcess>
#include <QThread>

#include <X11/keysym.h>

#include <cstdio>

namespace {

constexpr int Sizes[] = {1000, 100000, 1000000};
constexpr int ShownBoundMs = 120000;
const QRect FirstRow(0, 0, 200, 100);  // in the window: where the first row's red shows
const QRect LastRows(0, 300, 500, 300);  // where the last row's blue (green once changed) shows
const QPoint Thumb(792, 22);  // on the scroll bar's thumb at the top, below its arrow
const QPoint Bottom(792, 700);  // below the window: the thumb at its end

bool isRed(QRgb pixel) {
    return qRed(pixel) > 220 && qGreen(pixel) < 40 && qBlue(pixel) < 40;
}
bool isBlue(QRgb pixel) {
    return qBlue(pixel) > 220 && qRed(pixel) < 40 && qGreen(pixel) < 40;
}
bool isGreen(QRgb pixel) {
    return qGreen(pixel) > 220 && qRed(pixel) < 40 && qBlue(pixel) < 40;
}

struct Figures {
    Samples first, endMs, changeMs, mib;
};

// The resident memory of the program's page process, or of the program itself without one.
double drawingMiB(qint64 pid) {
    const TreeMemory tree = memoryOfTree(pid);
    qint64 kib = 0;
    for (const ProcessMemory& process : tree.each)
        if (process.role == QLatin1String("renderer"))
            kib += process.residentKiB;
    for (const ProcessMemory& process : tree.each)
        if (kib == 0 && process.role == QLatin1String("application"))
            kib = process.residentKiB;
    return kib / 1024.0;
}

bool run(XScreen& screen, const QString& program, const char* mode, const QString& database, Figures& figures) {
    QElapsedTimer clock;
    clock.start();
    MeasuredProgram shown(program, {QString::fromLatin1(mode), database}, "list bench");
    const auto origin = waitForWindow(screen, shown, ShownBoundMs);
    if (!origin) {
        std::fprintf(stderr, "lists %s: no window\n", mode);
        return false;
    }
    const auto first = msUntil(clock, [&] { return screen.anyPixel(FirstRow.translated(*origin), isRed); }, ShownBoundMs);
    if (!first) {
        std::fprintf(stderr, "lists %s: the first row never showed\n", mode);
        return false;
    }
    QThread::msleep(1500);  // settled, as a person sees it before taking the scroll bar
    figures.mib.add(drawingMiB(shown.pid()));

    screen.movePointer(*origin + Thumb);
    QThread::msleep(50);
    screen.button(Qt::LeftButton, true);
    for (int step = 1; step <= 10; ++step) {
        screen.movePointer(*origin + Thumb + (Bottom - Thumb) * step / 10);
        QThread::msleep(16);
    }
    clock.restart();
    screen.button(Qt::LeftButton, false);
    const auto end = msUntil(clock, [&] { return screen.anyPixel(LastRows.translated(*origin), isBlue); }, ShownBoundMs, 2000);
    if (!end) {
        std::fprintf(stderr, "lists %s: the last row never showed\n", mode);
        return false;
    }
    QThread::msleep(500);
    screen.movePointer(*origin + QPoint(600, 300));
    clock.restart();
    screen.key(XK_F2, true);
    screen.key(XK_F2, false);
    const auto changed = msUntil(clock, [&] { return screen.anyPixel(LastRows.translated(*origin), isGreen); }, 10000);
    if (!changed) {
        std::fprintf(stderr, "lists %s: the changed row never showed\n", mode);
        return false;
    }
    figures.first.add(*first);
    figures.endMs.add(*end);
    figures.changeMs.add(*changed);
    return true;
}

void printFigure(int rows, const char* what, const Samples& bound, const Samples& table) {
    std::printf("| %d | %s | %.1f [%.1f-%.1f] | %.1f [%.1f-%.1f] | %.2f |\n", rows, what, bound.median(), bound.min(), bound.max(),
                table.median(), table.min(), table.max(), bound.median() / table.median());
}

}  // namespace

bool measureLists(XScreen& screen, const QString& program, int runs) {
    const QString folder = QDir::tempPath() + QStringLiteral("/lumetto-lists");
    QDir().mkpath(folder);
    std::printf("| rows | %d runs | bound, windowed | QTableView | ratio |\n|---|---|---|---|---|\n", runs);
    for (const int rows : Sizes) {
        const QString database = folder + QStringLiteral("/items-%1.sqlite").arg(rows);
        if (!QFile::exists(database) &&
            QProcess::execute(program, {QStringLiteral("make"), database, QString::number(rows)}) != 0) {
            std::fprintf(stderr, "lists: the database of %d rows could not be made\n", rows);
            return false;
        }
        Figures bound, table;
        for (int i = 0; i < runs; ++i) {
            const bool boundFirst = i % 2 == 0;
            if (!run(screen, program, boundFirst ? "bound" : "table", database, boundFirst ? bound : table) ||
                !run(screen, program, boundFirst ? "table" : "bound", database, boundFirst ? table : bound))
                return false;
        }
        printFigure(rows, "start to the first rows on screen, ms", bound.first, table.first);
        printFigure(rows, "scroll bar dragged to the end to the last row on screen, ms", bound.endMs, table.endMs);
        printFigure(rows, "one row changed to the change on screen, ms", bound.changeMs, table.changeMs);
        printFigure(rows, "memory of the page process (QTableView: its program), resident, MiB", bound.mib, table.mib);
        std::fflush(stdout);
    }
    return true;
}
