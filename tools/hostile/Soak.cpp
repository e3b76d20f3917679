#include "hostile/Soak.h"

#include "driving/PageScript.h"
#include "driving/ViewFailure.h"

#include <QElapsedTimer>

using lumetto::HtmlElement;
using lumetto::HtmlError;
using lumetto::HtmlView;

namespace {

constexpr int Rows = 1000;
constexpr int BoundView = 3;
// Counts are printed in batches, so that printing costs the soak nothing.
constexpr int Batch = 200;

const QString Template = QStringLiteral(
    "<h3 data-column='Name'></h3><input data-column='Price'>"
    "<ul><li data-repeat style='content-visibility:auto;contain-intrinsic-size:auto 20px'>"
    "<b data-column='Name'></b> <i data-column='Price'></i> <span data-column='Note'></span></li></ul>");

}  // namespace

Soak::Soak(quint32 seed, Tally& tally) : tally_(tally), stage_(4, Stage::Place::Lower), random_(seed), model_(Rows, 3) {
    model_.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Price"), QStringLiteral("Note")});
    for (int row = 0; row < Rows; ++row) {
        model_.setData(model_.index(row, 0), QStringLiteral("Item %1").arg(row));
        model_.setData(model_.index(row, 1), row * 0.25);
        model_.setData(model_.index(row, 2), QStringLiteral("note <%1> & more").arg(row));
    }
    mapper_ = new lumetto::HtmlDataMapper(stage_.view(BoundView));
    mapper_->setView(stage_.view(BoundView));
    mapper_->setModel(&model_);
    mapper_->setTemplateHtml(Template);
}

void Soak::run(double minutes) {
    QElapsedTimer clock;
    clock.start();
    int operations = 0;
    int errors = 0;
    tally_.sample(QStringLiteral("page_process"), double(Stage::pageProcess(stage_.view(0))));
    while (clock.elapsed() < minutes * 60000) {
        ++operations;
        errors += !operation();
        if (operations % Batch == 0) {
            tally_.sample(QStringLiteral("page_process"), double(Stage::pageProcess(stage_.view(0))));
            samplePages();
            tally_.add(QStringLiteral("soak operations"), Batch);
            tally_.add(QStringLiteral("soak errors"), errors);
            errors = 0;
        }
    }
    tally_.add(QStringLiteral("soak operations"), operations % Batch);
    tally_.add(QStringLiteral("soak errors"), errors);
}

// What the pages hold, for the memory's account: the elements kept for the host (the control's
// own count, as its memory benchmark reads it) and the page's script heap in use.
void Soak::samplePages() {
    int handles = 0;
    for (int i = 0; i < stage_.size(); ++i)
        handles += evaluateInPage(Stage::engineView(stage_.view(i)), QStringLiteral("window.__lumetto.call('handleCount', []).value")).toInt();
    tally_.sample(QStringLiteral("handles"), handles);
    const QVariant heap = evaluateInPage(Stage::engineView(stage_.view(0)), QStringLiteral("performance.memory.usedJSHeapSize"));
    tally_.sample(QStringLiteral("script_heap_mib"), heap.toDouble() / (1024 * 1024));
}

QString Soak::someBody() {
    ++serial_;
    switch (random_.bounded(3)) {
    case 0: return QStringLiteral("<p id='p%1'>paragraph %1 <b>bold</b></p>").repeated(1 + int(random_.bounded(50))).arg(serial_);
    case 1: {
        QString table = QStringLiteral("<table id='t%1'>").arg(serial_);
        for (int row = 0; row < 1 + int(random_.bounded(40)); ++row)
            table += QStringLiteral("<tr><td>%1</td><td style='color:blue'>cell</td><td><a href='#'>link</a></td></tr>").arg(row);
        return table + QStringLiteral("</table>");
    }
    default:
        return QStringLiteral("<form id='f%1'><input name='a' value='%1'><textarea>text</textarea>"
                              "<select><option>one<option selected>two</select><input type='checkbox' checked></form>")
            .arg(serial_);
    }
}

HtmlElement Soak::anyElement(HtmlView* view, HtmlError* error) {
    const QList<HtmlElement> all = view->document().elements(error);
    return all.isEmpty() ? HtmlElement() : all[int(random_.bounded(all.size()))];
}

bool Soak::operation() {
    HtmlError error;
    HtmlView* view = stage_.view(int(random_.bounded(3)));
    switch (random_.bounded(11)) {
    case 0: error = failureOf(*view, [&] { view->setBodyHtml(someBody()); }); break;
    case 1: view->document().body(&error).setInnerHtml(someBody(), &error); break;
    case 2: {
        const HtmlElement element = anyElement(view, &error);
        element.id(&error);
        element.attribute(QStringLiteral("style"), &error);
        break;
    }
    case 3: {
        HtmlElement element = anyElement(view, &error);
        if (random_.bounded(2))
            element.setStyleProperty(QStringLiteral("color"), QStringLiteral("rgb(%1,0,0)").arg(random_.bounded(256)), &error);
        else
            element.setBackgroundColor(QColor::fromRgb(random_.generate()), &error);
        element.backgroundColor(&error);
        break;
    }
    case 4:
        error = failureOf(*view, [&] {
            view->setCssText(QStringLiteral("p { margin: %1px } td { padding: %2px }").arg(random_.bounded(9)).arg(random_.bounded(9)));
        });
        break;
    case 5:
        model_.setData(model_.index(int(random_.bounded(Rows)), int(random_.bounded(2)) * 2), QStringLiteral("changed %1").arg(++serial_));
        break;
    case 6: mapper_->setCurrentIndex(int(random_.bounded(Rows))); break;
    case 7: {
        const int row = int(random_.bounded(Rows));
        model_.insertRow(row);
        model_.setData(model_.index(row, 0), QStringLiteral("inserted %1").arg(++serial_));
        model_.removeRow(int(random_.bounded(Rows + 1)));
        break;
    }
    case 8: stage_.view(int(random_.bounded(4)))->document().source(&error); break;
    case 9: stage_.click(stage_.view(int(random_.bounded(4))), QPoint(5 + int(random_.bounded(Stage::ViewWidth - 10)), 5 + int(random_.bounded(Stage::ViewHeight - 10)))); break;
    default: stage_.view(BoundView)->document().body(&error).innerHtml(&error); break;
    }
    return !error.isValid();
}
