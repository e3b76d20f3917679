#include "hostile/MemoryTrace.h"

#include "bench/ProcessTree.h"

#include <algorithm>
#include <cmath>

void MemoryTrace::read(qint64 rootPid, double seconds) {
    const TreeMemory tree = memoryOfTree(rootPid);
    Sample sample{seconds, tree.residentKiB / 1024.0, {}};
    for (const ProcessMemory& process : tree.each)
        sample.roleMiB[process.pid == pageProcess_ ? QStringLiteral("page process") : process.role] += process.residentKiB / 1024.0;
    samples_ << sample;
}

double MemoryTrace::secondsAt(double fraction) const {
    return samples_.first().seconds + (samples_.last().seconds - samples_.first().seconds) * fraction;
}

double MemoryTrace::mibAt(double fraction) const {
    if (samples_.isEmpty())
        return 0;
    const double at = secondsAt(fraction);
    const auto nearest = std::min_element(samples_.begin(), samples_.end(), [at](const Sample& a, const Sample& b) {
        return std::abs(a.seconds - at) < std::abs(b.seconds - at);
    });
    return nearest->totalMiB;
}

double MemoryTrace::slopeMiBPerHour(double fromFraction, double toFraction, const QString& role) const {
    if (samples_.size() < 3)
        return 0;
    const double from = secondsAt(fromFraction);
    const double to = secondsAt(toFraction);
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample& s : samples_) {
        if (s.seconds < from || s.seconds > to)
            continue;
        const double x = s.seconds / 3600.0;
        const double y = role.isEmpty() ? s.totalMiB : s.roleMiB.value(role);
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double spread = n * sxx - sx * sx;
    return n < 2 || spread == 0 ? 0 : (n * sxy - sx * sy) / spread;
}

QMap<QString, double> MemoryTrace::rolesAtEnd() const {
    return samples_.isEmpty() ? QMap<QString, double>() : samples_.last().roleMiB;
}
