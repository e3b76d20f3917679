#pragma once

#include <QList>

// Memory of a process together with every process it started (the engine's helpers).
struct TreeMemory {
    int processes = 0;
    qint64 residentKiB = 0;      // sum of VmRSS: shared pages counted in each process
    qint64 proportionalKiB = 0;  // sum of Pss: shared pages divided among their sharers
};

TreeMemory memoryOfTree(qint64 rootPid);
