#include <lumetto/HtmlDataMapper.h>

#include <lumetto/HtmlView.h>

#include "engine/BoundValues.h"
#include "engine/HtmlViewPrivate.h"
#include "engine/ModelStorage.h"
#include "engine/PageFailure.h"
#include "engine/SlotGuard.h"
#include "engine/TemplateMarks.h"

#include <QAbstractItemModel>
#include <QJsonObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

namespace lumetto {

// The binding's host side. The page keeps the bound elements and fills them with the values it
// is sent; each change of the model is sent as the page operation that brings the page up to
// date in place (control.js: bind, setCurrent, updateRows, insertRows, removeRows, setRows),
// posted without a wait, since its outcome is known. While the page is not there to take them
// (loading, or its process ended) nothing is posted: the whole binding comes with the next page
// as its last step (HtmlView::Private::boundSteps).
class HtmlDataMapper::Private {
public:
    // A value the user entered in a bound field.
    struct Edit {
        QPersistentModelIndex index;
        QString column;
        QVariant value;
    };

    Private(HtmlDataMapper* q, HtmlView* view) : q(q), view(view), host(view->d.get()) {}

    // The model column of each name, or -1.
    QList<int> columnsOf(const QAbstractItemModel* of, const QStringList& names) const;
    void checkColumns(const QAbstractItemModel* of, const QStringList& names, const char* call) const;
    void connectModel();
    int rowCount() const { return model ? model->rowCount() : 0; }
    QJsonArray rowValues(int row) const;
    QJsonArray rowsValues(int first, int last) const;
    QJsonObject bindingState() const;
    bool bound() const { return !templ.isEmpty() && host->binder == q; }
    void post(const QString& op, const QJsonArray& args) const;
    void unbind();
    // The current row after the model changed: the same record, else the same place.
    void followCurrent();
    void showCurrent();
    // The user entered value in the field of column in row; committed when they left the field
    // or pressed Enter, or clicked a checkbox or radio button.
    void edited(int row, const QString& column, const QJsonValue& value, bool committed);
    // What the model is handed for value entered in the field of index.
    QVariant modelValue(const QModelIndex& index, const QJsonValue& value) const;
    // Marks the fields of edits the model refused, shows the model's values in them, and says so.
    void refused(const std::vector<Edit>& edits, const QString& reason);
    // Forgets the user's edits and refusals: the fields show the model's values again.
    void settle();

    HtmlDataMapper* q;
    HtmlView* view;
    HtmlView::Private* host;
    QPointer<QAbstractItemModel> model;
    std::vector<QMetaObject::Connection> modelConnections;
    QString templ;
    QStringList names;  // the columns the template names, in the order the page takes values
    QList<int> columns;
    QPersistentModelIndex current;
    int currentRow = -1;
    SubmitPolicy policy = AutoSubmit;
    bool emptyIsNull = false;
    std::vector<Edit> pending;  // not yet submitted, in the order made; the page shows them
    std::vector<Edit> handed;   // handed to the model and not yet stored, which it may yet refuse to store
    std::vector<QPersistentModelIndex> refusals;  // cells whose fields are marked refused
};

namespace {

// Drops the edit of index, if any.
template <typename Edits>
void dropEdit(Edits& edits, const QModelIndex& index) {
    edits.erase(std::remove_if(edits.begin(), edits.end(), [&](const auto& e) { return e.index == index; }), edits.end());
}

}  // namespace

QList<int> HtmlDataMapper::Private::columnsOf(const QAbstractItemModel* of, const QStringList& wanted) const {
    QList<int> found(wanted.size(), -1);
    const int count = of ? of->columnCount() : 0;
    for (int column = count - 1; column >= 0; --column) {
        const qsizetype at = wanted.indexOf(of->headerData(column, Qt::Horizontal).toString());
        if (at >= 0)
            found[at] = column;  // the first column of a header text wins
    }
    // "#2" names the column by its number, whatever its header says.
    static const QRegularExpression number(QStringLiteral("^#(0|[1-9][0-9]{0,8})$"));
    for (qsizetype at = 0; at < wanted.size(); ++at)
        if (const QRegularExpressionMatch m = number.match(wanted.at(at)); m.hasMatch())
            found[at] = m.captured(1).toInt() < count ? m.captured(1).toInt() : -1;
    return found;
}

void HtmlDataMapper::Private::checkColumns(const QAbstractItemModel* of, const QStringList& wanted, const char* call) const {
    if (!of)
        return;
    const QList<int> found = columnsOf(of, wanted);
    if (const qsizetype missing = found.indexOf(-1); missing >= 0)
        throw PageFailure{HtmlError(HtmlError::NoSuchColumn,
                                    QStringLiteral("the model has no column \"%1\"").arg(wanted.at(missing)),
                                    QString::fromLatin1(call))};
}

QJsonArray HtmlDataMapper::Private::rowValues(int row) const {
    QJsonArray values;
    const QLocale locale = view->locale();
    for (int column : columns) {
        const QModelIndex index = model->index(row, column);
        const auto edit = std::find_if(pending.begin(), pending.end(), [&](const Edit& e) { return e.index == index; });
        CellValues cell{model->data(index, Qt::DisplayRole), model->data(index, Qt::EditRole),
                        model->flags(index).testFlag(Qt::ItemIsEditable),
                        std::find(refusals.begin(), refusals.end(), index) != refusals.end()};
        if (edit != pending.end()) {
            cell.display = cell.edit = edit->value;
            cell.pending = true;
        }
        values.append(boundCell(cell, locale));
    }
    return values;
}

QJsonArray HtmlDataMapper::Private::rowsValues(int first, int last) const {
    QJsonArray rows;
    for (int row = first; row <= last; ++row)
        rows.append(rowValues(row));
    return rows;
}

QJsonObject HtmlDataMapper::Private::bindingState() const {
    return {{QStringLiteral("columns"), QJsonArray::fromStringList(names)},
            {QStringLiteral("rows"), rowsValues(0, rowCount() - 1)},
            {QStringLiteral("current"), currentRow}};
}

void HtmlDataMapper::Private::post(const QString& op, const QJsonArray& args) const {
    if (bound() && host->calls->ready())
        host->calls->post(op, args);
}

void HtmlDataMapper::Private::unbind() {
    templ.clear();
    names.clear();
    columns.clear();
    if (host->binder == q) {
        host->binder = nullptr;
        host->boundSteps = nullptr;
    }
}

void HtmlDataMapper::Private::connectModel() {
    for (const auto& connection : modelConnections)
        QObject::disconnect(connection);
    modelConnections.clear();
    if (!model)
        return;
    const auto on = [this](auto signal, auto slot) { modelConnections.push_back(QObject::connect(model, signal, q, slot)); };
    const auto resend = [this] {
        columns = columnsOf(model, names);
        pending.clear();
        handed.clear();
        refusals.clear();
        post(QStringLiteral("setRows"), {QJsonValue(rowsValues(0, rowCount() - 1))});
        followCurrent();
    };
    on(&QAbstractItemModel::dataChanged, [this](const QModelIndex& from, const QModelIndex& to) {
        if (!from.parent().isValid())
            post(QStringLiteral("updateRows"), {from.row(), rowsValues(from.row(), to.row())});
    });
    on(&QAbstractItemModel::rowsInserted, [this](const QModelIndex& parent, int first, int last) {
        if (parent.isValid())
            return;
        post(QStringLiteral("insertRows"), {first, rowsValues(first, last)});
        followCurrent();
    });
    on(&QAbstractItemModel::rowsRemoved, [this](const QModelIndex& parent, int first, int last) {
        if (parent.isValid())
            return;
        post(QStringLiteral("removeRows"), {first, last - first + 1});
        followCurrent();
    });
    on(&QAbstractItemModel::rowsMoved, resend);
    on(&QAbstractItemModel::layoutChanged, resend);
    on(&QAbstractItemModel::modelReset, resend);
    on(&QAbstractItemModel::headerDataChanged, [resend](Qt::Orientation orientation) {
        if (orientation == Qt::Horizontal)
            resend();
    });
    on(&QObject::destroyed, [this] {
        columns.fill(-1);
        pending.clear();
        handed.clear();
        refusals.clear();
        post(QStringLiteral("setRows"), {QJsonValue(QJsonArray())});
        followCurrent();
    });
}

void HtmlDataMapper::Private::followCurrent() {
    const int rows = rowCount();
    int row = current.isValid() ? current.row() : std::min(currentRow, rows - 1);
    if (row < 0 && rows > 0)
        row = 0;
    current = row >= 0 ? model->index(row, 0) : QModelIndex();
    const bool changed = row != currentRow;
    currentRow = row;
    showCurrent();
    if (changed)
        emitGuarded([this] { emit q->currentIndexChanged(currentRow); });
}

void HtmlDataMapper::Private::showCurrent() {
    post(QStringLiteral("setCurrent"), {currentRow, currentRow >= 0 ? rowValues(currentRow) : QJsonArray()});
}

void HtmlDataMapper::Private::edited(int row, const QString& column, const QJsonValue& entered, bool committed) {
    const int at = static_cast<int>(names.indexOf(column));
    if (!model || at < 0 || columns.at(at) < 0)
        return;
    const QPersistentModelIndex index = model->index(row, columns.at(at));
    if (!index.isValid() || !model->flags(index).testFlag(Qt::ItemIsEditable))
        return;
    refusals.erase(std::remove(refusals.begin(), refusals.end(), index), refusals.end());  // the page took its mark off
    const QVariant value = modelValue(index, entered);
    dropEdit(pending, index);
    if (policy == ManualSubmit || !committed) {
        pending.push_back({index, column, value});
        return;
    }
    const QVariant held = model->data(index, Qt::EditRole);
    if (held.toString() == value.toString() && (held.isNull() || !value.isNull()))
        return;  // what the field showed, NULL shown as empty text included
    if (!model->setData(index, value, Qt::EditRole)) {
        refused({{index, column, value}}, QStringLiteral("the model refused the value"));
        return;
    }
    dropEdit(handed, index);
    if (holdsUnstored(model, index))
        handed.push_back({index, column, value});
}

QVariant HtmlDataMapper::Private::modelValue(const QModelIndex& index, const QJsonValue& entered) const {
    if (entered.isBool()) {  // a checkbox or radio button, as the model holds its state
        const QVariant held = model->data(index, Qt::EditRole);
        if (held.typeId() == QMetaType::QString) {
            const bool numbered = held.toString() == QLatin1String("0") || held.toString() == QLatin1String("1");
            return numbered ? QString(entered.toBool() ? QLatin1Char('1') : QLatin1Char('0')) : QVariant(entered.toBool()).toString();
        }
        if (held.isValid() && held.typeId() != QMetaType::Bool && held.canConvert<int>())
            return entered.toBool() ? 1 : 0;
        return entered.toBool();
    }
    const QString text = entered.toString();
    if (text.isEmpty() && emptyIsNull)
        if (const std::optional<QVariant> null = nullFor(model, index))
            return *null;
    // Of the type the model holds, as the editor a view makes for it hands it over: a number, a
    // date; text that is none stays text, for the model to take or refuse.
    const QVariant held = model->data(index, Qt::EditRole);
    if (QVariant typed = text; held.isValid() && held.typeId() != QMetaType::QString && typed.convert(held.metaType()))
        return typed;
    return text;
}

void HtmlDataMapper::Private::refused(const std::vector<Edit>& edits, const QString& reason) {
    for (const Edit& edit : edits) {
        if (!edit.index.isValid())
            continue;
        if (std::find(refusals.begin(), refusals.end(), edit.index) == refusals.end())
            refusals.push_back(edit.index);
        const int row = edit.index.row();
        post(QStringLiteral("updateRows"), {row, rowsValues(row, row)});
        emitGuarded([this, row, column = edit.column, reason] { emit q->editRefused(row, column, reason); });
    }
}

void HtmlDataMapper::Private::settle() {
    std::vector<int> rows;
    for (const auto& cells : {pending, handed})
        for (const Edit& edit : cells)
            rows.push_back(edit.index.row());
    for (const QPersistentModelIndex& index : refusals)
        rows.push_back(index.row());
    pending.clear();
    handed.clear();
    refusals.clear();
    post(QStringLiteral("editsSettled"), {});
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows)
        if (row >= 0)
            post(QStringLiteral("updateRows"), {row, rowsValues(row, row)});
}

HtmlDataMapper::HtmlDataMapper(HtmlView* view) : QObject(view), d(std::make_unique<Private>(this, view)) {
    connect(view, &HtmlView::bodyHtmlChanged, this, [this](const QString& html) {
        if (html != d->templ)
            d->unbind();
    });
    PageEvents* events = &d->host->pageEvents;
    connect(events, &PageEvents::boundEdited, this,
            [this](int row, const QString& column, const QJsonValue& value, int number, bool committed) {
                if (!d->bound())
                    return;
                d->post(QStringLiteral("editsSeen"), {number});  // what is shown from now on is newer than that entry
                d->edited(row, column, value, committed);
            });
    connect(events, &PageEvents::boundRowChosen, this, [this](int row) {
        if (d->bound())
            emitGuarded([this, row] { setCurrentIndex(row); });
    });
}

HtmlDataMapper::~HtmlDataMapper() {
    d->unbind();
}

void HtmlDataMapper::setModel(QAbstractItemModel* model, HtmlError* error) {
    attempt(error, "HtmlDataMapper::setModel", [&] {
        d->checkColumns(model, d->names, "HtmlDataMapper::setModel");
        d->model = model;
        d->pending.clear();
        d->handed.clear();
        d->refusals.clear();
        d->columns = d->columnsOf(model, d->names);
        d->connectModel();
        d->current = QPersistentModelIndex();
        d->currentRow = -1;
        d->post(QStringLiteral("setRows"), {QJsonValue(d->rowsValues(0, d->rowCount() - 1))});
        d->followCurrent();
    });
}

QAbstractItemModel* HtmlDataMapper::model() const {
    return d->model;
}

void HtmlDataMapper::setTemplateHtml(const QString& html, HtmlError* error) {
    attempt(error, "HtmlDataMapper::setTemplateHtml", [&] {
        const QStringList names = templateColumns(html);
        d->checkColumns(d->model, names, "HtmlDataMapper::setTemplateHtml");
        const QString before = std::exchange(d->templ, html);  // the body about to change is this one's
        HtmlError written;
        d->view->setBodyHtml(html, &written);
        if (written.isValid()) {
            d->templ = before;
            throw PageFailure{HtmlError(written.type(), written.description(), QStringLiteral("HtmlDataMapper::setTemplateHtml"))};
        }
        if (const QStringList scripts = templateScripts(html); !scripts.isEmpty())
            qWarning("lumetto: HtmlDataMapper::setTemplateHtml: the template holds script, which never runs: %s",
                     qPrintable(scripts.join(QStringLiteral(", "))));
        d->names = names;
        d->columns = d->columnsOf(d->model, names);
        d->host->binder = this;
        d->host->boundSteps = [this] { return QJsonArray{QJsonValue(QJsonArray{QStringLiteral("bind"), QJsonArray{d->bindingState()}})}; };
        d->post(QStringLiteral("bind"), {d->bindingState()});
    });
}

QString HtmlDataMapper::templateHtml() const {
    return d->templ;
}

int HtmlDataMapper::currentIndex() const {
    return d->currentRow;
}

HtmlDataMapper::SubmitPolicy HtmlDataMapper::submitPolicy() const {
    return d->policy;
}

void HtmlDataMapper::setSubmitPolicy(SubmitPolicy policy) {
    if (policy == d->policy)
        return;
    d->policy = policy;
    emit submitPolicyChanged(policy);
}

bool HtmlDataMapper::emptyIsNull() const {
    return d->emptyIsNull;
}

void HtmlDataMapper::setEmptyIsNull(bool null) {
    if (null == d->emptyIsNull)
        return;
    d->emptyIsNull = null;
    emit emptyIsNullChanged(null);
}

bool HtmlDataMapper::submit() {
    if (!d->model)
        return true;
    std::vector<Private::Edit> refused;
    std::vector<Private::Edit> handed = std::exchange(d->handed, {});
    for (const Private::Edit& edit : std::exchange(d->pending, {})) {
        if (!edit.index.isValid())
            continue;
        dropEdit(handed, edit.index);
        (d->model->setData(edit.index, edit.value, Qt::EditRole) ? handed : refused).push_back(edit);
    }
    // Changes the model could not store (a constraint, a database locked or read-only) stay in
    // it and in the fields, nothing of the user's lost, for the user to correct and a later
    // submit() to store. Those it stored, as it went or before, are no part of the failure.
    const bool stored = storeChanges(d->model);
    if (stored) {
        d->settle();
    } else {
        handed.erase(std::remove_if(handed.begin(), handed.end(),
                                    [this](const Private::Edit& e) { return !holdsUnstored(d->model, e.index); }),
                     handed.end());
        d->refused(handed, QStringLiteral("the model could not store the changes"));
        d->handed = std::move(handed);
    }
    d->refused(refused, QStringLiteral("the model refused the value"));
    return stored && refused.empty();
}

void HtmlDataMapper::revert() {
    if (d->model && !d->handed.empty())
        dropChanges(d->model);
    d->settle();
}

void HtmlDataMapper::setCurrentIndex(int row) {
    if (!d->model || row < 0 || row >= d->rowCount() || row == d->currentRow)
        return;
    d->current = d->model->index(row, 0);
    d->currentRow = row;
    d->showCurrent();
    emit currentIndexChanged(row);
}

void HtmlDataMapper::toFirst() {
    setCurrentIndex(0);
}

void HtmlDataMapper::toPrevious() {
    setCurrentIndex(d->currentRow - 1);
}

void HtmlDataMapper::toNext() {
    setCurrentIndex(d->currentRow + 1);
}

void HtmlDataMapper::toLast() {
    setCurrentIndex(d->rowCount() - 1);
}

}  // namespace lumetto
