#pragma once

#include <QList>
#include <QString>

struct ProcessMemory {
    qint64 pid = 0;
    QString role;  // "application", or the engine helper's --type
    qint64 residentKiB = 0;
};

// Memory of a process together with every process it started (the engine's helpers).
struct TreeMemory {
    QList<ProcessMemory> each;
    int processes = 0;
    qint64 residentKiB = 0;      // sum of VmRSS: shared pages counted in each process
    qint64 proportionalKiB = 0;  // sum of Pss: shared pages divided among their sharers
};

TreeMemory memoryOfTree(qint64 rootPid);
