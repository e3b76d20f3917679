#pragma once

#include "hostile/Stage.h"
#include "hostile/Tally.h"

#include <lumetto/HtmlDataMapper.h>

#include <QRandomGenerator>
#include <QStandardItemModel>

// Mixed operations on four views for a while, one of them bound to a model of 1,000 rows:
// writes of bodies, inner HTML, style and style rules, reads of elements and the source, model
// changes, moves of the current row and real clicks. Its memory is read from outside.
class Soak {
public:
    Soak(quint32 seed, Tally& tally);

    void run(double minutes);

private:
    // One operation chosen at random; whether it succeeded.
    bool operation();
    lumetto::HtmlElement anyElement(lumetto::HtmlView* view, lumetto::HtmlError* error);
    QString someBody();
    void samplePages();

    Tally& tally_;
    Stage stage_;
    QRandomGenerator random_;
    QStandardItemModel model_;
    lumetto::HtmlDataMapper* mapper_;
    int serial_ = 0;
};
