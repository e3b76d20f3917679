#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

QList<double> Samples::sorted() const {
    QList<double> v = values_;
    std::sort(v.begin(), v.end());
    return v;
}

double Samples::percentile(double p) const {
    const QList<double> v = sorted();
    if (v.isEmpty())
        return NAN;
    const auto index = static_cast<qsizetype>(std::ceil(p / 100.0 * v.size())) - 1;
    return v.at(std::clamp<qsizetype>(index, 0, v.size() - 1));
}

double Samples::median() const {
    const QList<double> v = sorted();
    if (v.isEmpty())
        return NAN;
    const auto n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Samples::min() const { return sorted().value(0, NAN); }
double Samples::max() const { return sorted().value(values_.size() - 1, NAN); }

void printHeader(const char* measured, const char* baseline) {
    std::printf("\n| %-62s | %-22s | %-22s | ratio |\n|---|---|---|---|\n", "benchmark", measured, baseline);
}

void printRow(const char* what, const Samples& measured, const Samples& bare) {
    std::printf("| %-62s | %7.1f [%.1f-%.1f] | %7.1f [%.1f-%.1f] | %.2f |\n", what, measured.median(), measured.min(),
                measured.max(), bare.median(), bare.min(), bare.max(), measured.median() / bare.median());
}

void printRow(const char* what, double measured, double bare) {
    std::printf("| %-62s | %22.1f | %22.1f | %.2f |\n", what, measured, bare, measured / bare);
}
