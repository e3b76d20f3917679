#include "hostile/Tally.h"

#include <cstdio>

namespace {

// Findings of one kind past this many are counted, not listed.
constexpr int ListedFindings = 6;

}  // namespace

void Tally::add(const QString& name, qint64 n) {
    counts_[name] += n;
    std::printf("count %s %lld\n", qPrintable(QString(name).replace(QLatin1Char(' '), QLatin1Char('_'))), static_cast<long long>(n));
    std::fflush(stdout);
}

void Tally::sample(const QString& name, double value) {
    std::printf("sample %s %.3f\n", qPrintable(name), value);
    std::fflush(stdout);
}

void Tally::finding(const QString& kind, const QString& what) {
    if (++findings_[kind] > ListedFindings)
        return;
    std::printf("finding %s: %s\n", qPrintable(kind), qPrintable(QString(what).replace(QLatin1Char('\n'), QLatin1Char(' ')).left(160)));
    std::fflush(stdout);
}
