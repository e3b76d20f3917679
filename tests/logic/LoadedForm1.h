#pragma once

#include "content/basGlobal.h"
#include "logic/Fakes.h"
#include "main_window/Form1.h"

#include <QLabel>

// Form1 after its Form_Load, with fakes for controls and platform, and clicks as the page reports them.
class LoadedForm1 : public testing::Test {
protected:
    LoadedForm1() { form.load(); }

    MockBrowser& page() { return controls.vekBrowser1(); }
    MockBrowser& mirror() { return controls.brClip(); }
    QString label(const char* name) { return form.findChild<QLabel*>(QLatin1String(name))->text(); }

    void leftClick(const Element& on) {
        ON_CALL(page(), ClickedElement).WillByDefault(testing::Return(contract::Variant::fromObject(on)));
        page().sink()->LeftClick();
    }
    void rightClick(const Element& on) {
        ON_CALL(page(), ClickedElement).WillByDefault(testing::Return(contract::Variant::fromObject(on)));
        page().sink()->RightClick();
    }
    void restoreHighlight() { page().sink()->RestoreHighlight(); }
    void clipboardCopy(int32_t kind) { page().sink()->ClipboardCopy(kind); }
    void menuItemClick(QString& key, int16_t checkState) {
        contract::Variant reserved1, reserved2;
        page().sink()->MenuItemClick(key, reserved1, checkState, reserved2);
    }

    // A failure was reported to the user as a run-time error with this code.
    bool reported(int code) {
        return !platform.messages.isEmpty() &&
               platform.messages.last().startsWith(QStringLiteral("Run-time error '%1':").arg(code));
    }

    FakeControls controls;
    FakePlatform platform;
    Form1 form{controls, platform};
};
