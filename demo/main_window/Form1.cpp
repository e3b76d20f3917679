#include "main_window/Form1.h"

#include "content/basGlobal.h"
#include "forms/EventProcedure.h"
#include "forms/ReportLabel.h"
#include "forms/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

using contract::DesignSettings;
using contract::Variant;

// Client area of the window, in twips.
constexpr int ClientWidth = 8265;
constexpr int ClientHeight = 8160;

QSize clientSize() {
    return QSize(forms::twipsToPixels(ClientWidth), forms::twipsToPixels(ClientHeight));
}

struct Placement {
    int left, top, width, height;
};

// The controls' design, in twips, as laid out top to bottom.
constexpr Placement vekBrowser1Design{15, 60, 8235, 5325};
constexpr Placement Command1Design{5895, 5415, 2340, 375};
constexpr Placement lblClipCaptionDesign{105, 5640, 2865, 300};
constexpr Placement brClipDesign{45, 5880, 8175, 1620};
constexpr Placement cmdViewCodeDesign{90, 7680, 1440, 420};
constexpr Placement Label2Design{3045, 7710, 1815, 345};
constexpr Placement Label1Design{4920, 7710, 3210, 345};

void place(QWidget* control, const Placement& p) {
    control->setGeometry(forms::twipsRect(p.left, p.top, p.width, p.height));
}

DesignSettings vekBrowser1Settings() {
    return {
        {QStringLiteral("_extentx"), Variant::fromLong(14526)},
        {QStringLiteral("_extenty"), Variant::fromLong(9393)},
        {QStringLiteral("csshttp"), Variant::fromBool(false)},
        {QStringLiteral("csstext"),
         Variant::fromString(QStringLiteral(
             "BODY {margin:0;font-family:Verdana, Arial, Helvetica, sans-serif;overflow:hidden;}"))},
        {QStringLiteral("respondtoevents"), Variant::fromBool(true)},
        {QStringLiteral("allowmouseselect"), Variant::fromBool(true)},
        {QStringLiteral("showrightclickclipboardmenu"), Variant::fromBool(true)},
    };
}

DesignSettings brClipSettings() {
    return {
        {QStringLiteral("_extentx"), Variant::fromLong(14420)},
        {QStringLiteral("_extenty"), Variant::fromLong(2858)},
        {QStringLiteral("csshttp"), Variant::fromBool(false)},
    };
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* control = new QPushButton(caption, parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

// Captions are plain text on one line, top-left aligned.
QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* control = new QLabel(caption, parent);
    control->setObjectName(QLatin1String(name));
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return control;
}

// Label2's caption reads into Label1 ("Last Click - LeftClick : TD"), so it is right-aligned
// against it. Where the platform's font is wider than the design's, the label reaches further
// left, so that its longest caption stays whole; its right edge stays where the design has it.
void alignIntoNextLabel(QLabel* label, const QString& longestCaption) {
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QRect area = label->geometry();
    const int needed = label->fontMetrics().horizontalAdvance(longestCaption) + 2 * label->margin() + 2;
    if (needed > area.width())
        area.setLeft(area.right() + 1 - needed);
    label->setGeometry(area);
}

}  // namespace

Form1::Form1(contract::vekBrowserFactory& controls, forms::Platform& platform) : platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    createMenus();
    createControls(controls);
    fitOnScreen();

    forms::connectEventProcedure(mnuCSSGreen, &QAction::triggered, this, platform_, &Form1::mnuCSSGreen_Click);
    forms::connectEventProcedure(mnuCSSWhite, &QAction::triggered, this, platform_, &Form1::mnuCSSWhite_Click);
    // Qt flips a checkable item's mark before it reports the choice; the mark is
    // mnuOptSelect_Click's to set, so that flip is undone first.
    connect(mnuOptSelect, &QAction::triggered, this, [this](bool flipped) { mnuOptSelect->setChecked(!flipped); });
    forms::connectEventProcedure(mnuOptSelect, &QAction::triggered, this, platform_, &Form1::mnuOptSelect_Click);
    forms::connectEventProcedure(Command1, &QPushButton::clicked, this, platform_, &Form1::Command1_Click);
    forms::connectEventProcedure(cmdViewCode, &QPushButton::clicked, this, platform_, &Form1::cmdViewCode_Click);
}

Form1::~Form1() = default;

void Form1::createControls(contract::vekBrowserFactory& controls) {
    auto* client = new QWidget;
    client->setFixedSize(clientSize());
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(client);
    setCentralWidget(area);

    vekBrowser1 = controls.create(client, vekBrowser1Settings());
    vekBrowser1->widget()->setObjectName(QStringLiteral("vekBrowser1"));
    vekBrowser1->setEventSink(this);
    place(vekBrowser1->widget(), vekBrowser1Design);

    Command1 = button(client, "Command1", QStringLiteral("Current Text Selection"));
    place(Command1, Command1Design);

    lblClipCaption = label(client, "lblClipCaption", QStringLiteral("Clipboard Contents"));
    place(lblClipCaption, lblClipCaptionDesign);

    // Created after the caption so that it lies over the caption's bottom edge.
    brClip = controls.create(client, brClipSettings());
    brClip->widget()->setObjectName(QStringLiteral("brClip"));
    place(brClip->widget(), brClipDesign);

    cmdViewCode = button(client, "cmdViewCode", QStringLiteral("View Code"));
    place(cmdViewCode, cmdViewCodeDesign);

    Label2 = label(client, "Label2", QStringLiteral("Last Click :"));
    place(Label2, Label2Design);
    alignIntoNextLabel(Label2, QStringLiteral("Last Click - RightClick : "));

    Label1 = label(client, "Label1", QStringLiteral("Label1"));
    place(Label1, Label1Design);

    // What a screen reader says of the controls. The page and the mirror are named as what they
    // show; the mirror takes the name of its caption. Label2 names Label1, so that the two read
    // together as the report of the last click, which is spoken as it changes.
    vekBrowser1->widget()->setAccessibleName(QStringLiteral("Page"));
    vekBrowser1->widget()->setAccessibleDescription(QStringLiteral("Clicks in the page are reported below it"));
    lblClipCaption->setBuddy(brClip->widget());
    brClip->widget()->setAccessibleDescription(QStringLiteral("Copies from the page and the questionnaire's answers"));
    Label2->setBuddy(Label1);
    forms::makeReport(*Label2);
    forms::makeReport(*Label1);
    Label1->setAccessibleDescription(QStringLiteral("The tag name of the element last clicked in the page"));

    // Tab order: vekBrowser1, cmdViewCode, Label1, Label2, brClip, lblClipCaption, Command1.
    // Labels take no focus, so the keyboard moves among the controls that do.
    setTabOrder(vekBrowser1->widget(), cmdViewCode);
    setTabOrder(cmdViewCode, brClip->widget());
    setTabOrder(brClip->widget(), Command1);
}

// The window has the design's size and cannot be resized. On a screen too small for it, it is
// as large as the screen allows and its content scrolls, so that every control can be reached.
void Form1::fitOnScreen() {
    const QSize designed = clientSize() + QSize(0, menuBar()->sizeHint().height());
    const QSize screenRoom = screen()->availableGeometry().size() - QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize size = designed;
    if (designed.height() > screenRoom.height())
        size.rwidth() += bar;
    if (designed.width() > screenRoom.width())
        size.rheight() += bar;
    setFixedSize(size.boundedTo(screenRoom));
}

void Form1::createMenus() {
    mnuCSS = menuBar()->addMenu(QStringLiteral("CSS"));
    mnuCSS->setObjectName(QStringLiteral("mnuCSS"));
    mnuCSSGreen = mnuCSS->addAction(QStringLiteral("Set bg to Green"));
    mnuCSSGreen->setObjectName(QStringLiteral("mnuCSSGreen"));
    mnuCSSWhite = mnuCSS->addAction(QStringLiteral("Set bg to White"));
    mnuCSSWhite->setObjectName(QStringLiteral("mnuCSSWhite"));

    mnuOpt = menuBar()->addMenu(QStringLiteral("Options"));
    mnuOpt->setObjectName(QStringLiteral("mnuOpt"));
    mnuOptSelect = mnuOpt->addAction(QStringLiteral("Allow Selection"));
    mnuOptSelect->setObjectName(QStringLiteral("mnuOptSelect"));
    mnuOptSelect->setCheckable(true);
    mnuOptSelect->setChecked(true);  // the control starts with mouse selection allowed
}

bool Form1::load() {
    return forms::runEventProcedure(platform_, [this] { Form_Load(); });
}

void Form1::Form_Load() {
    basGlobal::PageState = 0;

    // The base location: the application directory with one separator appended, in forward
    // slashes. Where "\" separates folders, every "\" is made "/"; elsewhere a "\" is a
    // character of a folder's name and stays.
    QString base = platform_.applicationDirectory();
    const QChar separator = platform_.directorySeparator();
    base += separator;
    if (separator == QLatin1Char('\\'))
        base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    vekBrowser1->setBaseURL(base);

    vekBrowser1->AddMenuItem(QStringLiteral("Sep1"), QStringLiteral("-"));
    vekBrowser1->AddMenuItem(QStringLiteral("mnuCheck"), QStringLiteral("Check this menu"));

    basGlobal::BuildPages();

    vekBrowser1->setCSSFromURL(Variant::fromBool(false));
    vekBrowser1->setBodyHTML(basGlobal::ProductPageHTML);
}

void Form1::Form_Unload() {
    LastElement.reset();
}

void Form1::closeEvent(QCloseEvent* event) {
    forms::runEventProcedure(platform_, [this] { Form_Unload(); });
    event->accept();
}
