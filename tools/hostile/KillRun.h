#pragma once

#include "hostile/Stage.h"
#include "hostile/Tally.h"

#include <QList>
#include <QRandomGenerator>
#include <QRgb>

// Kills of the shared page process (SIGKILL) at random moments while two views are written,
// each followed by the screen: the content of each view's last successful write must come
// back on it, and no write the host was told failed may show. Then a page process that hangs
// (SIGSTOP): the views must come back from it.
class KillRun {
public:
    KillRun(quint32 seed, Tally& tally);

    void run(int kills);

private:
    void kill();
    void hang();
    // Writes a new colour into a view, as a body or into the body's element; whether the
    // call succeeded.
    bool write(int viewIndex);
    bool allShown(int timeoutMs);

    Tally& tally_;
    Stage stage_;
    QRandomGenerator random_;
    QRgb shown_[2] = {0, 0};      // the colour of each view's last successful write
    QList<QRgb> refused_[2];      // colours whose writes failed since
    QList<QRgb> earlier_[2];      // colours of successful writes before the last
};
