#pragma once

#include "forms/Platform.h"
#include "hosted/DocumentObjects.h"
#include "hosted/vekBrowser.h"

#include <gmock/gmock.h>

#include <QDialog>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// gmock fakes of the display control, its document objects and the platform.

class MockBrowser : public hosted::vekBrowser {
public:
    explicit MockBrowser(QWidget* parent) : widget_(new QWidget(parent)) { widget_->setFocusPolicy(Qt::StrongFocus); }

    QWidget* widget() override { return widget_; }
    void setEventSink(hosted::vekBrowserEvents* sink) override { sink_ = sink; }
    hosted::vekBrowserEvents* sink() const { return sink_; }

    MOCK_METHOD(hosted::Variant, ClickedElement, (), (override));
    MOCK_METHOD(hosted::Variant, AllowMouseSelect, (), (override));
    MOCK_METHOD(void, setAllowMouseSelect, (const hosted::Variant&), (override));
    MOCK_METHOD(hosted::Variant, SourceHTML, (), (override));
    MOCK_METHOD(void, setBaseURL, (const QString&), (override));
    MOCK_METHOD(void, setCSSText, (const QString&), (override));
    MOCK_METHOD(void, setCSSFromURL, (const hosted::Variant&), (override));
    MOCK_METHOD(void, setBodyHTML, (const QString&), (override));
    MOCK_METHOD(hosted::Variant, Document, (), (override));
    MOCK_METHOD(void, AddMenuItem, (const QString&, const QString&), (override));
    MOCK_METHOD(void, UpdateMenuItem, (QString&, const hosted::Variant&, const hosted::Variant&, const hosted::Variant&),
                (override));
    MOCK_METHOD(hosted::Variant, GetSelectionHTML, (), (override));

private:
    QWidget* widget_;
    hosted::vekBrowserEvents* sink_ = nullptr;
};

// Hands out vekBrowser1 first and brClip second, as Form1 creates them, and keeps the
// design settings each was created with.
class FakeControls : public hosted::vekBrowserFactory {
public:
    std::unique_ptr<hosted::vekBrowser> create(QWidget* parent, const hosted::DesignSettings& settings) override {
        auto control = std::make_unique<testing::NiceMock<MockBrowser>>(parent);
        created.push_back(control.get());
        settingsOf.push_back(settings);
        return control;
    }

    MockBrowser& vekBrowser1() { return *created.at(0); }
    MockBrowser& brClip() { return *created.at(1); }

    std::vector<MockBrowser*> created;
    std::vector<hosted::DesignSettings> settingsOf;
};

class FakePlatform : public forms::Platform {
public:
    QString applicationDirectory() override {
        if (directoryFails)
            throw hosted::RuntimeError(75, QStringLiteral("Path/File access error"));
        return directory;
    }
    QString clipboardText() override { return clipboard; }
    void messageBox(const QString& prompt) override { messages.append(prompt); }
    // The window is not shown: whileModal looks at it in its place, as the user would.
    void showModal(QDialog& window) override {
        ++modalShows;
        if (whileModal)
            whileModal(window);
    }

    QString directory = QStringLiteral("/opt/lumetto");
    bool directoryFails = false;
    QString clipboard;
    QStringList messages;
    int modalShows = 0;
    std::function<void(QDialog&)> whileModal;
};

inline hosted::RuntimeError controlFailure() {
    return hosted::RuntimeError(440, QStringLiteral("Automation error"));
}
