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

void printRow(const char* what, const Samples& application, const Samples& bare) {
    std::printf("| %-44s | app %7.1f [%.1f-%.1f] | bare view %7.1f [%.1f-%.1f] | ratio %.2f |\n", what,
                application.median(), application.min(), application.max(), bare.median(), bare.min(), bare.max(),
                application.median() / bare.median());
}

void printRow(const char* what, double application, double bare) {
    std::printf("| %-44s | app %7.1f | bare view %7.1f | ratio %.2f |\n", what, application, bare, application / bare);
}
