#pragma once

#include <QRect>
#include <QString>

// The questionnaire of the answers benchmark: many fields, the submit button first, where it can
// be seen and clicked.
QString questionnaire(int fields);

// The bare view's questionnaire: the same form, and a script of the page's own that walks it
// on submit as Form1 does and shows the answers in a box at the page's top right.
QString bareQuestionnaire(int fields);
QString bareAnswersScript();

// Where the bare view shows the answers, in the page.
constexpr QRect BareAnswersBox(293, 0, 256, 60);
