#pragma once

#include "hostile/Places.h"
#include "hostile/Stage.h"
#include "hostile/Tally.h"

#include <QRandomGenerator>

// What the screen must show after content replaced other content: new content from its top,
// however far the content before was scrolled; the frames of a file shown with setSource from
// that file's folder, not from the folder of a file shown before.
class ShownChecks {
public:
    ShownChecks(quint32 seed, Tally& tally);

    void newContentFromItsTop();
    void stylesFromTheirFolder();

private:
    // A body taller than the view: a band of one colour at its top, then another colour.
    static QString tallBody(QRgb top, QRgb rest);

    Tally& tally_;
    Places places_;
    Stage stage_;
    QRandomGenerator random_;
};
