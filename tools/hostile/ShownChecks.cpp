#include "hostile/ShownChecks.h"

#include "hostile/Swatch.h"

#include <QColor>

#include <X11/keysym.h>

using lumetto::HtmlView;

namespace {

constexpr int ShownWithinMs = 30000;

}  // namespace

ShownChecks::ShownChecks(quint32 seed, Tally& tally) : tally_(tally), stage_(1), random_(seed) {}

QString ShownChecks::tallBody(QRgb top, QRgb rest) {
    const auto rgb = [](QRgb c) { return QStringLiteral("rgb(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)); };
    return QStringLiteral("<div style='height:%3px;background:%1'></div><div style='height:6000px;background:%2'>end</div>")
        .arg(rgb(top), rgb(rest))
        .arg(Stage::ViewHeight);
}

void ShownChecks::newContentFromItsTop() {
    HtmlView* view = stage_.view(0);
    const QRgb top = swatch::next(random_, 0);
    const QRgb rest = swatch::next(random_, top);
    view->setBodyHtml(tallBody(top, rest));
    swatch::waitShown(stage_, view, top, ShownWithinMs);
    // Scrolled to the end as a person does: a click in the page, then the End key.
    stage_.click(view, swatch::centre());
    stage_.screen().key(XK_End, true);
    stage_.screen().key(XK_End, false);
    swatch::waitShown(stage_, view, rest, ShownWithinMs);
    const QRgb newTop = swatch::next(random_, rest);
    const QRgb newRest = swatch::next(random_, newTop);
    view->setBodyHtml(tallBody(newTop, newRest));
    tally_.add(QStringLiteral("documents"));
    tally_.add(QStringLiteral("steps"), 2);
    if (!swatch::waitShown(stage_, view, newTop, ShownWithinMs)) {
        tally_.add(QStringLiteral("documents shown wrong"));
        tally_.finding(QStringLiteral("shown scrolled"), QStringLiteral("new content shown scrolled as far as the content before"));
    }
}

void ShownChecks::stylesFromTheirFolder() {
    HtmlView* view = stage_.view(0);
    QRgb colour = 0;
    for (const char* folder : {"one", "two"}) {
        colour = swatch::next(random_, colour);
        const QString name = QString::fromLatin1(folder);
        places_.writeInBase(name + QStringLiteral("/style.css"),
                            QStringLiteral("#swatch { background: %1 !important }").arg(QColor(colour).name()).toUtf8());
        const QUrl page = places_.writeInBase(
            name + QStringLiteral("/page.html"),
            "<link rel='stylesheet' href='style.css'>" + swatch::body(qRgb(255, 255, 255)).toUtf8());
        view->setSource(page);
        tally_.add(QStringLiteral("documents"));
        tally_.add(QStringLiteral("steps"));
        if (!swatch::waitShown(stage_, view, colour, ShownWithinMs)) {
            tally_.add(QStringLiteral("documents shown wrong"));
            tally_.finding(QStringLiteral("style sheet of another folder"), QStringLiteral("setSource of %1/page.html: its style sheet is not its folder's").arg(name));
        }
    }
}
