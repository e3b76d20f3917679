#include "Layout.h"

#include <QProcess>

#include <cstdio>

Layout Layout::probe(const QString& program) {
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(program);
    Layout layout;
    if (!probe.waitForFinished(120000) || probe.exitCode() != 0) {
        std::fprintf(stderr, "the layout probe failed\n");
        return layout;
    }
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 5)
            layout.boxes_.insert(QString::fromUtf8(words[0]),
                                 QRect(words[1].toInt(), words[2].toInt(), words[3].toInt(), words[4].toInt()));
    }
    return layout;
}
