#include "e2e/AppHarness.h"

#include "support/Wait.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QWebEngineView>

namespace {

QString jsString(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

}  // namespace

std::unique_ptr<hosted::vekBrowser> AppHarness::Controls::create(QWidget* parent,
                                                                 const hosted::DesignSettings& settings) {
    auto control = real_.create(parent, settings);
    created.push_back(control.get());
    return control;
}

AppHarness::AppHarness() {
    QFile::copy(QStringLiteral(LUMETTO_ICON), directory_.filePath(QStringLiteral("icon-logo.gif")));
    platform_.directory = directory_.path();
    form_ = std::make_unique<Form1>(controls_, platform_);
    if (form_->load()) {
        form_->show();
        if (!QTest::qWaitForWindowExposed(form_.get()))
            qWarning("Form1 was not exposed");
    }
}

QWebEngineView* AppHarness::pageView() const {
    return form_->findChild<QWebEngineView*>(QStringLiteral("vekBrowser1"));
}

QString AppHarness::label(const char* name) const {
    return form_->findChild<QLabel*>(QLatin1String(name))->text();
}

std::shared_ptr<hosted::IHTMLElement> AppHarness::first(const QString& tag) {
    auto all = vekBrowser1().Document().as<hosted::IHTMLDocument2>()->all().as<hosted::IHTMLElementCollection>();
    for (int i = 0; i < all->length(); ++i) {
        auto element = all->item(i).as<hosted::IHTMLElement>();
        if (element->tagName() == tag)
            return element;
    }
    return nullptr;
}

QVariant AppHarness::inPage(const QString& script) const {
    QVariant result;
    bool done = false;
    pageView()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    waitFor([&] { return done; });
    return result;
}

QPoint AppHarness::centreOf(const QString& selector) const {
    const QVariantList box = inPage(QStringLiteral(
        "(() => { const r = document.querySelector(%1).getBoundingClientRect();"
        " return [r.left + r.width / 2, r.top + r.height / 2]; })()").arg(jsString(selector))).toList();
    return box.size() == 2 ? QPoint(box[0].toInt(), box[1].toInt()) : QPoint(-1, -1);
}

void AppHarness::click(const QPoint& at, Qt::MouseButton button) const {
    QTest::mouseClick(pageView()->focusProxy(), button, {}, at);
}

void AppHarness::type(const QString& text) const {
    QTest::keyClicks(pageView()->focusProxy(), text);
}

void AppHarness::press(Qt::Key key) const {
    QTest::keyClick(pageView()->focusProxy(), key);
}

QString AppHarness::inlineBackground(const QString& selector) const {
    return inPage(QStringLiteral("document.querySelector(%1).style.backgroundColor").arg(jsString(selector))).toString();
}

QString AppHarness::mirrorContent() {
    return brClip().Document().as<hosted::IHTMLDocument2>()->body().as<hosted::IHTMLElement>()
        ->readMember(QStringLiteral("innerHTML")).toText();
}

QImage AppHarness::screen() const {
    return pageView()->grab().toImage();
}

void AppHarness::saveScreenshot(const QString& name) const {
    QDir().mkpath(QStringLiteral("screenshots"));
    form_->grab().save(QStringLiteral("screenshots/%1.png").arg(name));
}
