#pragma once

#include "forms/Platform.h"

#include "contract/RuntimeError.h"
#include "contract/vekBrowser.h"

#include <memory>

// The display controls of the program's windows, each a contract::HtmlViewControl. A control that
// fails where no call can fail (its display engine cannot start, or a write that Form_Load
// made before the window showed failed as the page loaded) leaves Form1 short of its working
// state, as a failed Form_Load does, and is reported as Form_Load's run-time error is: in a
// message box, "Run-time error 'N':" and the description. Then the program ends with status 1.
// The description also goes to standard error, for whoever started the program from a
// terminal or a service. The first failure is reported; the other control's, which has the
// same cause, is not.
class ReportedControls : public contract::vekBrowserFactory {
public:
    explicit ReportedControls(forms::Platform& platform) : platform_(platform) {}
    std::unique_ptr<contract::vekBrowser> create(QWidget* parent, const contract::DesignSettings& settings) override;

private:
    void failed(const contract::RuntimeError& failure);

    forms::Platform& platform_;
    bool failed_ = false;
};
