// The floor: Qt WebEngine's own view in a window, showing a whole document.
import QtQuick
import QtWebEngine

Window {
    required property string document
    required property url baseUrl

    title: "quick bare view"
    visible: true

    WebEngineView {
        anchors.fill: parent
        Component.onCompleted: loadHtml(document, baseUrl)
    }
}
