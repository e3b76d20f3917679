// The current paint and the list of all paints in one HtmlView, bound to the table by an
// HtmlDataMapper; the moves and Save are Qt Quick buttons. A click in a row of the list is the
// mapper's own; edits reach the database on Save, and a value it refuses stays in its field,
// marked, for the user to correct. The buttons are of the Basic style, in the page's colours.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Lumetto

ApplicationWindow {
    id: window

    required property var paints
    required property string templateHtml
    required property string cssText

    // What happened, in the status line and on the output.
    function report(text) {
        status.text = text
        console.info(text)
    }

    title: "Lumetto Qt Quick records example"
    width: 980
    height: 680
    visible: true

    header: ToolBar {
        background: Rectangle { color: "#EEF1F5" }

        RowLayout {
            anchors.fill: parent
            anchors.margins: 6
            spacing: 6

            Repeater {
                model: [
                    { text: "« First", move: () => mapper.toFirst() },
                    { text: "‹ Previous", move: () => mapper.toPrevious() },
                    { text: "Next ›", move: () => mapper.toNext() },
                    { text: "Last »", move: () => mapper.toLast() }
                ]
                Button {
                    required property var modelData
                    text: modelData.text
                    Layout.preferredWidth: 110
                    palette.button: "#D9E2EC"
                    palette.buttonText: "#243B53"
                    onClicked: modelData.move()
                }
            }
            Item { Layout.fillWidth: true }
            Button {
                text: "Save"
                palette.button: "#2F855A"
                palette.buttonText: "white"
                onClicked: window.report(mapper.submit() ? "Saved" : "Not saved: " + window.paints.storeError())
            }
        }
    }

    HtmlView {
        id: page
        anchors.fill: parent
        cssText: window.cssText
    }

    HtmlDataMapper {
        id: mapper
        view: page
        model: window.paints
        templateHtml: window.templateHtml
        submitPolicy: HtmlDataMapper.ManualSubmit
        // The model fetches its rows as the list needs them: the count is known once it has all.
        onCurrentIndexChanged: window.report(window.paints.canFetchMore(window.paints.index(-1, -1))
                                             ? "Paint " + (currentIndex + 1)
                                             : "Paint " + (currentIndex + 1) + " of " + window.paints.rowCount())
    }

    footer: Label {
        id: status
        padding: 8
        leftPadding: 18
        background: Rectangle { color: "#EEF1F5" }
    }
}
