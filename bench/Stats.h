#pragma once

#include <QList>

// Figures of several runs.
class Samples {
public:
    void add(double value) { values_.append(value); }
    void append(const Samples& more) { values_ += more.values_; }
    double median() const;
    double min() const;
    double max() const;
    double percentile(double p) const;

private:
    QList<double> sorted() const;
    QList<double> values_;
};

// One table row: the application's figure against the bare engine's, and their ratio; with
// samples, the median and the range.
void printRow(const char* what, const Samples& application, const Samples& bare);
void printRow(const char* what, double application, double bare);
