#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QVariantMap>

namespace lumetto::engine {

// The events of a view, by the number the page tags its own with (a click) or the view gives
// those of its clipboard actions.
enum class ViewEvent { LeftClick = 1, RightClick = 2, Copy = 5 };

// The host end of the web channel: the page side reports the user's actions here.
class PageEvents : public QObject {
    Q_OBJECT
    // Where the page asks for the host's answer to a click it waits in (HostAnswer); empty:
    // the page raises its clicks without waiting.
    Q_PROPERTY(QString answerAddress MEMBER answerAddress_ CONSTANT)
public:
    PageEvents(QString answerAddress, QObject* parent) : QObject(parent), answerAddress_(std::move(answerAddress)) {}

public slots:
    void pageEvent(int event, const QVariantMap& detail) { emit raised(static_cast<ViewEvent>(event), detail); }
    void fieldChanged(const QJsonArray& path, const QJsonObject& state) { emit fieldEntered(path, state); }
    void contentDrawn() { emit drawn(); }
    void stepFailed(const QString& op, const QString& error, int code) { emit carriedStepFailed(op, error, code); }
    void boundFieldEdited(int key, const QString& column, const QJsonValue& value, int number, bool committed) {
        emit boundEdited(key, column, value, number, committed);
    }
    void boundRowClicked(int key) { emit boundRowChosen(key); }
    void answerNotAsked(int number) { emit notAsked(number); }
    void boundRowsWanted(int repeat, int first, int last, int number) { emit boundRowsAsked(repeat, first, last, number); }
    void boundRowFieldChanged(int key, int place, const QJsonObject& state) { emit boundRowFieldEntered(key, place, state); }

signals:
    void raised(lumetto::engine::ViewEvent event, const QVariantMap& detail);
    // The user typed or chose something in the form field at that place.
    void fieldEntered(const QJsonArray& path, const QJsonObject& state);
    // The content the page was given, with its images, has been drawn.
    void drawn();
    // A step the host carried to the page after its call had returned failed there.
    void carriedStepFailed(const QString& op, const QString& error, int code);
    // The user entered value in the form field bound to column of the row the page knows by key
    // (HtmlDataMapper): text, or the checked state of a checkbox or radio button; number is the
    // page's entry number; committed when the user left the field, pressed Enter in it or clicked it.
    void boundEdited(int key, const QString& column, const QJsonValue& value, int number, bool committed);
    // The page's request for the answer to its event of that number failed: it waits no more.
    void notAsked(int number);
    // The user clicked in the repeated element of the row the page knows by key.
    void boundRowChosen(int key);
    // The repeated element of that number wants the rows first to last held; first -1: the last
    // `last` rows, the model fetched to its end. The page numbers its requests.
    void boundRowsAsked(int repeat, int first, int last, int number);
    // The user typed or chose something in a field bound to no column, at place in the row
    // (its index among the row element and its descendants).
    void boundRowFieldEntered(int key, int place, const QJsonObject& state);

private:
    QString answerAddress_;
};

}  // namespace lumetto::engine
