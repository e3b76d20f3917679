#pragma once

#include "Layout.h"
#include "driving/XScreen.h"

#include <QPoint>
#include <QString>
#include <QStringList>

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
// Every row of a SQLite table, bound and windowed, against a QTableView: program is the list app.
bool measureLists(XScreen& screen, const QString& program, int runs);
