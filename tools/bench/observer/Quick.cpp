// Qt Quick: from the process's start to the product page's logo on the screen, and the memory
// of the process with its engine helpers a second later, for a QML window holding Lumetto's
// HtmlView against one holding a bare WebEngineView, the floor; and the bare widget view, for
// what Qt Quick costs the engine beside Qt Widgets. Each window is of the page view's size,
// showing the page alone.
#include "Benchmarks.h"

#include "driving/ProductPage.h"

bool measureQuick(XScreen& screen, const QString& quickPage, const QString& bareView, int runs) {
    const Subject view{quickPage, {QStringLiteral("view")}, "quick html view", {}};
    const Subject bare{quickPage, {QStringLiteral("bare")}, "quick bare view", {}};
    const Subject widget{bareView, {}, "bare view", {}};
    enum { View, Bare, Widget };
    QList<Samples> ms, mib;
    if (!startInTurns(screen, {&view, &bare, &widget}, product_page::logoCorner(product_page::ViewSize), runs, ms, mib))
        return false;
    printHeader("QML HtmlView", "QML WebEngineView");
    printRow(qPrintable(QStringLiteral("start-up: process start to the logo on screen, ms, %1 runs").arg(runs)), ms[View], ms[Bare]);
    printRow("memory after start-up, resident, with engine processes, MiB", mib[View], mib[Bare]);
    printRow("start-up of the bare widget view, ms (not the QML view)", ms[Widget], ms[Bare]);
    printRow("memory of the bare widget view, MiB (not the QML view)", mib[Widget], mib[Bare]);
    return true;
}
