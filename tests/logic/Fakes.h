#pragma once

#include "forms/Platform.h"
#include "contract/DocumentObjects.h"
#include "contract/vekBrowser.h"
#include "support/QtPrinters.h"

#include <gmock/gmock.h>

#include <QDialog>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// gmock fakes of the display control, its document objects and the platform.

class MockBrowser : public contract::vekBrowser {
public:
    explicit MockBrowser(QWidget* parent) : widget_(new QWidget(parent)) { widget_->setFocusPolicy(Qt::StrongFocus); }

    QWidget* widget() override { return widget_; }
    void setEventSink(contract::vekBrowserEvents* sink) override { sink_ = sink; }
    contract::vekBrowserEvents* sink() const { return sink_; }

    MOCK_METHOD(contract::Variant, ClickedElement, (), (override));
    MOCK_METHOD(contract::Variant, AllowMouseSelect, (), (override));
    MOCK_METHOD(void, setAllowMouseSelect, (const contract::Variant&), (override));
    MOCK_METHOD(contract::Variant, SourceHTML, (), (override));
    MOCK_METHOD(void, setBaseURL, (const QString&), (override));
    MOCK_METHOD(void, setCSSText, (const QString&), (override));
    MOCK_METHOD(void, setCSSFromURL, (const contract::Variant&), (override));
    MOCK_METHOD(void, setBodyHTML, (const QString&), (override));
    MOCK_METHOD(contract::Variant, Document, (), (override));
    MOCK_METHOD(void, AddMenuItem, (const QString&, const QString&), (override));
    MOCK_METHOD(void, UpdateMenuItem, (QString&, const contract::Variant&, const contract::Variant&, const contract::Variant&),
                (override));
    MOCK_METHOD(contract::Variant, GetSelectionHTML, (), (override));

private:
    QWidget* widget_;
    contract::vekBrowserEvents* sink_ = nullptr;
};

// Hands out vekBrowser1 first and brClip second, as Form1 creates them, and keeps the
// design settings each was created with.
class FakeControls : public contract::vekBrowserFactory {
public:
    std::unique_ptr<contract::vekBrowser> create(QWidget* parent, const contract::DesignSettings& settings) override {
        auto control = std::make_unique<testing::NiceMock<MockBrowser>>(parent);
        created.push_back(control.get());
        settingsOf.push_back(settings);
        return control;
    }

    MockBrowser& vekBrowser1() { return *created.at(0); }
    MockBrowser& brClip() { return *created.at(1); }

    std::vector<MockBrowser*> created;
    std::vector<contract::DesignSettings> settingsOf;
};

class FakePlatform : public forms::Platform {
public:
    QString applicationDirectory() override {
        if (directoryFails)
            throw contract::RuntimeError::pathFileAccess();
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
    return arg.type() == contract::Variant::Type::String && arg.toText() == text;
}

// An inline style that holds its background colour.
class MockStyle : public contract::IHTMLStyle {
public:
    MockStyle() {
        ON_CALL(*this, backgroundColor).WillByDefault([this] { return contract::Variant::fromString(colour); });
        ON_CALL(*this, setBackgroundColor).WillByDefault([this](const contract::Variant& v) { colour = v.toText(); });
    }
    MOCK_METHOD(contract::Variant, backgroundColor, (), (override));
    MOCK_METHOD(void, setBackgroundColor, (const contract::Variant&), (override));

    QString colour;
};

// An element with a tag, an inline style and, where given, attributes; it has no "href".
class MockElement : public contract::IHTMLElement {
public:
    explicit MockElement(const QString& tag) : style_(std::make_shared<testing::NiceMock<MockStyle>>()) {
        using testing::Return;
        ON_CALL(*this, tagName).WillByDefault(Return(tag));
        ON_CALL(*this, id).WillByDefault(Return(QString()));
        ON_CALL(*this, style).WillByDefault(Return(style_));
        ON_CALL(*this, getAttribute).WillByDefault(Return(contract::Variant::null()));
        ON_CALL(*this, readMember).WillByDefault([](const QString&) -> contract::Variant {
            throw contract::RuntimeError::memberNotSupported();
        });
    }
    MOCK_METHOD(QString, tagName, (), (override));
    MOCK_METHOD(QString, id, (), (override));
    MOCK_METHOD(std::shared_ptr<contract::IHTMLStyle>, style, (), (override));
    MOCK_METHOD(void, setInnerHTML, (const QString&), (override));
    MOCK_METHOD(contract::Variant, getAttribute, (const QString&), (override));
    MOCK_METHOD(contract::Variant, readMember, (const QString&), (override));

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
inline Element field(const QString& tag, const contract::Variant& name, const contract::Variant& value) {
    auto e = element(tag);
    ON_CALL(*e, getAttribute(QStringLiteral("Name"))).WillByDefault(testing::Return(name));
    ON_CALL(*e, getAttribute(QStringLiteral("Value"))).WillByDefault(testing::Return(value));
    return e;
}

class FakeCollection : public contract::IHTMLElementCollection {
public:
    explicit FakeCollection(std::vector<Element> items) : items_(std::move(items)) {}
    int32_t length() override { return static_cast<int32_t>(items_.size()); }
    contract::Variant item(int32_t index) override { return contract::Variant::fromObject(items_.at(index)); }

private:
    std::vector<Element> items_;
};

class MockDocument : public contract::IHTMLDocument2 {
public:
    MOCK_METHOD(contract::Variant, all, (), (override));
    MOCK_METHOD(contract::Variant, body, (), (override));
    MOCK_METHOD(contract::Variant, selection, (), (override));
};

// A document whose "all" holds the given elements.
inline std::shared_ptr<testing::NiceMock<MockDocument>> documentOf(std::vector<Element> items) {
    auto document = std::make_shared<testing::NiceMock<MockDocument>>();
    auto all = std::make_shared<FakeCollection>(std::move(items));
    ON_CALL(*document, all).WillByDefault(testing::Return(contract::Variant::fromObject(all)));
    return document;
}

inline contract::RuntimeError controlFailure() {
    return contract::RuntimeError::automationError();
}
