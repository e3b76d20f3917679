#pragma once

#include <QMap>
#include <QString>

// What a phase of the run counted, printed for the run that started it: "count NAME N" and
// "sample NAME VALUE" lines on standard output, and "finding KIND: WHAT" for each fault found
// (the first few of each kind).
class Tally {
public:
    void add(const QString& name, qint64 n = 1);
    void sample(const QString& name, double value);
    void finding(const QString& kind, const QString& what);
    qint64 count(const QString& name) const { return counts_.value(name); }

private:
    QMap<QString, qint64> counts_;
    QMap<QString, int> findings_;
};
