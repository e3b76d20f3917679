#pragma once

#include "driving/RunningApp.h"

#include <QDir>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A guided tour of the application: every feature driven with real input, as a person would,
// with a screenshot after each step. A step whose expected screen is not reached fails it.
class Tour {
public:
    explicit Tour(const QDir& screenshots);

    // Runs the steps in order until one fails; returns whether all reached their screen.
    bool run();

private:
    struct Step {
        QString name;       // also the screenshot's file name
        QString caption;    // what the person sees
        // Empty when the expected screen was reached, else what was missing. A step whose
        // screen lasts only while it runs (an open menu, a modal window) takes its screenshot
        // itself; the others get theirs once they return.
        std::function<QString()> act;
    };
    std::vector<Step> steps();
    // Saves the step's screenshot: the window, with any menu over it, or another window.
    void screenshot(QWidget* window = nullptr);

    QString start();
    QString highlightCell();
    QString fillQuestionnaire();
    QString submitAnswers();
    QString openContextMenu();
    QString copyAsHtml();
    QString greenPage();
    QString allowSelectionMark();
    QString selectionMessageBox();
    QString viewSource();

    QDir screenshots_;
    RunningApp app_;
    QString currentStep_;
    std::optional<bool> shot_;  // whether the current step's screenshot was saved, once taken
};
