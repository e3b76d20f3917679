#include <lumetto/HtmlDataMapper.h>

#include <lumetto/HtmlView.h>

#include "engine/binding/BoundValues.h"
#include "engine/binding/MapperView.h"
#include "engine/view/HtmlViewPrivate.h"
#include "engine/view/Logging.h"
#include "engine/binding/ModelStorage.h"
#include "engine/page/PageFailure.h"
#include "engine/binding/RowEntries.h"
#include "engine/binding/RowKeys.h"
#include "engine/view/SlotGuard.h"
#include "engine/binding/TemplateMarks.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QJsonObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <map>
#include <utility>
#include <vector>

namespace lumetto::engine {
namespace {

// The rows a page is sent as it binds, before it has measured a row.
constexpr int FirstRows = 40;

}  // namespace

// The binding's host side. The page keeps the bound elements and fills them with the values it
// is sent; each change of the model is sent as the page operation that brings the page up to
// date in place (script/binding.js: bind, setCurrent, showRows, updateRows, reveal), posted without a
// wait, since its outcome is known. Of each repeated element the page holds a window of rows,
// which it asks for as the user scrolls (boundRowsWanted); the host keeps where each window is,
// sends the rows of each again as the model's rows change, and fetches from the model
// (canFetchMore, fetchMore) what a window or a move needs. The page names rows by keys (RowKeys)
// in what it reports, so that a report reaches its row whatever the model did meanwhile. While
// the page is not there to take them (loading, or its process ended) nothing is posted: the
// whole binding comes with the next page as its last step (HtmlViewPrivate::boundSteps), and
// its repeated elements ask for their rows anew.
class HtmlDataMapperPrivate {
public:
    // A value the user entered in a bound field.
    struct Edit {
        QPersistentModelIndex index;
        QString column;
        QVariant value;
    };

    // The rows the page holds of a repeated element: size rows from first, whose top row is the
    // record at top (followed through inserts and removals above it).
    struct Window {
        QPersistentModelIndex top;
        int first = 0;
        int size = 0;
        // The page's request the host could not answer yet: the page asked as it loaded anew
        // after its process ended, before the host could reach it. Answered once it has loaded,
        // since the page asks for no more rows until its request is answered.
        int unanswered = 0;
    };

    explicit HtmlDataMapperPrivate(HtmlDataMapper* q) : q(q) {}

    // The model column of each name, or -1.
    QList<int> columnsOf(const QAbstractItemModel* of, const QStringList& names) const;
    void checkColumns(const QAbstractItemModel* of, const QStringList& names, const char* call) const;
    void connectModel();
    int rowCount() const { return model ? model->rowCount() : 0; }
    QJsonArray rowValues(int row) const;
    QJsonArray rowsValues(int first, int last) const;
    // The rows the page is to hold, each as [key, values, entries of the fields bound to no column].
    QJsonArray keyedRows(int first, int last);
    QJsonObject bindingState();
    bool more() const { return model && model->canFetchMore(QModelIndex()); }
    // Fetches from the model until it has row, or all it has (INT_MAX).
    void fetchThrough(int row);
    void rowsWanted(int repeat, int first, int last, int number);
    // Answers the page's requests held while it loaded anew.
    void answerHeldRequests();
    // Sends the rows of the window: the answer to the page's request of that number, or 0.
    void sendWindow(int repeat, int answer = 0);
    // Each window again after the model's rows changed: at the same records (followRecords),
    // or at the same place.
    void resendWindows(bool followRecords);
    bool bound() const { return host && !templ.isEmpty() && host->binder == q; }
    void post(const QString& op, const QJsonArray& args) const;
    void unbind();
    // Follows the page events of view's page, and its body.
    void connectView();
    // Ends the binding and lets go of the view.
    void releaseView();
    // Binds to the view of either face, by its public object; null lets go.
    void bindTo(QObject* face);
    // The current row after the model changed: the same record, else the same place.
    void followCurrent();
    void showCurrent();
    // The row a key of the page names now, or -1.
    int rowOfKey(int key) const { return keys.rowOf(key); }
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
    QObject* face = nullptr;  // the view, of either face
    HtmlView* view = nullptr;  // the view, when it is the widget
    HtmlViewPrivate* host = nullptr;  // the view's, while it is there
    std::vector<QMetaObject::Connection> viewConnections;
    QPointer<QAbstractItemModel> model;
    std::vector<QMetaObject::Connection> modelConnections;
    QString templ;
    QStringList names;  // the columns the template names, in the order the page takes values
    QList<int> columns;
    QPersistentModelIndex current;
    int currentRow = -1;
    HtmlDataMapper::SubmitPolicy policy = HtmlDataMapper::AutoSubmit;
    bool emptyIsNull = false;
    std::vector<Edit> pending;  // not yet submitted, in the order made; the page shows them
    std::vector<Edit> handed;   // handed to the model and not yet stored, which it may yet refuse to store
    std::vector<QPersistentModelIndex> refusals;  // cells whose fields are marked refused
    std::map<int, Window> windows;  // by the number of the repeated element in the template
    RowKeys keys;
    RowEntries entries;
    bool fetching = false;  // the rows the model fetches now are sent once it has fetched them
};

namespace {

// Drops the edit of index, if any.
template <typename Edits>
void dropEdit(Edits& edits, const QModelIndex& index) {
    edits.erase(std::remove_if(edits.begin(), edits.end(), [&](const auto& e) { return e.index == index; }), edits.end());
}

}  // namespace

QList<int> HtmlDataMapperPrivate::columnsOf(const QAbstractItemModel* of, const QStringList& wanted) const {
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

void HtmlDataMapperPrivate::checkColumns(const QAbstractItemModel* of, const QStringList& wanted, const char* call) const {
    if (!of)
        return;
    const QList<int> found = columnsOf(of, wanted);
    if (const qsizetype missing = found.indexOf(-1); missing >= 0)
        throw PageFailure{HtmlError(HtmlError::NoSuchColumn,
                                    QStringLiteral("the model has no column \"%1\"").arg(wanted.at(missing)),
                                    QString::fromLatin1(call))};
}

QJsonArray HtmlDataMapperPrivate::rowValues(int row) const {
    QJsonArray values;
    const QLocale locale = view ? view->locale() : QLocale();
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

QJsonArray HtmlDataMapperPrivate::rowsValues(int first, int last) const {
    QJsonArray rows;
    for (int row = first; row <= last; ++row)
        rows.append(rowValues(row));
    return rows;
}

QJsonArray HtmlDataMapperPrivate::keyedRows(int first, int last) {
    QJsonArray rows;
    for (int row = first; row <= last; ++row)
        rows.append(QJsonArray{keys.keyOf(model->index(row, 0)), rowValues(row), entries.of(row)});
    return rows;
}

QJsonObject HtmlDataMapperPrivate::bindingState() {
    return {{QStringLiteral("columns"), QJsonArray::fromStringList(names)},
            {QStringLiteral("rows"), model ? keyedRows(0, std::min(rowCount(), FirstRows) - 1) : QJsonArray()},
            {QStringLiteral("count"), rowCount()},
            {QStringLiteral("more"), more()},
            {QStringLiteral("current"), currentRow},
            {QStringLiteral("key"), currentRow >= 0 ? keys.keyOf(model->index(currentRow, 0)) : 0},
            {QStringLiteral("values"), currentRow >= 0 ? QJsonValue(rowValues(currentRow)) : QJsonValue()}};
}

void HtmlDataMapperPrivate::fetchThrough(int row) {
    if (!model || fetching)
        return;
    const int before = rowCount();
    fetching = true;
    while (row >= rowCount() && model->canFetchMore(QModelIndex())) {
        const int had = rowCount();
        model->fetchMore(QModelIndex());
        if (rowCount() == had)
            break;
    }
    fetching = false;
    if (rowCount() != before)
        resendWindows(true);
}

// Rows past what the model has are fetched: the page asks for them as it nears the end of what
// the model has, so that the scroll bar grows before the user reaches its end.
void HtmlDataMapperPrivate::rowsWanted(int repeat, int first, int last, int number) {
    const int size = std::max(1, first < 0 ? last : last - first + 1);
    fetchThrough(first < 0 ? INT_MAX : last);
    windows[repeat] = {QPersistentModelIndex(), first < 0 ? rowCount() - size : first, size};
    sendWindow(repeat, number);
}

void HtmlDataMapperPrivate::sendWindow(int repeat, int answer) {
    Window& window = windows[repeat];
    const int count = rowCount();
    const int first = std::max(0, std::min(window.first, count - window.size));
    window.first = first - first % 2;  // the page's first row is an even one (script/binding.js: Repeat.ask)
    const int last = std::min(count, first + window.size) - 1;
    window.top = model && last >= 0 ? QPersistentModelIndex(model->index(window.first, 0)) : QPersistentModelIndex();
    const QJsonArray args{repeat, window.first, model ? keyedRows(window.first, last) : QJsonArray(), count, more(), answer};
    // The page that asked is there to take the answer, also while its shell still loads.
    if (answer && bound() && host->calls->shellLoading())
        host->calls->post(QStringLiteral("showRows"), args);
    else if (answer && bound() && !host->calls->ready())
        window.unanswered = answer;
    else
        post(QStringLiteral("showRows"), args);
}

void HtmlDataMapperPrivate::answerHeldRequests() {
    for (auto& [repeat, window] : windows)
        if (const int number = std::exchange(window.unanswered, 0))
            sendWindow(repeat, number);
}

void HtmlDataMapperPrivate::resendWindows(bool followRecords) {
    if (fetching)
        return;
    for (auto& [repeat, window] : windows) {
        if (followRecords && window.top.isValid())
            window.first = window.top.row();
        sendWindow(repeat);
    }
}

void HtmlDataMapperPrivate::post(const QString& op, const QJsonArray& args) const {
    if (bound() && host->calls->ready())
        host->calls->post(op, args);
}

void HtmlDataMapperPrivate::unbind() {
    templ.clear();
    names.clear();
    columns.clear();
    if (host && host->binder == q) {
        host->binder = nullptr;
        host->boundSteps = nullptr;
    }
}

void HtmlDataMapperPrivate::connectModel() {
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
        resendWindows(false);
        followCurrent();
    };
    // The changed rows the page holds, and the current row's.
    on(&QAbstractItemModel::dataChanged, [this](const QModelIndex& from, const QModelIndex& to) {
        if (from.parent().isValid())
            return;
        bool currentSent = false;
        for (const auto& [repeat, window] : windows) {
            const int first = std::max(from.row(), window.first);
            const int last = std::min(to.row(), window.first + window.size - 1);
            if (first <= last)
                post(QStringLiteral("updateRows"), {first, rowsValues(first, last)});
            currentSent = currentSent || (currentRow >= first && currentRow <= last);
        }
        if (!currentSent && currentRow >= from.row() && currentRow <= to.row())
            showCurrent();
    });
    const auto rowsChanged = [this](const QModelIndex& parent) {
        if (parent.isValid() || fetching)
            return;
        resendWindows(true);
        followCurrent();
    };
    on(&QAbstractItemModel::rowsInserted, rowsChanged);
    on(&QAbstractItemModel::rowsRemoved, rowsChanged);
    on(&QAbstractItemModel::rowsMoved, resend);
    on(&QAbstractItemModel::layoutChanged, resend);
    on(&QAbstractItemModel::modelAboutToBeReset, [this] {
        keys.holdPlaces();
        entries.holdPlaces();
    });
    on(&QAbstractItemModel::modelReset, [this, resend] {
        keys.restorePlaces(model);
        entries.restorePlaces(model);
        resend();
    });
    on(&QAbstractItemModel::headerDataChanged, [resend](Qt::Orientation orientation) {
        if (orientation == Qt::Horizontal)
            resend();
    });
    on(&QObject::destroyed, [this] {
        columns.fill(-1);
        pending.clear();
        handed.clear();
        keys.clear();
        entries.clear();
        refusals.clear();
        resendWindows(false);
        followCurrent();
    });
}

void HtmlDataMapperPrivate::followCurrent() {
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

void HtmlDataMapperPrivate::showCurrent() {
    const bool any = currentRow >= 0 && model;
    post(QStringLiteral("setCurrent"), {currentRow, any ? keys.keyOf(model->index(currentRow, 0)) : 0,
                                        any ? rowValues(currentRow) : QJsonArray()});
}

void HtmlDataMapperPrivate::edited(int row, const QString& column, const QJsonValue& entered, bool committed) {
    const int at = static_cast<int>(names.indexOf(column));
    if (!model || at < 0 || columns.at(at) < 0)
        return;
    const QPersistentModelIndex index = model->index(row, columns.at(at));
    if (!index.isValid() || !model->flags(index).testFlag(Qt::ItemIsEditable))
        return;
    refusals.erase(std::remove(refusals.begin(), refusals.end(), index), refusals.end());  // the page took its mark off
    const QVariant value = modelValue(index, entered);
    dropEdit(pending, index);
    if (policy == HtmlDataMapper::ManualSubmit || !committed) {
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

QVariant HtmlDataMapperPrivate::modelValue(const QModelIndex& index, const QJsonValue& entered) const {
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

void HtmlDataMapperPrivate::refused(const std::vector<Edit>& edits, const QString& reason) {
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

void HtmlDataMapperPrivate::settle() {
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

void HtmlDataMapperPrivate::connectView() {
    const auto on = [this](auto* sender, auto signal, auto slot) { viewConnections.push_back(QObject::connect(sender, signal, q, slot)); };
    on(host, &HtmlViewPrivate::bodyHtmlChanged, [this](const QString& html) {
        if (html != templ)
            unbind();
    });
    PageEvents* events = &host->pageEvents;
    on(events, &PageEvents::boundEdited, [this](int key, const QString& column, const QJsonValue& value, int number, bool committed) {
        if (!bound())
            return;
        post(QStringLiteral("editsSeen"), {number});  // what is shown from now on is newer than that entry
        if (const int row = rowOfKey(key); row >= 0)
            edited(row, column, value, committed);
    });
    on(events, &PageEvents::boundRowChosen, [this](int key) {
        if (const int row = rowOfKey(key); bound() && row >= 0)
            emitGuarded([this, row] { q->setCurrentIndex(row); });
    });
    on(events, &PageEvents::boundRowsAsked, [this](int repeat, int first, int last, int number) {
        if (bound())
            rowsWanted(repeat, first, last, number);
    });
    on(host->calls.get(), &PageCalls::stateChanged, [this] {
        if (bound() && host->calls->ready())
            answerHeldRequests();
    });
    on(events, &PageEvents::boundRowFieldEntered, [this](int key, int place, const QJsonObject& state) {
        if (bound())
            entries.entered(keys.indexOf(key), place, state);
    });
}

void HtmlDataMapperPrivate::releaseView() {
    unbind();
    windows.clear();
    for (const auto& connection : viewConnections)
        QObject::disconnect(connection);
    viewConnections.clear();
    if (host)
        host->mappers.erase(std::remove(host->mappers.begin(), host->mappers.end(), q), host->mappers.end());
    face = nullptr;
    view = nullptr;
    host = nullptr;
}

void HtmlDataMapperPrivate::bindTo(QObject* to) {
    if (to == face)
        return;
    releaseView();
    host = HtmlViewPrivate::of(to);
    if (!host)
        return;
    face = to;
    view = qobject_cast<HtmlView*>(to);
    host->mappers.push_back(q);
    connectView();
}

namespace {

// The private side of each mapper.
QHash<const HtmlDataMapper*, HtmlDataMapperPrivate*>& mapperPrivates() {
    static QHash<const HtmlDataMapper*, HtmlDataMapperPrivate*> all;
    return all;
}

}  // namespace

void setMapperView(HtmlDataMapper* mapper, QObject* view) {
    mapperPrivates().value(mapper)->bindTo(view);
}

namespace {

// Fails the call when the mapper has no view to show its template in.
void checkView(const HtmlViewPrivate* host, const char* call) {
    if (!host)
        throw PageFailure{HtmlError(HtmlError::PageFailed, QStringLiteral("the mapper has no view (HtmlDataMapper::setView)"),
                                    QString::fromLatin1(call))};
}

}  // namespace

}  // namespace lumetto::engine

namespace lumetto {

using engine::attempt;
using engine::HtmlDataMapperPrivate;
using engine::PageFailure;

HtmlDataMapper::HtmlDataMapper(QObject* parent) : QObject(parent), d(std::make_unique<HtmlDataMapperPrivate>(this)) {
    engine::mapperPrivates().insert(this, d.get());
}

HtmlDataMapper::~HtmlDataMapper() {
    engine::mapperPrivates().remove(this);
    d->releaseView();
}

void HtmlDataMapper::setView(HtmlView* view) {
    d->bindTo(view);
}

HtmlView* HtmlDataMapper::view() const {
    return d->view;
}

void HtmlDataMapper::setModel(QAbstractItemModel* model, HtmlError* error) {
    attempt(error, "HtmlDataMapper::setModel", [&] {
        engine::checkView(d->host, "HtmlDataMapper::setModel");
        d->checkColumns(model, d->names, "HtmlDataMapper::setModel");
        d->model = model;
        d->pending.clear();
        d->handed.clear();
        d->keys.clear();
        d->entries.clear();
        d->refusals.clear();
        d->columns = d->columnsOf(model, d->names);
        d->connectModel();
        d->current = QPersistentModelIndex();
        d->currentRow = -1;
        d->resendWindows(false);
        d->followCurrent();
    });
}

QAbstractItemModel* HtmlDataMapper::model() const {
    return d->model;
}

void HtmlDataMapper::setTemplateHtml(const QString& html, HtmlError* error) {
    attempt(error, "HtmlDataMapper::setTemplateHtml", [&] {
        engine::checkView(d->host, "HtmlDataMapper::setTemplateHtml");
        const QStringList names = engine::templateColumns(html);
        d->checkColumns(d->model, names, "HtmlDataMapper::setTemplateHtml");
        const QString before = std::exchange(d->templ, html);  // the body about to change is this one's
        try {
            d->host->setBody("HtmlDataMapper::setTemplateHtml", html);
        } catch (const PageFailure&) {
            d->templ = before;
            throw;
        }
        if (const QStringList scripts = engine::templateScripts(html); !scripts.isEmpty())
            qCWarning(engine::bindingLog, "HtmlDataMapper::setTemplateHtml: the template holds script, which never runs: %s",
                      qPrintable(scripts.join(QStringLiteral(", "))));
        d->names = names;
        d->columns = d->columnsOf(d->model, names);
        d->windows.clear();  // the template's repeated elements tell which rows they hold
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
    std::vector<HtmlDataMapperPrivate::Edit> refused;
    std::vector<HtmlDataMapperPrivate::Edit> handed = std::exchange(d->handed, {});
    for (const HtmlDataMapperPrivate::Edit& edit : std::exchange(d->pending, {})) {
        if (!edit.index.isValid())
            continue;
        engine::dropEdit(handed, edit.index);
        (d->model->setData(edit.index, edit.value, Qt::EditRole) ? handed : refused).push_back(edit);
    }
    // Changes the model could not store (a constraint, a database locked or read-only) stay in
    // it and in the fields, nothing of the user's lost, for the user to correct and a later
    // submit() to store. Those it stored, as it went or before, are no part of the failure.
    const bool stored = engine::storeChanges(d->model);
    if (stored) {
        d->settle();
    } else {
        handed.erase(std::remove_if(handed.begin(), handed.end(),
                                    [this](const HtmlDataMapperPrivate::Edit& e) { return !engine::holdsUnstored(d->model, e.index); }),
                     handed.end());
        d->refused(handed, QStringLiteral("the model could not store the changes"));
        d->handed = std::move(handed);
    }
    d->refused(refused, QStringLiteral("the model refused the value"));
    return stored && refused.empty();
}

void HtmlDataMapper::revert() {
    if (d->model && !d->handed.empty())
        engine::dropChanges(d->model);
    d->settle();
}

void HtmlDataMapper::setCurrentIndex(int row) {
    if (!d->model || row < 0)
        return;
    d->fetchThrough(row);
    if (row >= d->rowCount())
        return;
    const bool changed = row != d->currentRow;
    if (changed) {
        d->current = d->model->index(row, 0);
        d->currentRow = row;
        d->showCurrent();
    }
    d->post(QStringLiteral("reveal"), {row});
    if (changed)
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
    d->fetchThrough(INT_MAX);
    setCurrentIndex(d->rowCount() - 1);
}

}  // namespace lumetto
