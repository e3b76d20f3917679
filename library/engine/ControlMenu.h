#pragma once

#include <QList>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace lumetto::engine {

// The control's own right-click menu: its clipboard entries, when shown, then the host's
// entries in the order they were added, "-" standing for a separator. The control holds the
// entries' check marks.
class ControlMenu {
public:
    struct Choice {
        enum Kind { CopyText, CopyHtml, Entry } kind;
        QString key;  // for Entry
    };

    explicit ControlMenu(bool showClipboardEntries) : showClipboard_(showClipboardEntries) {}

    void add(const QString& key, const QString& caption);
    // Sets an entry's state; false when no entry has that key.
    bool update(const QString& key, bool checked, bool enabled, bool visible);
    bool showsClipboardEntries() const { return showClipboard_; }
    void setShowsClipboardEntries(bool shown) { showClipboard_ = shown; }
    bool isEmpty() const { return !showClipboard_ && entries_.isEmpty(); }
    // The check mark of the entry with that key.
    bool isChecked(const QString& key) const;

    // Opens the menu at a point of owner; chosen is called with what the user chose.
    void popup(QWidget* owner, const QPoint& at, const std::function<void(const Choice&)>& chosen) const;

private:
    struct Entry {
        QString key;
        QString caption;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
    };

    bool showClipboard_;
    QList<Entry> entries_;
};

}  // namespace lumetto::engine
