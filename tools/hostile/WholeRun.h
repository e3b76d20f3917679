#pragma once

#include "hostile/MemoryTrace.h"
#include "hostile/Options.h"

#include <QMap>
#include <QStringList>

// The whole hostile run: each phase in a process of its own, watched from outside (the soak's
// memory is read from its process tree), the counts gathered into one table.
class WholeRun {
public:
    explicit WholeRun(const Options& options);

    // Runs every phase; the process's exit status.
    int run();

private:
    // Runs one phase in a child process with extra engine flags, within a bound; false if it
    // did not end by itself.
    bool phase(const QString& name, const QByteArray& engineFlags, int boundSeconds, const QString& prefix = {});
    void kills();
    void take(const QString& line, const QString& prefix);
    void printTable() const;
    qint64 count(const QString& name) const { return counts_.value(name); }

    Options options_;
    QMap<QString, qint64> counts_;
    QMap<QString, QList<double>> samples_;
    QStringList findings_;
    QStringList unfinished_;
    MemoryTrace soak_;
};
