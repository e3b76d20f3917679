#pragma once

#include "hostile/Stage.h"
#include "hostile/Tally.h"

#include <QRandomGenerator>

#include <functional>

// Content that ends the page process whenever it is shown, and slots that misbehave when a
// real click reaches them: each must leave the views working.
class Misbehaviour {
public:
    Misbehaviour(quint32 seed, Tally& tally);

    // A body nested 10,000 deep into one view: the other keeps its content, the view takes
    // new content.
    void deadlyContent();
    // Slots that throw, open a modal dialog, write, read, kill the page process, spin an event
    // loop or delete the view, each called by a real click; after each, clicks still come and
    // the view (or the one put in place of a deleted one) answers.
    void misbehavingSlots();

private:
    // What fails when a view is written and clicked: empty when it takes the write and shows
    // it, and a real click on it reaches its slot.
    QString failure(int viewIndex);
    void slot(const QString& what, const std::function<void(lumetto::HtmlView*, const lumetto::HtmlElement&)>& misbehave);

    Tally& tally_;
    Stage stage_;
    QRandomGenerator random_;
};
