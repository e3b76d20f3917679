#include "hostile/Stage.h"

#include <QWebEnginePage>
#include <QWebEngineView>

Stage::Stage(int views, Place place) {
    window_.setWindowTitle(QStringLiteral("hostile"));
    window_.setFixedSize(views * (ViewWidth + 10), ViewHeight + 10);
    window_.move(0, place == Place::Top ? 0 : 800);
    for (int i = 0; i < views; ++i)
        views_ << nullptr;
    for (int i = 0; i < views; ++i)
        replace(i);
    window_.show();
}

Stage::~Stage() = default;

lumetto::HtmlView* Stage::replace(int i) {
    delete views_[i];
    auto* view = new lumetto::HtmlView(&window_);
    view->setGeometry(5 + i * (ViewWidth + 10), 5, ViewWidth, ViewHeight);
    view->show();
    views_[i] = view;
    return view;
}

QWebEngineView* Stage::engineView(lumetto::HtmlView* view) {
    return view ? view->findChild<QWebEngineView*>() : nullptr;
}

qint64 Stage::pageProcess(lumetto::HtmlView* view) {
    QWebEngineView* engine = engineView(view);
    return engine ? engine->page()->renderProcessPid() : 0;
}

QPoint Stage::onScreen(lumetto::HtmlView* view, const QPoint& at) const {
    return view->mapToGlobal(at);
}

QRgb Stage::pixel(lumetto::HtmlView* view, const QPoint& at) const {
    const QImage image = screen_.image(QRect(onScreen(view, at), QSize(1, 1)));
    return image.isNull() ? 0 : image.pixel(0, 0);
}

void Stage::click(lumetto::HtmlView* view, const QPoint& at, Qt::MouseButton button) {
    screen_.movePointer(onScreen(view, at));
    screen_.click(button);
}
