// Where the observer finds things: runs the application once, before anything is measured,
// and prints, one per line as "name x y width height", where its two views sit in Form1's
// window and where the benchmarks' elements sit in the page. Fails when the bare view lays the
// product page out differently, since the observer uses the same places for both.
#include "Questionnaire.h"

#include "content/basGlobal.h"
#include "driving/BareView.h"
#include "driving/PageGeometry.h"
#include "driving/RunningApp.h"
#include "driving/Wait.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QWebEngineView>

#include <cstdio>
#include <iterator>

namespace {

const QString Items[] = {QStringLiteral("img"), QStringLiteral("ul li:nth-child(2)"), QStringLiteral("ul li:nth-child(3)"),
                         QStringLiteral("a")};
const char* const ItemNames[] = {"logo", "item1", "item2", "link"};
constexpr int ItemCount = std::size(ItemNames);

void print(const char* name, const QRect& box) {
    std::printf("%s %d %d %d %d\n", name, box.x(), box.y(), box.width(), box.height());
}

QRect inWindow(QWidget* view) {
    return QRect(view->mapTo(view->window(), QPoint(0, 0)), view->size());
}

}  // namespace

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    RunningApp running;
    if (!running.ready())
        return 1;
    print("window", running.form().rect());
    print("page", inWindow(running.pageView()));
    print("mirror", inWindow(running.form().findChild<QWidget*>(QStringLiteral("brClip"))));
    QRect boxes[ItemCount];
    for (int i = 0; i < ItemCount; ++i) {
        boxes[i] = boundingBox(running.pageView(), Items[i]);
        print(ItemNames[i], boxes[i]);
    }

    basGlobal::BuildPages();
    auto bare = makeBareView(basGlobal::ProductPageHTML);
    bare->show();
    for (int i = 0; i < ItemCount; ++i) {
        if (!waitFor([&] { return boundingBox(bare.get(), Items[i]) == boxes[i]; })) {
            std::fprintf(stderr, "the bare view lays out %s at other places than the application\n", qPrintable(Items[i]));
            return 1;
        }
    }

    running.vekBrowser1().setBodyHTML(questionnaire(10));
    print("submit", boundingBox(running.pageView(), QStringLiteral("#SubmitButton")));
    return 0;
}
