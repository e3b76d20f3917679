#pragma once

#include <QString>
#include <QStringList>

// The command line: hostile --seed N [--documents D] [--kills K] [--minutes M]; --phase names
// the part of the run a child process carries out.
struct Options {
    quint32 seed = 1;
    int documents = 1648;
    int kills = 200;
    double minutes = 10;
    QString phase;  // empty for the whole run
    bool valid = true;

    static Options parse(const QStringList& arguments);
    // The arguments that give a child process these options and that phase.
    QStringList forPhase(const QString& phase) const;
};
