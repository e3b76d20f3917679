#pragma once

#include <QMap>
#include <QRect>
#include <QString>

// Where things are, as the layout probe printed them: the views in Form1's window ("page",
// "mirror") and elements in the page ("logo", "item1", "item2", "submit").
class Layout {
public:
    // Runs the probe; empty, with the reason on the error output, when it failed.
    static Layout probe(const QString& program);

    bool isEmpty() const { return boxes_.isEmpty(); }
    QRect operator[](const char* name) const { return boxes_.value(QLatin1String(name)); }

private:
    QMap<QString, QRect> boxes_;
};
