#include "ProcessTree.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

namespace {

qint64 parentOf(const QString& pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QString line = QString::fromLatin1(stat.readAll());
    // pid (comm) state ppid ...: comm may hold spaces, so read after the last ')'.
    const QStringList fields = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
    return fields.size() > 1 ? fields[1].toLongLong() : -1;
}

qint64 fieldKiB(const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression re(QStringLiteral("^%1:\\s+(\\d+) kB").arg(name), QRegularExpression::MultilineOption);
    const auto match = re.match(QString::fromLatin1(file.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

QString roleOf(qint64 pid, qint64 rootPid) {
    if (pid == rootPid)
        return QStringLiteral("application");
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray& arg : cmdline.readAll().split('\0')) {
        if (arg.startsWith("--type="))
            return QString::fromLatin1(arg.mid(7));
    }
    return QStringLiteral("helper");
}

}  // namespace

TreeMemory memoryOfTree(qint64 rootPid) {
    QMultiMap<qint64, qint64> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid)
            children.insert(parentOf(entry), pid);
    }
    TreeMemory total;
    QList<qint64> pending{rootPid};
    while (!pending.isEmpty()) {
        const qint64 pid = pending.takeFirst();
        ++total.processes;
        const qint64 resident = fieldKiB(QStringLiteral("/proc/%1/status").arg(pid), QStringLiteral("VmRSS"));
        total.each.append({pid, roleOf(pid, rootPid), resident});
        total.residentKiB += resident;
        total.proportionalKiB += fieldKiB(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), QStringLiteral("Pss"));
        pending += children.values(pid);
    }
    return total;
}
