#include "hostile/Options.h"

Options Options::parse(const QStringList& arguments) {
    Options o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        const QString value = arguments.value(i + 1);
        bool ok = i + 1 < arguments.size();
        if (name == QLatin1String("--seed"))
            o.seed = value.toUInt(&ok);
        else if (name == QLatin1String("--documents"))
            o.documents = value.toInt(&ok);
        else if (name == QLatin1String("--kills"))
            o.kills = value.toInt(&ok);
        else if (name == QLatin1String("--minutes"))
            o.minutes = value.toDouble(&ok);
        else if (name == QLatin1String("--phase"))
            o.phase = value;
        else
            ok = false;
        o.valid = o.valid && ok;
        ++i;
    }
    o.valid = o.valid && o.documents >= 0 && o.kills >= 0 && o.minutes >= 0;
    return o;
}

QStringList Options::forPhase(const QString& phase) const {
    return {QStringLiteral("--seed"), QString::number(seed), QStringLiteral("--documents"), QString::number(documents),
            QStringLiteral("--kills"), QString::number(kills), QStringLiteral("--minutes"), QString::number(minutes),
            QStringLiteral("--phase"), phase};
}
