#pragma once

#include <QString>
#include <QVariant>

#include <ostream>

// Readable test failures and messages for Qt values.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QVariant& value, std::ostream* os) {
    *os << "QVariant(" << value.toString().toStdString() << ')';
}
