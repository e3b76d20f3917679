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

// A table of figures against a baseline's (by default the bare view's), in Markdown, headed by
// what is measured.
void printHeader(const char* measured, const char* baseline = "bare view");
// One row: a figure against the bare view's, and their ratio; with samples, the median and the range.
void printRow(const char* what, const Samples& measured, const Samples& bare);
void printRow(const char* what, double measured, double bare);
