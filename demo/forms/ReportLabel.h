#pragma once

class QLabel;

namespace forms {

// Marks a label whose text reports what just happened, such as the last click: a screen
// reader can read its text, and hears each new text as it comes, as it hears text typed into
// a field. The label looks and behaves as before.
void makeReport(QLabel& label);

}  // namespace forms
