#pragma once

#include "forms/QtPlatform.h"
#include "hosted/webengine/WebBrowserControl.h"
#include "main_window/Form1.h"

#include <QColor>
#include <QRect>

#include <memory>
#include <vector>

class QLabel;
class QWebEngineView;

// The real application in the benchmark's own process, loaded and shown with its product page
// painted, with what a benchmark needs to drive it as a person would.
class BenchApp {
public:
    BenchApp();

    Form1& form() { return *form_; }
    hosted::vekBrowser& vekBrowser1() { return *controls_.created.at(0); }
    hosted::vekBrowser& brClip() { return *controls_.created.at(1); }
    QWebEngineView* pageView() const;
    QLabel* label(const char* name) const;

    // Where the first element matching a selector is, in the page view.
    QRect boundsOf(const QString& selector) const;
    // A real left click in the page.
    void click(const QPoint& at) const;
    // Handles events until the label reads text, up to timeoutMs; returns whether it did.
    bool waitForLabel(const char* name, const QString& text, int timeoutMs = 5000) const;

private:
    class Controls : public hosted::vekBrowserFactory {
    public:
        std::unique_ptr<hosted::vekBrowser> create(QWidget* parent, const hosted::DesignSettings& settings) override;
        std::vector<hosted::vekBrowser*> created;

    private:
        lumetto::WebBrowserFactory real_;
    };

    Controls controls_;
    forms::QtPlatform platform_;
    std::unique_ptr<Form1> form_;
};
