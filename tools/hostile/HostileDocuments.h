#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QUrl>

// Where hostile content points: the loopback servers that count requests, and the files that
// must never be opened.
struct Targets {
    QString server;       // "http://127.0.0.1:port"
    QString otherServer;  // another loopback address, "http://127.0.0.2:port"
    QString localhost;    // the first server by name, "http://localhost:port"
    QString outside;      // a folder outside the base folder, with its final slash
    QString sibling;      // a sibling folder whose name starts with the base folder's, with its slash
    QString base;         // the base folder, with its final slash
};

// The ways content reaches a view.
enum class Surface {
    BodyHtml,        // HtmlView::setBodyHtml
    CssText,         // HtmlView::setCssText
    CssFromUrl,      // HtmlView::setCssFromUrl, the rules naming a style sheet
    BaseUrl,         // HtmlView::setBaseUrl, then a body of relative references
    Source,          // HtmlView::setSource of a file in the base folder
    InnerHtml,       // HtmlElement::setInnerHtml
    StyleProperty,   // HtmlElement::setStyleProperty
    MapperValues,    // HtmlDataMapper: the model's values
    MapperTemplate,  // HtmlDataMapper::setTemplateHtml
};
QString nameOf(Surface surface);

// One hostile document and the surface it goes through.
struct HostileDocument {
    Surface surface = Surface::BodyHtml;
    QString what;             // the kind of attack, for the report of a fault it finds
    QString html;             // a body, inner HTML, a template, or the body under a base
    QString css;              // style rules, or a style sheet's URL
    QUrl base;                // the base location set (BaseUrl)
    QByteArray file;          // the bytes of the file shown (Source)
    QString styleName;        // StyleProperty
    QString styleValue;
    QStringList values;       // the model's values (MapperValues)
    QString shownText;        // text the page must show, when the document is decoded right
    bool overTheView = false; // a link covers the view: every click follows it
};

// Hostile documents from a seed: the same seed gives the same documents.
class HostileDocuments {
public:
    HostileDocuments(quint32 seed, const Targets& targets);

    HostileDocument next();

    // Markup that runs script, navigates, or loads from the network or outside the base folder,
    // if anything lets it: one piece of each kind, picked at random.
    QString hostileMarkup(int pieces);

private:
    HostileDocument bodyOrInner(Surface surface);
    HostileDocument css(Surface surface);
    HostileDocument base();
    HostileDocument source();
    HostileDocument style();
    HostileDocument mapper(Surface surface);
    QString outsideUrl(const QString& file);
    QString serverUrl(const QString& path);
    int pick(int count) { return static_cast<int>(random_.bounded(count)); }

    QRandomGenerator random_;
    Targets t_;
    int serial_ = 0;
};

// Markup at the end of every body and inner HTML: the page shows it for as long as it shows
// what it was written.
extern const QString KeptMark;

// A script that, if it ran, would change the title, mark the body and call the server.
QString scriptBody(const QString& server, const QString& what);
