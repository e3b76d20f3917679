#include "hostile/HostileDocuments.h"

#include <QStringConverter>

#include <functional>

namespace {

// Clickable pieces take a band of the page each, so that clicks on the view land on them.
const QString Band = QStringLiteral("display:block;height:36px;margin:2px;background:rgb(230,230,250)");

QString attr(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

const QString KeptMark = QStringLiteral("<i id='kept'></i>");

QString nameOf(Surface surface) {
    switch (surface) {
    case Surface::BodyHtml: return QStringLiteral("setBodyHtml");
    case Surface::CssText: return QStringLiteral("setCssText");
    case Surface::CssFromUrl: return QStringLiteral("setCssFromUrl");
    case Surface::BaseUrl: return QStringLiteral("setBaseUrl");
    case Surface::Source: return QStringLiteral("setSource");
    case Surface::InnerHtml: return QStringLiteral("setInnerHtml");
    case Surface::StyleProperty: return QStringLiteral("setStyleProperty");
    case Surface::MapperValues: return QStringLiteral("mapper values");
    case Surface::MapperTemplate: return QStringLiteral("mapper template");
    }
    return {};
}

QString scriptBody(const QString& server, const QString& what) {
    return QStringLiteral("document.title='script ran';document.body.setAttribute('data-script-ran','%2');"
                          "new Image().src='%1/script-%2'")
        .arg(server, what);
}

HostileDocuments::HostileDocuments(quint32 seed, const Targets& targets) : random_(seed), t_(targets) {}

QString HostileDocuments::serverUrl(const QString& path) {
    const QString origins[] = {t_.server, t_.otherServer, t_.localhost};
    return origins[pick(3)] + path;
}

// A file outside the base folder: by its path, through a symbolic link in the base folder,
// through a linked folder, by a relative path that climbs out, or in the sibling folder.
QString HostileDocuments::outsideUrl(const QString& file) {
    switch (pick(6)) {
    case 0: return QStringLiteral("file://") + t_.outside + file;
    case 1: return QStringLiteral("link-") + file;
    case 2: return QStringLiteral("folder-link/") + file;
    case 3: return QStringLiteral("../outside/") + file;
    case 4: return QStringLiteral("file://") + t_.sibling + file;
    default: return QStringLiteral("%2e%2e/outside/") + file;
    }
}

QString HostileDocuments::hostileMarkup(int pieces) {
    const QString script = scriptBody(t_.server, QString::number(serial_));
    const QString js = QStringLiteral("javascript:") + script;
    using Piece = std::function<QString()>;
    const QList<Piece> all = {
        [&] { return QStringLiteral("<script>%1</script>").arg(script); },
        [&] { return QStringLiteral("<img src='nothing.png' onerror=\"%1\">").arg(attr(script)); },
        [&] { return QStringLiteral("<svg onload=\"%1\" width='10' height='10'></svg>").arg(attr(script)); },
        [&] { return QStringLiteral("<input autofocus onfocus=\"%1\">").arg(attr(script)); },
        [&] { return QStringLiteral("<div style='%2' onclick=\"%1\" onmouseover=\"%1\">hover</div>").arg(attr(script), Band); },
        [&] { return QStringLiteral("<a style='%2' href=\"%1\">javascript link</a>").arg(attr(js), Band); },
        [&] { return QStringLiteral("<a style='%2' href='%1'>server link</a>").arg(serverUrl(QStringLiteral("/link")), Band); },
        [&] { return QStringLiteral("<a style='%2' target='_blank' href='%1'>new window</a>").arg(serverUrl(QStringLiteral("/blank")), Band); },
        [&] { return QStringLiteral("<a style='%2' href='%1' ping='%3'>file link</a>")
                  .arg(outsideUrl(QStringLiteral("secret.html")), Band, serverUrl(QStringLiteral("/ping"))); },
        [&] { return QStringLiteral("<a style='%1' href='#below'>fragment</a><a style='%1' href='?query'>query</a>"
                                    "<a style='%1' href='inside.css' download>download</a>").arg(Band); },
        [&] { return QStringLiteral("<svg width='400' height='40'><a xlink:href='%1'><rect width='400' height='40' fill='rgb(250,220,220)'/>"
                                    "</a></svg>").arg(serverUrl(QStringLiteral("/svg-xlink"))); },
        [&] { return QStringLiteral("<svg width='400' height='40'><a href='%1'><rect width='400' height='40' fill='rgb(220,250,220)'/>"
                                    "</a></svg>").arg(outsideUrl(QStringLiteral("secret.html"))); },
        [&] {  // a target the engine cannot parse
            const char* broken[] = {"http://[::1", "file://host:1/x", "//127.0.0.1:1/u", "http://127.0.0.1:99999/x"};
            return QStringLiteral("<svg width='400' height='40'><a xlink:href='%1'><rect width='400' height='40' fill='rgb(220,220,250)'/>"
                                  "</a></svg>").arg(QLatin1String(broken[pick(4)]));
        },
        [&] { return QStringLiteral("<svg width='400' height='40'><a xlink:href=\"%1\"><text y='20'>svg javascript</text>"
                                    "<rect width='400' height='40' fill-opacity='0.2'/></a></svg>").arg(attr(js)); },
        [&] { return QStringLiteral("<meta http-equiv='refresh' content='0;url=%1'>").arg(serverUrl(QStringLiteral("/refresh"))); },
        [&] { return QStringLiteral("<form action='%1' method='post'><input name='a' value='b'>"
                                    "<input type='submit' style='%2' value='submit'></form>").arg(serverUrl(QStringLiteral("/form")), Band); },
        [&] { return QStringLiteral("<form action=\"%1\"><button style='%2'>go</button></form>").arg(attr(js), Band); },
        [&] { return QStringLiteral("<form><button style='%2' formaction='%1' formtarget='_blank'>formaction</button></form>")
                  .arg(serverUrl(QStringLiteral("/formaction")), Band); },
        [&] { return QStringLiteral("<iframe src='%1'></iframe>").arg(serverUrl(QStringLiteral("/iframe"))); },
        [&] { return QStringLiteral("<iframe srcdoc=\"<script>%1</script>\"></iframe>").arg(attr(script)); },
        [&] { return QStringLiteral("<iframe src='%1'></iframe>").arg(outsideUrl(QStringLiteral("secret.html"))); },
        [&] { return QStringLiteral("<object data='%1'></object><embed src='%2'>")
                  .arg(serverUrl(QStringLiteral("/object")), outsideUrl(QStringLiteral("secret.svg"))); },
        [&] { return QStringLiteral("<link rel='stylesheet' href='%1'><link rel='prefetch' href='%2'><link rel='preconnect' href='%3'>")
                  .arg(serverUrl(QStringLiteral("/css")), serverUrl(QStringLiteral("/prefetch")), t_.otherServer); },
        [&] { return QStringLiteral("<link rel='stylesheet' href='%1'>").arg(outsideUrl(QStringLiteral("secret.css"))); },
        [&] { return QStringLiteral("<style>@import url(%1); div { background: url(%2) }</style><div>styled</div>")
                  .arg(serverUrl(QStringLiteral("/import")), outsideUrl(QStringLiteral("secret.png"))); },
        [&] { return QStringLiteral("<div style=\"background-image:url('%1');height:20px\">bg</div>").arg(outsideUrl(QStringLiteral("secret.png"))); },
        [&] { return QStringLiteral("<img src='%1'><img src='%2'>").arg(outsideUrl(QStringLiteral("secret.png")), serverUrl(QStringLiteral("/img"))); },
        [&] { return QStringLiteral("<img srcset='%1 1x, %2 2x'><picture><source srcset='%2'><img></picture>")
                  .arg(serverUrl(QStringLiteral("/srcset")), outsideUrl(QStringLiteral("secret.png"))); },
        [&] { return QStringLiteral("<video poster='%1' src='%2'></video><audio src='%2' autoplay></audio>")
                  .arg(outsideUrl(QStringLiteral("secret.png")), serverUrl(QStringLiteral("/media"))); },
        [&] { return QStringLiteral("<base href='%1/'><img src='based.png'>").arg(t_.server); },
        [&] { return QStringLiteral("<img src='inside.png'><p>inside the base folder</p>"); },
        [&] { return QStringLiteral("<details open><summary>x</summary><dialog open>dialog</dialog></details><marquee>m</marquee>"); },
        [&] { return QStringLiteral("<input type='file'><textarea>%1</textarea>").arg(attr(script)); },
        [&] { return QStringLiteral("<map name='m'><area shape='rect' coords='0,0,400,40' href='%1'></map>"
                                    "<img usemap='#m' src='inside.png' width='400' height='40'>").arg(serverUrl(QStringLiteral("/area"))); },
        [&] { return QStringLiteral("<math><maction actiontype='statusline' xlink:href=\"%1\">math</maction></math>").arg(attr(js)); },
        [&] { return QStringLiteral("<noscript><p>no script</p></noscript><template><script>%1</script></template>").arg(script); },
        [&] { return QStringLiteral("<scr<script>ipt>%1</script>").arg(script); },
        [&] { return QStringLiteral("<svg><script>%1</script><animate onbegin=\"%2\" attributeName='x' dur='1s'/></svg>")
                  .arg(script, attr(script)); },
        [&] { return QStringLiteral("<img src='x' onerror=\"location='%1'\">").arg(serverUrl(QStringLiteral("/location"))); },
    };
    QString html;
    for (int i = 0; i < pieces; ++i)
        html += all[pick(all.size())]();
    return html;
}

HostileDocument HostileDocuments::next() {
    ++serial_;
    // Most documents are markup, the way content mostly comes.
    static const Surface weighted[] = {Surface::BodyHtml, Surface::BodyHtml, Surface::BodyHtml, Surface::InnerHtml,
                                       Surface::InnerHtml, Surface::CssText, Surface::CssFromUrl, Surface::BaseUrl,
                                       Surface::Source, Surface::Source, Surface::StyleProperty, Surface::MapperValues,
                                       Surface::MapperTemplate};
    const Surface surface = weighted[pick(std::size(weighted))];
    switch (surface) {
    case Surface::BodyHtml:
    case Surface::InnerHtml: return bodyOrInner(surface);
    case Surface::CssText:
    case Surface::CssFromUrl: return css(surface);
    case Surface::BaseUrl: return base();
    case Surface::Source: return source();
    case Surface::StyleProperty: return style();
    case Surface::MapperValues:
    case Surface::MapperTemplate: return mapper(surface);
    }
    return {};
}

HostileDocument HostileDocuments::bodyOrInner(Surface surface) {
    HostileDocument d;
    d.surface = surface;
    switch (pick(10)) {
    case 0: {  // deep nesting, well below what ends the page process
        const int depth = 200 + pick(800);
        d.what = QStringLiteral("nested %1 deep").arg(depth);
        d.html = QStringLiteral("<div>").repeated(depth) + hostileMarkup(2) + QStringLiteral("</div>").repeated(depth);
        break;
    }
    case 1: {  // huge markup
        const int paragraphs = 2000 + pick(20000);
        d.what = QStringLiteral("%1 paragraphs").arg(paragraphs);
        d.html = hostileMarkup(2) + QStringLiteral("<p>paragraph <b>bold</b> <i>italic</i></p>").repeated(paragraphs);
        break;
    }
    case 2: {  // text a string cannot hold as it should: unpaired surrogates, NUL, controls
        d.what = QStringLiteral("broken text");
        QString broken = QStringLiteral("<p>a") + QChar(0xD800) + QChar(0) + QChar(0xFFFE) + QChar(0xDC00) + QStringLiteral("b\x01\x1b</p>");
        d.html = broken + hostileMarkup(2) + QStringLiteral("<p unclosed <div <<>>&#0;&#xD800;&#x110000;");
        break;
    }
    case 3: {  // a link over the whole view, wherever a click lands
        const QString targets[] = {QStringLiteral("http://[::1"), QStringLiteral("file://host:1/x"),
                                   QStringLiteral("//127.0.0.1:1/u"), serverUrl(QStringLiteral("/over")),
                                   outsideUrl(QStringLiteral("secret.html")), QStringLiteral("inside.png"),
                                   QStringLiteral("javascript:") + scriptBody(t_.server, QStringLiteral("over"))};
        const QString target = targets[pick(std::size(targets))].toHtmlEscaped();
        const QString cover = QStringLiteral("position:fixed;left:0;top:0;width:100%;height:100%");
        const QString links[] = {
            QStringLiteral("<svg style='%1'><a xlink:href=\"%2\"><rect width='2000' height='2000' fill='rgb(200,250,200)'/></a></svg>"),
            QStringLiteral("<svg style='%1'><a href=\"%2\"><rect width='2000' height='2000' fill='rgb(200,200,250)'/></a></svg>"),
            QStringLiteral("<a style='%1;background:rgb(250,200,200)' href=\"%2\">link</a>"),
        };
        const int kind = pick(std::size(links));
        d.what = QStringLiteral("%1 link over the view to %2").arg(QLatin1String(kind < 2 ? "SVG" : "HTML"), target.left(40));
        d.html = links[kind].arg(cover, target);
        d.overTheView = true;
        break;
    }
    default:
        d.what = QStringLiteral("hostile markup");
        d.html = hostileMarkup(1 + pick(6));
    }
    d.html += KeptMark;
    return d;
}

HostileDocument HostileDocuments::css(Surface surface) {
    HostileDocument d;
    d.surface = surface;
    if (surface == Surface::CssFromUrl) {
        const QString urls[] = {serverUrl(QStringLiteral("/sheet.css")), outsideUrl(QStringLiteral("secret.css")),
                                QStringLiteral("javascript:") + scriptBody(t_.server, QStringLiteral("sheet")),
                                QStringLiteral("data:text/css,@import url(%1)").arg(serverUrl(QStringLiteral("/data-import"))),
                                QStringLiteral("//127.0.0.1/x.css")};
        d.css = urls[pick(std::size(urls))];
        d.what = QStringLiteral("style sheet %1").arg(d.css.left(60));
        return d;
    }
    const QString rules[] = {
        QStringLiteral("@import url(%1);").arg(serverUrl(QStringLiteral("/import"))),
        QStringLiteral("@import '%1';").arg(outsideUrl(QStringLiteral("secret.css"))),
        QStringLiteral("body { background-image: url(%1) }").arg(serverUrl(QStringLiteral("/bg"))),
        QStringLiteral("body { background: url('%1') }").arg(outsideUrl(QStringLiteral("secret.png"))),
        QStringLiteral("@font-face { font-family: f; src: url(%1) } body { font-family: f }").arg(outsideUrl(QStringLiteral("secret.ttf"))),
        QStringLiteral("@font-face { font-family: g; src: url(%1/font) } p { font-family: g }").arg(t_.server),
        QStringLiteral("body { cursor: url(%1), auto; list-style-image: url(%2) }")
            .arg(serverUrl(QStringLiteral("/cursor")), outsideUrl(QStringLiteral("secret.png"))),
        QStringLiteral("body { background-image: image-set('%1' 1x) }").arg(serverUrl(QStringLiteral("/image-set"))),
        QStringLiteral("</style><script>%1</script><style>").arg(scriptBody(t_.server, QStringLiteral("css-break"))),
        QStringLiteral("} * { background: url(%1) } {").arg(outsideUrl(QStringLiteral("secret.png"))),
        QStringLiteral("body::after { content: url(%1) }").arg(serverUrl(QStringLiteral("/content"))),
        QStringLiteral("body { filter: url(%1#f); mask-image: url(%2) }")
            .arg(outsideUrl(QStringLiteral("secret.svg")), serverUrl(QStringLiteral("/mask"))),
    };
    d.css = rules[pick(std::size(rules))] + rules[pick(std::size(rules))];
    d.what = QStringLiteral("style rules");
    d.html = hostileMarkup(1);
    return d;
}

HostileDocument HostileDocuments::base() {
    HostileDocument d;
    d.surface = Surface::BaseUrl;
    // A folder the host names is the content's to read: bases are addresses of the network,
    // the base folder written without its final slash, and locations of other kinds.
    const QUrl bases[] = {QUrl(t_.server + QStringLiteral("/")), QUrl(t_.localhost + QStringLiteral("/dir/")),
                          QUrl::fromLocalFile(t_.base.chopped(1)),
                          QUrl(QStringLiteral("javascript:") + scriptBody(t_.server, QStringLiteral("base"))),
                          QUrl(QStringLiteral("data:text/html,x")), QUrl(QStringLiteral("qrc:/"))};
    d.base = bases[pick(std::size(bases))];
    d.what = QStringLiteral("base %1").arg(d.base.toString().left(60));
    d.html = QStringLiteral("<img src='secret.png'><img src='base-sibling/secret.png'><link rel='stylesheet' href='secret.css'>"
                            "<a style='%1' href='secret.html'>relative link</a>")
                 .arg(Band) +
             hostileMarkup(1);
    return d;
}

HostileDocument HostileDocuments::source() {
    HostileDocument d;
    d.surface = Surface::Source;
    const QString text = QStringLiteral("shown %1").arg(serial_);
    const QString page = QStringLiteral("<html><head>%2<title>t</title></head><body><p id='shown'>%1</p>%3</body></html>");
    const QString hostile = hostileMarkup(1 + pick(4));
    switch (pick(6)) {
    case 0:  // a label a browser reads as UTF-8 in a document of bytes
        d.what = QStringLiteral("meta charset utf-16");
        d.file = page.arg(text, QStringLiteral("<meta charset='utf-16'>"), hostile).toUtf8();
        d.shownText = text;
        break;
    case 1:
        d.what = QStringLiteral("UTF-16 with byte order mark");
        d.file = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(page.arg(text, QString(), hostile));
        d.shownText = text;
        break;
    case 2:
        d.what = QStringLiteral("invalid UTF-8");
        d.file = page.arg(text, QStringLiteral("<meta charset='utf-8'>"), hostile).toUtf8() + QByteArray("\xff\xfe\xc3\x28\xed\xa0\x80");
        d.shownText = text;
        break;
    case 3:
        d.what = QStringLiteral("meta charset windows-1252");
        d.file = page.arg(text, QStringLiteral("<meta http-equiv='Content-Type' content='text/html; charset=windows-1252'>"), hostile).toLatin1();
        d.shownText = text;
        break;
    case 4:
        d.what = QStringLiteral("frameset of files outside");
        d.file = QStringLiteral("<html><frameset cols='50%,50%'><frame src='%1'><frame src='%2'></frameset></html>")
                     .arg(outsideUrl(QStringLiteral("secret.html")), serverUrl(QStringLiteral("/frame")))
                     .toUtf8();
        break;
    default:
        d.what = QStringLiteral("hostile page");
        d.file = page.arg(text, QStringLiteral("<meta http-equiv='refresh' content='0;url=%1'>").arg(serverUrl(QStringLiteral("/refresh"))), hostile)
                     .toUtf8();
        d.shownText = text;
    }
    return d;
}

HostileDocument HostileDocuments::style() {
    HostileDocument d;
    d.surface = Surface::StyleProperty;
    const std::pair<QString, QString> pairs[] = {
        {QStringLiteral("background-image"), QStringLiteral("url(%1)").arg(serverUrl(QStringLiteral("/style")))},
        {QStringLiteral("background"), QStringLiteral("url('%1')").arg(outsideUrl(QStringLiteral("secret.png")))},
        {QStringLiteral("color"), QStringLiteral("red; background: url(%1)").arg(serverUrl(QStringLiteral("/inject")))},
        {QStringLiteral("color:red;background-image"), QStringLiteral("url(%1)").arg(serverUrl(QStringLiteral("/name")))},
        {QStringLiteral("--x"), QStringLiteral("}</style><script>%1</script>").arg(scriptBody(t_.server, QStringLiteral("style")))},
        {QStringLiteral("list-style-image"), QStringLiteral("url(%1)").arg(outsideUrl(QStringLiteral("secret.svg")))},
        {QStringLiteral("behavior"), QStringLiteral("url(%1/htc)").arg(t_.server)},
        {QString(QChar(0)), QStringLiteral("x")},
    };
    const auto& pair = pairs[pick(std::size(pairs))];
    d.styleName = pair.first;
    d.styleValue = pair.second;
    d.what = QStringLiteral("style %1").arg(d.styleName.left(30));
    return d;
}

HostileDocument HostileDocuments::mapper(Surface surface) {
    HostileDocument d;
    d.surface = surface;
    const QString script = scriptBody(t_.server, QStringLiteral("bound"));
    const QStringList values = {
        QStringLiteral("<img src=x onerror=\"%1\">").arg(script),
        QStringLiteral("javascript:") + script,
        outsideUrl(QStringLiteral("secret.png")),
        serverUrl(QStringLiteral("/bound")),
        QStringLiteral("\"><script>%1</script>").arg(script),
        QStringLiteral("' onmouseover='%1").arg(script),
        QString(QChar(0xD800)) + QStringLiteral("</textarea><iframe src='%1'>").arg(serverUrl(QStringLiteral("/bound-frame"))),
        QStringLiteral("x").repeated(100000),
    };
    for (int i = 0; i < 4; ++i)
        d.values << values[pick(values.size())];
    const QString plain = QStringLiteral("<div data-repeat><span data-column='A'></span><input data-column='B'>"
                                         "<img data-column-src='C'><a data-column-href='D' style='%1'>row</a>"
                                         "<div data-column-onclick='A' data-column-style='B'>x</div></div>")
                              .arg(Band);
    if (surface == Surface::MapperValues) {
        d.what = QStringLiteral("bound values");
        d.html = plain;
    } else {
        d.what = QStringLiteral("hostile template");
        d.html = QStringLiteral("<div data-repeat>%1<span data-column='A'></span><textarea data-column='B'></textarea></div>")
                     .arg(hostileMarkup(1 + pick(3))) +
                 hostileMarkup(1);
    }
    return d;
}
