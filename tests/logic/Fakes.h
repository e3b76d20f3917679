#pragma once

#include "forms/Platform.h"
#include <lumetto/DocumentObjects.h>
#include <lumetto/vekBrowser.h>
#include "support/QtPrinters.h"

#include <gmock/gmock.h>

#include <QDialog>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// gmock fakes of the display control, its document objects and the platform.

class MockBrowser : public lumetto::vekBrowser {
public:
    explicit MockBrowser(QWidget* parent) : widget_(new QWidget(parent)) { widget_->setFocusPolicy(Qt::StrongFocus); }

    QWidget* widget() override { return widget_; }
    void setEventSink(lumetto::vekBrowserEvents* sink) override { sink_ = sink; }
    lumetto::vekBrowserEvents* sink() const { return sink_; }

    MOCK_METHOD(lumetto::Variant, ClickedElement, (), (override));
    MOCK_METHOD(lumetto::Variant, AllowMouseSelect, (), (override));
    MOCK_METHOD(void, setAllowMouseSelect, (const lumetto::Variant&), (override));
    MOCK_METHOD(lumetto::Variant, SourceHTML, (), (override));
    MOCK_METHOD(void, setBaseURL, (const QString&), (override));
    MOCK_METHOD(void, setCSSText, (const QString&), (override));
    MOCK_METHOD(void, setCSSFromURL, (const lumetto::Variant&), (override));
    MOCK_METHOD(void, setBodyHTML, (const QString&), (override));
    MOCK_METHOD(lumetto::Variant, Document, (), (override));
    MOCK_METHOD(void, AddMenuItem, (const QString&, const QString&), (override));
    MOCK_METHOD(void, UpdateMenuItem, (QString&, const lumetto::Variant&, const lumetto::Variant&, const lumetto::Variant&),
                (override));
    MOCK_METHOD(lumetto::Variant, GetSelectionHTML, (), (override));

private:
    QWidget* widget_;
    lumetto::vekBrowserEvents* sink_ = nullptr;
};

// Hands out vekBrowser1 first and brClip second, as Form1 creates them, and keeps the
// design settings each was created with.
class FakeControls : public lumetto::vekBrowserFactory {
public:
    std::unique_ptr<lumetto::vekBrowser> create(QWidget* parent, const lumetto::DesignSettings& settings) override {
        auto control = std::make_unique<testing::NiceMock<MockBrowser>>(parent);
        created.push_back(control.get());
        settingsOf.push_back(settings);
        return control;
    }

    MockBrowser& vekBrowser1() { return *created.at(0); }
    MockBrowser& brClip() { return *created.at(1); }

    std::vector<MockBrowser*> created;
    std::vector<lumetto::DesignSettings> settingsOf;
};

class FakePlatform : public forms::Platform {
public:
    QString applicationDirectory() override {
        if (directoryFails)
            throw lumetto::RuntimeError::pathFileAccess();
        return directory;
    }
    QChar directorySeparator() override { return separator; }
    QString clipboardText() override {
        ++clipboardReads;
        return clipboard;
    }
    void messageBox(const QString& prompt) override { messages.append(prompt); }
    // The window is not shown: whileModal looks at it in its place, as the user would.
    void showModal(QDialog& window) override {
        ++modalShows;
        if (whileModal)
            whileModal(window);
    }

    QString directory = QStringLiteral("/opt/lumetto");
    QChar separator = QLatin1Char('/');
    bool directoryFails = false;
    QString clipboard;
    int clipboardReads = 0;
    QStringList messages;
    int modalShows = 0;
    std::function<void(QDialog&)> whileModal;
};

MATCHER_P(HoldsText, text, "") {
    return arg.type() == lumetto::Variant::Type::String && arg.toText() == text;
}

// An inline style that holds its background colour.
class MockStyle : public lumetto::IHTMLStyle {
public:
    MockStyle() {
        ON_CALL(*this, backgroundColor).WillByDefault([this] { return lumetto::Variant::fromString(colour); });
        ON_CALL(*this, setBackgroundColor).WillByDefault([this](const lumetto::Variant& v) { colour = v.toText(); });
    }
    MOCK_METHOD(lumetto::Variant, backgroundColor, (), (override));
    MOCK_METHOD(void, setBackgroundColor, (const lumetto::Variant&), (override));

    QString colour;
};

// An element with a tag, an inline style and, where given, attributes; it has no "href".
class MockElement : public lumetto::IHTMLElement {
public:
    explicit MockElement(const QString& tag) : style_(std::make_shared<testing::NiceMock<MockStyle>>()) {
        using testing::Return;
        ON_CALL(*this, tagName).WillByDefault(Return(tag));
        ON_CALL(*this, id).WillByDefault(Return(QString()));
        ON_CALL(*this, style).WillByDefault(Return(style_));
        ON_CALL(*this, getAttribute).WillByDefault(Return(lumetto::Variant::null()));
        ON_CALL(*this, readMember).WillByDefault([](const QString&) -> lumetto::Variant {
            throw lumetto::RuntimeError::memberNotSupported();
        });
    }
    MOCK_METHOD(QString, tagName, (), (override));
    MOCK_METHOD(QString, id, (), (override));
    MOCK_METHOD(std::shared_ptr<lumetto::IHTMLStyle>, style, (), (override));
    MOCK_METHOD(void, setInnerHTML, (const QString&), (override));
    MOCK_METHOD(lumetto::Variant, getAttribute, (const QString&), (override));
    MOCK_METHOD(lumetto::Variant, readMember, (const QString&), (override));

    MockStyle& inlineStyle() { return *style_; }
    QString colour() const { return style_->colour; }

private:
    std::shared_ptr<testing::NiceMock<MockStyle>> style_;
};

using Element = std::shared_ptr<testing::NiceMock<MockElement>>;

inline Element element(const QString& tag) {
    return std::make_shared<testing::NiceMock<MockElement>>(tag);
}

// A form field: getAttribute answers "Name" and "Value" (Null where not given).
inline Element field(const QString& tag, const lumetto::Variant& name, const lumetto::Variant& value) {
    auto e = element(tag);
    ON_CALL(*e, getAttribute(QStringLiteral("Name"))).WillByDefault(testing::Return(name));
    ON_CALL(*e, getAttribute(QStringLiteral("Value"))).WillByDefault(testing::Return(value));
    return e;
}

class FakeCollection : public lumetto::IHTMLElementCollection {
public:
    explicit FakeCollection(std::vector<Element> items) : items_(std::move(items)) {}
    int32_t length() override { return static_cast<int32_t>(items_.size()); }
    lumetto::Variant item(int32_t index) override { return lumetto::Variant::fromObject(items_.at(index)); }

private:
    std::vector<Element> items_;
};

class MockDocument : public lumetto::IHTMLDocument2 {
public:
    MOCK_METHOD(lumetto::Variant, all, (), (override));
    MOCK_METHOD(lumetto::Variant, body, (), (override));
    MOCK_METHOD(lumetto::Variant, selection, (), (override));
};

// A document whose "all" holds the given elements.
inline std::shared_ptr<testing::NiceMock<MockDocument>> documentOf(std::vector<Element> items) {
    auto document = std::make_shared<testing::NiceMock<MockDocument>>();
    auto all = std::make_shared<FakeCollection>(std::move(items));
    ON_CALL(*document, all).WillByDefault(testing::Return(lumetto::Variant::fromObject(all)));
    return document;
}

inline lumetto::RuntimeError controlFailure() {
    return lumetto::RuntimeError::automationError();
}
