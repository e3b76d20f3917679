#pragma once

#include "Layout.h"
#include "bench/ProcessTree.h"
#include "bench/Stats.h"
#include "driving/XScreen.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

// A program showing the product page, and where the page sits in its window.
struct Subject {
    QString program;
    QStringList arguments;
    const char* title;
    QPoint page;
};

// The programs the observer measures, and where it finds things on their windows.
struct Subjects {
    Subject application;  // the application itself
    Subject bareView;     // a bare engine view of the page view's size; also shows the questionnaire
    Subject bareWindow;   // a bare window of Form1's size with two views at Form1's places
    Subject bareWindowOneView;  // the same window with the page's view only
    QString questionnaire;  // the application with a questionnaire of many fields
    QString writer;         // the application whose "forms" link writes a large body
    Layout layout;
};

// A program started afresh: the milliseconds from its start to the product page's logo on the
// screen (logo: where the logo is in the page), and the memory of its process tree a second later.
struct Started {
    double firstPaintMs = 0;
    TreeMemory memory;
};
std::optional<Started> startUntilPainted(XScreen& screen, const Subject& subject, const QRect& logo);
// Starts each subject runs times, the figures of subjects[i] into ms[i] and mib[i] (resident,
// with the engine's processes). False when one never showed the logo.
bool startInTurns(XScreen& screen, const QList<const Subject*>& subjects, const QRect& logo, int runs,
                  QList<Samples>& ms, QList<Samples>& mib);

// Each runs the application and the bare view alternately and prints its rows of the table.
// False when a program never showed what was waited for.
bool measureStartup(XScreen& screen, const Subjects& subjects, int runs);
bool measureClicks(XScreen& screen, const Subjects& subjects, int clicks);
// The same clicks with one program at a time on the screen.
bool measureClicksAlone(XScreen& screen, const Subjects& subjects, int clicks);
bool measureAnswers(XScreen& screen, const Subjects& subjects, int runs, int fields);
bool measureWrites(XScreen& screen, const Subjects& subjects, int runs);
// Record to record in a view bound to a model, against the same record written as markup:
// program is the record app, run once in each way.
bool measureRecords(XScreen& screen, const QString& program, int moves);
// Start-up and memory of Qt Quick windows: the QML HtmlView against a bare WebEngineView in QML
// (both shown by quickPage) and the bare widget view, each showing the product page alone.
bool measureQuick(XScreen& screen, const QString& quickPage, const QString& bareView, int runs);
// Every row of a SQLite table, bound and windowed, against a QTableView: program is the list app.
bool measureLists(XScreen& screen, const QString& program, int runs);
