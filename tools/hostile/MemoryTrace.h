#pragma once

#include <QList>
#include <QMap>
#include <QString>

// The resident memory of a process tree over time, as read from outside it, and its slope.
class MemoryTrace {
public:
    // Reads the tree's memory now, seconds after the trace began.
    void read(qint64 rootPid, double seconds);
    // The tree's page process, told by the process that owns it: the engine's page processes
    // are forked by its zygote and keep its command line, so the tree alone cannot tell them.
    void setPageProcess(qint64 pid) { pageProcess_ = pid; }

    bool isEmpty() const { return samples_.isEmpty(); }
    // MiB an hour over the samples between two fractions of the duration (0.5 to 1: the second
    // half), by least squares; of the whole tree, or of the processes of one role
    // ("application", "page process", "zygote", ...).
    double slopeMiBPerHour(double fromFraction, double toFraction = 1, const QString& role = {}) const;
    // The tree's MiB at a fraction of the duration (the sample nearest to it).
    double mibAt(double fraction) const;
    // The roles seen, each with its resident MiB at the end.
    QMap<QString, double> rolesAtEnd() const;

private:
    double secondsAt(double fraction) const;

    struct Sample {
        double seconds;
        double totalMiB;
        QMap<QString, double> roleMiB;
    };
    QList<Sample> samples_;
    qint64 pageProcess_ = 0;
};
