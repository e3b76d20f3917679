#pragma once

#include "Layout.h"
#include "XScreen.h"

#include <QString>

// The programs the observer measures, and where it finds things on their windows.
struct Subjects {
    QString application;    // the application itself
    QString bareView;       // bare_view
    QString questionnaire;  // questionnaire_app
    Layout layout;
};

// Each runs the application and the bare view alternately and prints its rows of the table.
// False when a program never showed what was waited for.
bool measureStartup(XScreen& screen, const Subjects& subjects, int runs);
bool measureClicks(XScreen& screen, const Subjects& subjects, int clicks);
bool measureAnswers(XScreen& screen, const Subjects& subjects, int runs, int fields);
