#pragma once

#include "hostile/HostileDocuments.h"
#include "hostile/Observers.h"
#include "hostile/Stage.h"
#include "hostile/Tally.h"

#include <lumetto/HtmlDataMapper.h>

#include <QPointer>
#include <QStandardItemModel>

// Hostile documents through every surface of two views, each write followed by its checks
// (script run, requests, files outside the base folder opened, navigations, windows, views
// lost, text shown wrong), with real clicks on what the page shows.
class DocumentRun {
public:
    DocumentRun(quint32 seed, Tally& tally);

    void run(int documents);

private:
    // Writes the document into view; the number of writes made.
    int write(const HostileDocument& d, lumetto::HtmlView* view);
    lumetto::HtmlElement hostElement(lumetto::HtmlView* view);
    void clickAround(lumetto::HtmlView* view);
    void check(const HostileDocument& d, int viewIndex);
    bool answers(lumetto::HtmlView* view) const;
    bool keepsContent(lumetto::HtmlView* view);
    bool showsText(lumetto::HtmlView* view, const QString& text) const;
    lumetto::HtmlView* fresh(int viewIndex);

    Tally& tally_;
    Observers observers_;
    Stage stage_;
    HostileDocuments documents_;
    QRandomGenerator random_;
    QStandardItemModel model_;
    QPointer<lumetto::HtmlDataMapper> mapper_;
    int requests_ = 0;
    int scriptRequests_ = 0;
    int byPath_ = 0;
    int byLink_ = 0;
    int windows_ = 0;
    int fileChoosers_ = 0;
};
