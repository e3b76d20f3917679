#include "hostile/DocumentRun.h"

#include "driving/ViewFailure.h"
#include "driving/Wait.h"

#include <QTest>

#include <X11/keysym.h>
#include <QWebEngineView>

using lumetto::HtmlElement;
using lumetto::HtmlError;
using lumetto::HtmlView;

namespace {

// A view whose calls keep failing for longer than this is lost: the bound of a call (5 s)
// with room for a page process that restarts on a busy machine.
constexpr int LostAfterMs = 20000;
// How long the page is given after a click to act on it: a navigation or a request starts
// within a few frames.
constexpr int AfterClickMs = 150;

const QStringList Columns = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};

}  // namespace

DocumentRun::DocumentRun(quint32 seed, Tally& tally)
    : tally_(tally), stage_(2), documents_(seed, observers_.targets()), random_(seed ^ 0x5eed), model_(3, 4) {
    model_.setHorizontalHeaderLabels(Columns);
    for (int i = 0; i < stage_.size(); ++i) {
        stage_.view(i)->setBaseUrl(observers_.places().baseUrl());
        observers_.follow(stage_.view(i));
    }
    mapper_ = new lumetto::HtmlDataMapper(stage_.view(1));
    mapper_->setView(stage_.view(1));
}

HtmlView* DocumentRun::fresh(int viewIndex) {
    HtmlView* view = stage_.replace(viewIndex);
    view->setBaseUrl(observers_.places().baseUrl());
    observers_.follow(view);
    if (viewIndex == 1)
        mapper_ = new lumetto::HtmlDataMapper(view);
        mapper_->setView(view);
    return view;
}

void DocumentRun::run(int documents) {
    for (int n = 0; n < documents; ++n) {
        const HostileDocument d = documents_.next();
        const bool bound = d.surface == Surface::MapperValues || d.surface == Surface::MapperTemplate;
        const int viewIndex = bound ? 1 : int(random_.bounded(2));
        HtmlView* view = stage_.view(viewIndex);
        tally_.add(QStringLiteral("documents"));
        tally_.add(QStringLiteral("steps"), write(d, view));
        const bool clicked = d.surface != Surface::CssText && d.surface != Surface::CssFromUrl &&
                             d.surface != Surface::BaseUrl && (d.overTheView || random_.bounded(3) == 0);
        if (clicked)
            clickAround(view);
        if (clicked && d.html.endsWith(KeptMark) && !keepsContent(view))
            tally_.finding(QStringLiteral("content gone after clicks"), nameOf(d.surface) + QStringLiteral(", ") + d.what);
        check(d, viewIndex);
        // What a document changed besides the content goes back for the next one.
        view = stage_.view(viewIndex);
        if (d.surface == Surface::BaseUrl)
            view->setBaseUrl(observers_.places().baseUrl());
        if (d.surface == Surface::CssText || d.surface == Surface::CssFromUrl) {
            view->setCssFromUrl(false);
            view->setCssText(QString());
        }
    }
}

int DocumentRun::write(const HostileDocument& d, HtmlView* view) {
    HtmlError error;
    int writes = 1;
    // The view reports a failed property write; an element or the mapper reports it to error.
    const HtmlError written = failureOf(*view, [&] {
        switch (d.surface) {
        case Surface::BodyHtml: view->setBodyHtml(d.html); break;
        case Surface::CssText:
            view->setCssText(d.css);
            view->setBodyHtml(d.html);
            writes = 2;
            break;
        case Surface::CssFromUrl:
            view->setCssText(d.css);
            view->setCssFromUrl(true);
            view->setBodyHtml(QStringLiteral("<p>styled from a sheet</p>"));
            writes = 3;
            break;
        case Surface::BaseUrl:
            view->setBaseUrl(d.base);
            view->setBodyHtml(d.html);
            writes = 2;
            break;
        case Surface::Source: {
            static int files = 0;
            const QUrl file = observers_.places().writeInBase(QStringLiteral("page-%1.html").arg(++files), d.file);
            view->setSource(file);
            break;
        }
        case Surface::InnerHtml: hostElement(view).setInnerHtml(d.html, &error); writes = 2; break;
        case Surface::StyleProperty: hostElement(view).setStyleProperty(d.styleName, d.styleValue, &error); writes = 2; break;
        case Surface::MapperValues:
        case Surface::MapperTemplate:
            for (int row = 0; row < model_.rowCount(); ++row)
                for (int column = 0; column < model_.columnCount(); ++column)
                    model_.setData(model_.index(row, column), d.values.value((row + column) % std::max<int>(1, d.values.size())));
            if (mapper_->model() != &model_)
                mapper_->setModel(&model_, &error);
            mapper_->setTemplateHtml(d.html, &error);
            // And a value changed in place, after the template is shown.
            model_.setData(model_.index(1, 0), d.values.value(0));
            writes = 2 + model_.rowCount() * model_.columnCount();
            break;
        }
    });
    if (error.isValid() || written.isValid())
        tally_.add(QStringLiteral("writes refused"));
    return writes;
}

// An element of a small body to write into.
HtmlElement DocumentRun::hostElement(HtmlView* view) {
    view->setBodyHtml(QStringLiteral("<div id='host' style='min-height:200px'>host</div>"));
    const QList<HtmlElement> all = view->document().elements();
    for (const HtmlElement& element : all)
        if (element.id() == QLatin1String("host"))
            return element;
    return {};
}

// Real clicks where the page shows its pieces: each takes a band at the top of the page.
void DocumentRun::clickAround(HtmlView* view) {
    XScreen& screen = stage_.screen();
    for (int i = 0; i < 3; ++i) {
        const QPoint at(10 + int(random_.bounded(300)), 8 + int(random_.bounded(200)));
        const int way = int(random_.bounded(8));
        const bool ctrl = way == 0;
        if (ctrl)
            screen.key(XK_Control_L, true);
        stage_.click(view, at, way == 1 ? Qt::MiddleButton : Qt::LeftButton);
        if (ctrl)
            screen.key(XK_Control_L, false);
        if (way == 2)  // the keyboard: to the next link, and follow it
            for (const unsigned long key : {XK_Tab, XK_Return}) {
                screen.key(key, true);
                screen.key(key, false);
            }
        tally_.add(QStringLiteral("clicks"));
        waitFor([&] { return observers_.navigated(view); }, AfterClickMs);
    }
}

bool DocumentRun::answers(HtmlView* view) const {
    HtmlError error;
    view->document().body(&error);
    return !error.isValid();
}

// Whether the page still holds what it was written: a link followed to a place the engine
// cannot load takes the page away without a URL of its own.
bool DocumentRun::keepsContent(HtmlView* view) {
    HtmlError error;
    const QString source = view->document().source(&error);
    if (error.isValid() || source.contains(QLatin1String("<i id=\"kept\"></i>")))
        return true;  // a page that does not answer is a view lost, which the check tells
    tally_.add(QStringLiteral("navigations"));
    fresh(int(stage_.view(0) != view));
    return false;
}

bool DocumentRun::showsText(HtmlView* view, const QString& text) const {
    HtmlError error;
    const QList<HtmlElement> all = view->document().elements(&error);
    for (const HtmlElement& element : all)
        if (element.id() == QLatin1String("shown"))
            return element.innerHtml() == text;
    return false;
}

void DocumentRun::check(const HostileDocument& d, int viewIndex) {
    HtmlView* view = stage_.view(viewIndex);
    const QString what = nameOf(d.surface) + QStringLiteral(", ") + d.what;
    QTest::qWait(10);  // the events the write started

    HtmlError error;
    const bool marked = !view->document().body(&error).attribute(QStringLiteral("data-script-ran"), &error).isNull();
    const bool titled = Stage::engineView(view)->title() == QLatin1String("script ran");
    const int scripts = observers_.scriptRequests();
    if (marked || titled || scripts > scriptRequests_) {
        tally_.add(QStringLiteral("scripts run"));
        tally_.finding(QStringLiteral("script ran"), what);
    }
    scriptRequests_ = scripts;

    const int requests = observers_.requests();
    if (requests > requests_) {
        tally_.add(QStringLiteral("requests"), requests - requests_);
        tally_.finding(QStringLiteral("request"), what + QStringLiteral(" -> ") + observers_.newPaths().join(QLatin1Char(' ')));
    }
    requests_ = requests;

    const int byPath = observers_.openedByPath();
    const int byLink = observers_.openedByLink();
    if (byPath > byPath_) {
        tally_.add(QStringLiteral("outside files opened by path"), byPath - byPath_);
        tally_.finding(QStringLiteral("outside file opened by path"), what);
    }
    if (byLink > byLink_) {
        tally_.add(QStringLiteral("outside files opened by link"), byLink - byLink_);
        tally_.finding(QStringLiteral("outside file opened through a link"), what);
    }
    byPath_ = byPath;
    byLink_ = byLink;

    const int windows = observers_.windows();
    if (windows > windows_) {
        tally_.add(QStringLiteral("windows opened"), windows - windows_);
        tally_.finding(QStringLiteral("window opened"), what + QStringLiteral(": ") + observers_.lastWindow());
    }
    windows_ = windows;
    tally_.add(QStringLiteral("file choosers"), observers_.fileChoosers() - fileChoosers_);
    fileChoosers_ = observers_.fileChoosers();

    if (!d.shownText.isEmpty() && !showsText(view, d.shownText)) {
        tally_.add(QStringLiteral("documents shown wrong"));
        tally_.finding(QStringLiteral("decoded wrong"), what);
    }

    if (observers_.navigated(view)) {
        tally_.add(QStringLiteral("navigations"));
        tally_.finding(QStringLiteral("navigation"), what + QStringLiteral(" -> ") + observers_.leftFor(view).toString().left(80));
        fresh(viewIndex);  // the view shows a page that is not its own: a new one for the run
        return;
    }
    if (!answers(view) && !waitFor([&] { return answers(view); }, LostAfterMs)) {
        tally_.add(QStringLiteral("views lost"));
        tally_.finding(QStringLiteral("view lost"), what);
        fresh(viewIndex);
    }
}
