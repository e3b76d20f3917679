#include "driving/PageGeometry.h"

#include "driving/Input.h"
#include "driving/PageScript.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

QRect boundingBox(QWebEngineView* view, const QString& selector) {
    // The page's own scripts are off; this runs in the control's script world.
    const QVariantList box = evaluateInPage(view, QStringLiteral(
        "(() => { const node = document.querySelector(%1); if (!node) return null;"
        " const r = node.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()")
        .arg(scriptString(selector))).toList();
    if (box.size() != 4)
        return {};
    return QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble()).toAlignedRect();
}

void dragAcross(QWebEngineView* view, const QPoint& from, const QPoint& to) {
    QWidget* target = view->focusProxy();
    // A press on selected text drags that text instead of selecting, and the engine would
    // wait for a drop that never comes: such a drag is cancelled, as a person would with Esc.
    QTimer cancel;
    cancel.setSingleShot(true);
    QObject::connect(&cancel, &QTimer::timeout, target, [target] { input::key(target, Qt::Key_Escape); });
    cancel.start(3000);
    constexpr int Steps = 10;
    input::move(target, from);
    // Apart from the last click, so that the press starts a new selection rather than
    // counting as a further click of it.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    input::press(target, from);
    for (int i = 1; i <= Steps; ++i) {
        QTest::qWait(30);
        input::move(target, from + (to - from) * i / Steps);
    }
    QTest::qWait(30);
    input::release(target, to);
    QTest::qWait(50);
}
