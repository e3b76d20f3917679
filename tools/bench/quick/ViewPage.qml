// Lumetto's view in a window, given the page as a host gives it: a body, style rules, a folder.
import QtQuick
import Lumetto

Window {
    id: window

    required property string bodyHtml
    required property string cssText
    required property url baseUrl

    title: "quick html view"
    visible: true

    HtmlView {
        anchors.fill: parent
        cssText: window.cssText
        baseUrl: window.baseUrl
        bodyHtml: window.bodyHtml
    }
}
