#pragma once

#include <QList>
#include <QMap>
#include <QString>

// The resident memory of a process tree over time, as read from outside it, and its slope.
class MemoryTrace {
public:
    // Reads the tree's memory now, seconds after the trace began.
    void read(qint64 rootPid, double seconds);

    bool isEmpty() const { return samples_.isEmpty(); }
    double firstMiB() const;
    double lastMiB() const;
    // MiB an hour over the samples from fraction of the duration on (0.5: the second half), by
    // least squares; of the whole tree, or of the processes of one role ("application",
    // "renderer", "gpu-process", ...).
    double slopeMiBPerHour(double fromFraction, const QString& role = {}) const;
    // The roles seen, each with its resident MiB at the end.
    QMap<QString, double> rolesAtEnd() const;

private:
    struct Sample {
        double seconds;
        double totalMiB;
        QMap<QString, double> roleMiB;
    };
    QList<Sample> samples_;
};
