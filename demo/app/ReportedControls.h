#pragma once

#include "forms/Platform.h"

#include <lumetto/vekBrowser.h>

#include <memory>

// The display controls of the program's windows, each a lumetto::BrowserWidget. A control that
// fails where no call can fail (its display engine cannot start, or a write that Form_Load
// made before the window showed failed as the page loaded) leaves Form1 short of its working
// state, as a failed Form_Load does, and is reported as Form_Load's run-time error is: in a
// message box, "Run-time error 'N':" and the description. Then the program ends with status 1.
// The description also goes to standard error, for whoever started the program from a
// terminal or a service. The first failure is reported; the other control's, which has the
// same cause, is not.
class ReportedControls : public lumetto::vekBrowserFactory {
public:
    explicit ReportedControls(forms::Platform& platform) : platform_(platform) {}
    std::unique_ptr<lumetto::vekBrowser> create(QWidget* parent, const lumetto::DesignSettings& settings) override;

private:
    void failed(int code, const QString& description);

    forms::Platform& platform_;
    bool failed_ = false;
};
