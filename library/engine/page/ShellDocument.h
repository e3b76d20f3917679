#pragma once

#include <QJsonArray>
#include <QString>

namespace lumetto::engine {

// The document every control starts from: the head holds the base location and the style
// rules, the body holds the content. Its policy lets the content load files only once the
// control has a base directory, and only of its scheme (local files or Qt resources): a file
// refused to a control is refused inside its page, before any request, so that it never touches
// what the page process holds for another control.
//
// It can carry what the page is to show, as page operations ([op, args] pairs) in a data block
// that the page script carries out as the shell loads, so that the content comes with the
// shell's one load. Carried only up to a size well within what a page load can take; beyond
// it, or when the steps changed meanwhile, the host sends them after the load.
class ShellDocument {
public:
    static constexpr int CarriedStepsLimit = 512 * 1024;

    // files: the scheme of the files the content may load ("file", "qrc"), empty for none.
    ShellDocument(const QString& files, const QJsonArray& steps);

    const QString& html() const { return html_; }
    bool carriesSteps() const { return carried_; }

private:
    QString html_;
    bool carried_ = false;
};

}  // namespace lumetto::engine
