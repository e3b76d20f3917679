#include "hostile/KillRun.h"

#include "hostile/Swatch.h"

#include "driving/ViewFailure.h"
#include "driving/Wait.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>

using lumetto::HtmlError;

namespace {

// A page process restarts and draws in well under a second on an idle machine; a loaded
// one takes several.
constexpr int BackWithinMs = 30000;
// The moment of a kill after the writes begin, at random below this.
constexpr int KillWithinMs = 600;
constexpr int WritesAfterKill = 2;
constexpr int MostWritesPerKill = 24;
constexpr int HangRetryMs = 500;

}  // namespace

KillRun::KillRun(quint32 seed, Tally& tally) : tally_(tally), stage_(2), random_(seed) {}

void KillRun::run(int kills) {
    for (int i = 0; i < 2; ++i)
        for (int attempt = 0; attempt < 10 && !write(i); ++attempt)
            QTest::qWait(500);
    allShown(BackWithinMs);
    for (int k = 0; k < kills; ++k)
        kill();
    hang();
}

bool KillRun::write(int i) {
    lumetto::HtmlView* view = stage_.view(i);
    const QRgb colour = swatch::next(random_, shown_[i]);
    HtmlError error;
    if (random_.bounded(2)) {
        error = failureOf(*view, [&] { view->setBodyHtml(swatch::body(colour)); });
    } else {
        lumetto::HtmlElement body = view->document().body(&error);
        body.setInnerHtml(swatch::body(colour), &error);
    }
    tally_.add(QStringLiteral("steps"));
    if (error.isValid()) {
        refused_[i] << colour;
        return false;
    }
    if (shown_[i])
        earlier_[i] << shown_[i];
    shown_[i] = colour;
    return true;
}

bool KillRun::allShown(int timeoutMs) {
    return waitFor([&] {
        return swatch::same(stage_.pixel(stage_.view(0), swatch::centre()), shown_[0]) &&
               swatch::same(stage_.pixel(stage_.view(1), swatch::centre()), shown_[1]);
    }, timeoutMs);
}

void KillRun::kill() {
    for (int i = 0; i < 2; ++i) {
        refused_[i].clear();
        earlier_[i].clear();
    }
    const qint64 pid = Stage::pageProcess(stage_.view(0));
    QElapsedTimer sinceKill;
    QTimer::singleShot(int(random_.bounded(KillWithinMs)), [&] {
        ::kill(pid_t(pid), SIGKILL);
        sinceKill.start();
    });
    int afterKill = 0;
    for (int writes = 0; writes < MostWritesPerKill && afterKill < WritesAfterKill; ++writes) {
        write(int(random_.bounded(2)));
        afterKill += sinceKill.isValid();
        QTest::qWait(int(random_.bounded(60)));  // writes at random moments around the kill
    }
    waitFor([&] { return sinceKill.isValid(); }, KillWithinMs);
    tally_.add(QStringLiteral("kills"));
    const bool back = waitFor([&] { return Stage::pageProcess(stage_.view(0)) != pid; }, BackWithinMs) && allShown(BackWithinMs);
    if (back) {
        tally_.add(QStringLiteral("kills back"));
        tally_.sample(QStringLiteral("kill_back_s"), sinceKill.elapsed() / 1000.0);
        return;
    }
    for (int i = 0; i < 2; ++i) {
        const QRgb seen = stage_.pixel(stage_.view(i), swatch::centre());
        const auto among = [&](const QList<QRgb>& colours) {
            return std::any_of(colours.begin(), colours.end(), [&](QRgb c) { return swatch::same(c, seen); });
        };
        if (among(earlier_[i])) {
            tally_.add(QStringLiteral("writes lost"));
            tally_.finding(QStringLiteral("write lost"), QStringLiteral("view %1 shows an earlier write after a kill").arg(i));
        } else if (among(refused_[i])) {
            tally_.add(QStringLiteral("failed writes shown"));
            tally_.finding(QStringLiteral("failed write shown"), QStringLiteral("view %1 shows a write that failed").arg(i));
        } else if (!swatch::same(seen, shown_[i])) {
            tally_.finding(QStringLiteral("not back on the screen"),
                           QStringLiteral("view %1 shows #%2 30 s after a kill").arg(i).arg(seen & 0xffffff, 6, 16, QLatin1Char('0')));
        }
    }
    // The next kill starts from content on the screen.
    for (int i = 0; i < 2; ++i)
        write(i);
    allShown(BackWithinMs);
}

void KillRun::hang() {
    const qint64 pid = Stage::pageProcess(stage_.view(0));
    ::kill(pid_t(pid), SIGSTOP);
    tally_.add(QStringLiteral("hangs"));
    // A view is back once a write to it succeeds and shows.
    bool back[2] = {false, false};
    QElapsedTimer clock;
    clock.start();
    while (!(back[0] && back[1]) && clock.elapsed() < BackWithinMs * 2) {
        for (int i = 0; i < 2; ++i)
            back[i] = back[i] || (write(i) && swatch::waitShown(stage_, stage_.view(i), shown_[i], 2000));
        QTest::qWait(HangRetryMs);  // a frozen view fails its calls at once: a try every so often
    }
    if (back[0] && back[1]) {
        tally_.add(QStringLiteral("hangs survived"));
    } else {
        tally_.finding(QStringLiteral("hung page process"), QStringLiteral("views still frozen %1 s after their page process hung").arg(clock.elapsed() / 1000));
    }
    ::kill(pid_t(pid), SIGKILL);  // a hung process that was not replaced: the run ends with it
    ::kill(pid_t(pid), SIGCONT);
}
