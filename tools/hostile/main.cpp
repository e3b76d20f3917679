// The hostile run: documents meant to break the control through every surface that writes
// content, real clicks on what it shows, kills and a hang of its page process, content that
// ends the page process, misbehaving slots and a soak; each count printed, the soak's memory
// read from outside. Anyone can rerun it: the same seed gives the same documents.
//
// hostile --seed N [--documents D] [--kills K] [--minutes M]
//
// Only loopback addresses are used: two HTTP servers of its own on 127.0.0.1 and 127.0.0.2
// count every request the content makes.
#include "hostile/DocumentRun.h"
#include "hostile/KillRun.h"
#include "hostile/Misbehaviour.h"
#include "hostile/Options.h"
#include "hostile/ShownChecks.h"
#include "hostile/Soak.h"
#include "hostile/WholeRun.h"

#include <QApplication>
#include <QLoggingCategory>

#include <cstdio>

namespace {

// One phase, in this process: the whole run starts a process for each.
int runPhase(const Options& options) {
    Tally tally;
    if (options.phase == QLatin1String("documents")) {
        {
            DocumentRun documents(options.seed, tally);
            documents.run(options.documents);
        }
        {
            ShownChecks shown(options.seed, tally);
            shown.newContentFromItsTop();
            shown.stylesFromTheirFolder();
        }
        Misbehaviour misbehaviour(options.seed, tally);
        misbehaviour.deadlyContent();
        misbehaviour.misbehavingSlots();
    } else if (options.phase == QLatin1String("kills")) {
        KillRun(options.seed, tally).run(options.kills);
    } else if (options.phase == QLatin1String("soak")) {
        Soak(options.seed, tally).run(options.minutes);
    } else {
        std::fprintf(stderr, "hostile: no phase %s\n", qPrintable(options.phase));
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Options options = Options::parse(arguments);
    if (!options.valid) {
        std::fprintf(stderr, "usage: hostile --seed N [--documents D] [--kills K] [--minutes M]\n");
        return 2;
    }
    if (options.phase.isEmpty()) {
        QCoreApplication app(argc, argv);
        return WholeRun(options).run();
    }
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    return runPhase(options);
}
