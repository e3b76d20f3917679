#pragma once

#include "driving/RunningApp.h"

#include <QDir>
#include <QString>

#include <functional>
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
        std::function<QString()> act;  // empty when the expected screen was reached, else what was missing
    };
    std::vector<Step> steps();
    bool screenshot(const QString& name, QWidget* window = nullptr) const;

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
};
