#include "e2e/AppHarness.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QWebEngineView>

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

QImage AppHarness::screen() const {
    return pageView()->grab().toImage();
}

void AppHarness::saveScreenshot(const QString& name) const {
    QDir().mkpath(QStringLiteral("screenshots"));
    form_->grab().save(QStringLiteral("screenshots/%1.png").arg(name));
}
