#include "hostile/WholeRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// How often the soak's memory is read: often enough for a slope over half of a short soak.
int memoryIntervalMs(double minutes) {
    return std::clamp(int(minutes * 60000 / 120), 1000, 10000);
}

double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

WholeRun::WholeRun(const Options& options) : options_(options) {}

int WholeRun::run() {
    std::printf("hostile run, seed %u: %d documents, %d kills, a soak of %g minutes\n", options_.seed, options_.documents,
                options_.kills, options_.minutes);
    // Generous bounds: a loaded 2-core machine is several times slower than an idle one.
    if (options_.documents > 0)
        phase(QStringLiteral("documents"), {}, 600 + options_.documents * 3);
    if (options_.kills > 0)
        kills();
    if (options_.minutes > 0)
        phase(QStringLiteral("soak"), {}, int(options_.minutes * 60) + 600);
    printTable();
    return unfinished_.isEmpty() ? 0 : 1;
}

// Half of the kills with the GPU, half with software rendering (--disable-gpu), each in a
// process of its own: the engine's flags hold for a process.
void WholeRun::kills() {
    const int half = options_.kills / 2;
    Options gpu = options_;
    gpu.kills = options_.kills - half;
    std::swap(options_, gpu);
    phase(QStringLiteral("kills"), {}, 300 + options_.kills * 20);
    std::swap(options_, gpu);
    Options software = options_;
    software.kills = half;
    software.seed = options_.seed + 1;
    std::swap(options_, software);
    phase(QStringLiteral("kills"), QByteArrayLiteral("--disable-gpu"), 300 + options_.kills * 20, QStringLiteral("disable-gpu "));
    std::swap(options_, software);
}

bool WholeRun::phase(const QString& name, const QByteArray& engineFlags, int boundSeconds, const QString& prefix) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    if (!engineFlags.isEmpty()) {
        QProcessEnvironment environment = child.processEnvironment();
        environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                           environment.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")) + QLatin1Char(' ') + QString::fromLatin1(engineFlags));
        child.setProcessEnvironment(environment);
    }
    QByteArray pending;
    QObject::connect(&child, &QProcess::readyReadStandardOutput, [&] {
        pending += child.readAllStandardOutput();
        for (int end; (end = pending.indexOf('\n')) >= 0;) {
            take(QString::fromUtf8(pending.left(end)), prefix);
            pending.remove(0, end + 1);
        }
    });
    QElapsedTimer clock;
    QTimer memory;
    const bool soak = name == QLatin1String("soak");
    QObject::connect(&memory, &QTimer::timeout, [&] { soak_.read(child.processId(), clock.elapsed() / 1000.0); });
    std::printf("phase %s%s ...\n", qPrintable(prefix), qPrintable(name));
    std::fflush(stdout);
    child.start(QCoreApplication::applicationFilePath(), options_.forPhase(name));
    clock.start();
    if (soak)
        memory.start(memoryIntervalMs(options_.minutes));
    const bool ended = child.waitForStarted() && [&] {
        QEventLoop loop;
        QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(boundSeconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        return child.state() == QProcess::NotRunning;
    }();
    memory.stop();
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    const bool clean = ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (!clean) {
        unfinished_ << prefix + name;
        std::printf("phase %s%s did not end by itself: %s\n", qPrintable(prefix), qPrintable(name),
                    ended ? qPrintable(QStringLiteral("status %1").arg(child.exitCode())) : "stopped after its bound");
        std::fputs(child.readAllStandardError().right(2000).constData(), stdout);
    }
    std::printf("phase %s%s: %.0f s\n", qPrintable(prefix), qPrintable(name), clock.elapsed() / 1000.0);
    std::fflush(stdout);
    return clean;
}

void WholeRun::take(const QString& line, const QString& prefix) {
    const QStringList words = line.split(QLatin1Char(' '));
    if (words.size() >= 3 && words[0] == QLatin1String("count")) {
        const QString name = QString(words[1]).replace(QLatin1Char('_'), QLatin1Char(' '));
        counts_[name] += words[2].toLongLong();
        if (!prefix.isEmpty())
            counts_[prefix + name] += words[2].toLongLong();
        if (name == QLatin1String("documents") && count(name) % 100 == 0) {
            std::printf("  %lld documents\n", count(name));
            std::fflush(stdout);
        }
    } else if (words.size() >= 3 && words[0] == QLatin1String("sample") && words[1] == QLatin1String("page_process")) {
        soak_.setPageProcess(words[2].toDouble());
    } else if (words.size() >= 3 && words[0] == QLatin1String("sample")) {
        samples_[words[1]] << words[2].toDouble();
    } else if (!line.isEmpty()) {
        std::printf("  %s%s\n", qPrintable(prefix), qPrintable(line));
        std::fflush(stdout);
    }
}

void WholeRun::printTable() const {
    const auto row = [](const char* what, const QString& value) { std::printf("| %-58s | %s |\n", what, qPrintable(value)); };
    const auto n = [this](const char* name) { return QString::number(count(QString::fromLatin1(name))); };
    std::printf("\n| count | seed %u |\n|---|---|\n", options_.seed);
    row("documents, through every writing surface", n("documents"));
    row("write-and-check steps", n("steps"));
    row("writes refused (reported to the caller)", n("writes refused"));
    row("real clicks on what the page shows", n("clicks"));
    row("scripts run", n("scripts run"));
    row("requests reaching the loopback servers", n("requests"));
    row("outside files opened by path", n("outside files opened by path"));
    row("outside files opened through a link", n("outside files opened by link"));
    row("navigations (a page leaving its shell)", n("navigations"));
    row("windows opened", n("windows opened"));
    row("file choosers, for a click on a file field (closed)", n("file choosers"));
    row("views lost (calls failing for 20 s)", n("views lost"));
    row("documents shown wrong (decoded, scrolled or from another folder)", n("documents shown wrong"));
    row("kills of the page process", QStringLiteral("%1 (%2 with --disable-gpu)").arg(n("kills"), n("disable-gpu kills")));
    row("kills right on the screen", QStringLiteral("%1 (%2 with --disable-gpu)").arg(n("kills back"), n("disable-gpu kills back")));
    row("kill to the content's pixels back, median", QStringLiteral("%1 s").arg(median(samples_.value(QStringLiteral("kill_back_s"))), 0, 'f', 2));
    row("writes lost (and failed writes shown)", QStringLiteral("%1 (%2)").arg(n("writes lost"), n("failed writes shown")));
    row("hung page process: views back", QStringLiteral("%1 of %2").arg(n("hangs survived"), n("hangs")));
    row("deadly content (nesting 10,000 deep) contained", QStringLiteral("%1 of %2").arg(n("deadly contained"), n("deadly")));
    row("misbehaving slots survived", QStringLiteral("%1 of %2").arg(n("slots survived"), n("slots")));
    row("elements of a view deleted in its slot that are not null", n("elements of destroyed views not null"));
    row("soak operations (errors)", QStringLiteral("%1 (%2)").arg(n("soak operations"), n("soak errors")));
    if (!soak_.isEmpty()) {
        row("soak: resident memory of the process tree at 0, 1/4, 1/2, 3/4, end",
            QStringLiteral("%1, %2, %3, %4, %5 MiB").arg(soak_.mibAt(0), 0, 'f', 0).arg(soak_.mibAt(0.25), 0, 'f', 0)
                .arg(soak_.mibAt(0.5), 0, 'f', 0).arg(soak_.mibAt(0.75), 0, 'f', 0).arg(soak_.mibAt(1), 0, 'f', 0));
        row("soak: its slope in each quarter, MiB/h",
            QStringLiteral("%1, %2, %3, %4").arg(soak_.slopeMiBPerHour(0, 0.25), 0, 'f', 0).arg(soak_.slopeMiBPerHour(0.25, 0.5), 0, 'f', 0)
                .arg(soak_.slopeMiBPerHour(0.5, 0.75), 0, 'f', 0).arg(soak_.slopeMiBPerHour(0.75, 1), 0, 'f', 0));
        row("soak: its slope over the second half", QStringLiteral("%1 MiB/h").arg(soak_.slopeMiBPerHour(0.5), 0, 'f', 0));
        const auto along = [this](const char* name) {
            const QList<double> values = samples_.value(QString::fromLatin1(name));
            return values.isEmpty() ? QString()
                                    : QStringLiteral("%1, %2, %3").arg(values.first(), 0, 'f', 0).arg(values[values.size() / 2], 0, 'f', 0)
                                          .arg(values.last(), 0, 'f', 0);
        };
        row("soak: elements the pages keep for the host, first, middle, last", along("handles"));
        row("soak: the page's script heap in use, MiB, first, middle, last", along("script_heap_mib"));
        const QMap<QString, double> roles = soak_.rolesAtEnd();
        for (auto it = roles.begin(); it != roles.end(); ++it)
            std::printf("| soak: %-52s | %.0f MiB at the end, %.0f MiB/h over the second half |\n", qPrintable(it.key()), it.value(),
                        soak_.slopeMiBPerHour(0.5, 1, it.key()));
    }
    if (!unfinished_.isEmpty())
        std::printf("phases that did not end by themselves: %s\n", qPrintable(unfinished_.join(QStringLiteral(", "))));
}
