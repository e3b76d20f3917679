#include "hostile/Misbehaviour.h"

#include "hostile/Swatch.h"

#include "driving/ViewFailure.h"
#include "driving/Wait.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <csignal>
#include <stdexcept>

using lumetto::HtmlElement;
using lumetto::HtmlError;
using lumetto::HtmlView;

namespace {

constexpr int ShownWithinMs = 30000;
// Content that ends the page process: the page's layout of it overflows the renderer's stack.
constexpr int DeadlyDepth = 10000;

}  // namespace

Misbehaviour::Misbehaviour(quint32 seed, Tally& tally) : tally_(tally), stage_(2), random_(seed) {}

QString Misbehaviour::failure(int viewIndex) {
    HtmlView* view = stage_.view(viewIndex);
    const QRgb colour = swatch::next(random_, 0);
    // A page process that restarts fails the calls made meanwhile: the view works once it
    // takes a write again.
    const bool written = waitFor([&] { return !failureOf(*view, [&] { view->setBodyHtml(swatch::body(colour)); }).isValid(); },
                                 ShownWithinMs);
    if (!written)
        return QStringLiteral("the view takes no write");
    if (!swatch::waitShown(stage_, view, colour, ShownWithinMs))
        return QStringLiteral("the view does not show what it was written");
    bool clicked = false;
    const auto connection = QObject::connect(view, &HtmlView::clicked, [&] { clicked = true; });
    stage_.click(view, swatch::centre());
    const bool came = waitFor([&] { return clicked; }, ShownWithinMs);
    QObject::disconnect(connection);
    return came ? QString() : QStringLiteral("the view emits no click");
}

void Misbehaviour::deadlyContent() {
    tally_.add(QStringLiteral("deadly"));
    HtmlView* keeper = stage_.view(0);
    HtmlView* victim = stage_.view(1);
    const QRgb kept = swatch::next(random_, 0);
    keeper->setBodyHtml(swatch::body(kept));
    victim->setBodyHtml(swatch::body(swatch::next(random_, kept)));
    bool discarded = false;
    QObject::connect(victim, &HtmlView::contentDiscarded, [&] { discarded = true; });
    const QString deep = QStringLiteral("<div>").repeated(DeadlyDepth) + QStringLiteral("deep") + QStringLiteral("</div>").repeated(DeadlyDepth);
    victim->setBodyHtml(deep);
    tally_.add(QStringLiteral("steps"));
    // Shown after all, or given up by the view: either way the page must work on.
    waitFor([&] { return discarded; }, ShownWithinMs * 3);
    const bool keeperShows = swatch::waitShown(stage_, keeper, kept, ShownWithinMs);
    const QString victimFailure = failure(1);
    const bool victimWorks = victimFailure.isEmpty();
    if (keeperShows && victimWorks)
        tally_.add(QStringLiteral("deadly contained"));
    else
        tally_.finding(QStringLiteral("deadly content"), QStringLiteral("the other view %1; %2")
                                                             .arg(keeperShows ? QStringLiteral("kept its content") : QStringLiteral("lost its content"),
                                                                  victimWorks ? QStringLiteral("the view works") : victimFailure));
}

void Misbehaviour::slot(const QString& what, const std::function<void(HtmlView*, const HtmlElement&)>& misbehave) {
    tally_.add(QStringLiteral("slots"));
    failure(0);
    QPointer<HtmlView> view = stage_.view(0);
    bool called = false;
    const auto connection = QObject::connect(view, &HtmlView::clicked, view, [&, target = view.data()](const HtmlElement& clicked) {
        called = true;
        misbehave(target, clicked);
    });
    stage_.click(view, swatch::centre());
    waitFor([&] { return called; }, ShownWithinMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (view)
        QObject::disconnect(connection);
    else
        stage_.replace(0);
    const QString after = called ? failure(0) : QStringLiteral("the slot was not called");
    if (after.isEmpty())
        tally_.add(QStringLiteral("slots survived"));
    else
        tally_.finding(QStringLiteral("slot not survived"), what + QStringLiteral(": ") + after);
}

void Misbehaviour::misbehavingSlots() {
    slot(QStringLiteral("throws a std::exception"), [](HtmlView*, const HtmlElement&) { throw std::runtime_error("slot failed"); });
    slot(QStringLiteral("throws an int"), [](HtmlView*, const HtmlElement&) { throw 42; });
    slot(QStringLiteral("opens a modal dialog"), [](HtmlView* view, const HtmlElement&) {
        QDialog dialog(view->window());
        QTimer::singleShot(300, &dialog, &QDialog::accept);
        dialog.exec();
    });
    slot(QStringLiteral("writes new content"), [this](HtmlView* view, const HtmlElement&) {
        view->setBodyHtml(swatch::body(swatch::next(random_, 0)));
    });
    slot(QStringLiteral("reads the whole document"), [](HtmlView* view, const HtmlElement& clicked) {
        view->document().elements();
        clicked.innerHtml();
    });
    slot(QStringLiteral("kills the page process"), [](HtmlView* view, const HtmlElement&) {
        ::kill(pid_t(Stage::pageProcess(view)), SIGKILL);
    });
    slot(QStringLiteral("spins an event loop"), [](HtmlView*, const HtmlElement&) {
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
    });
    slot(QStringLiteral("deletes the view later"), [](HtmlView* view, const HtmlElement&) { view->deleteLater(); });
    slot(QStringLiteral("deletes the view"), [this](HtmlView* view, const HtmlElement& clicked) {
        const HtmlElement kept = clicked;
        delete view;
        HtmlError error;
        kept.id(&error);
        if (!kept.isNull() || error.type() != HtmlError::ElementGone) {
            tally_.add(QStringLiteral("elements of destroyed views not null"));
            tally_.finding(QStringLiteral("element of a destroyed view"),
                           QStringLiteral("isNull() %1, its call fails with %2").arg(kept.isNull() ? "true" : "false").arg(int(error.type())));
        }
    });
}
