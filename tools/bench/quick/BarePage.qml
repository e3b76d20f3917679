// The floor: Qt WebEngine's own view in a window, showing a whole document.
import QtQuick
import QtWebEngine

Window {
    id: window

    required property string document
    required property url baseUrl

    title: "quick bare view"
    visible: true

    WebEngineView {
        id: view
        anchors.fill: parent
        Component.onCompleted: view.loadHtml(window.document, window.baseUrl)
    }
}
