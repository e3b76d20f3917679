// The current paint with its fields and buttons, and the list of all paints, in one HtmlView
// bound to the table by an HtmlDataMapper through the widget example's template. A click on a
// button of the page moves or saves; a click in a row of the list is the mapper's own. Edits
// reach the database on Save, and a value it refuses stays in its field, for the user to correct.
import QtQuick
import QtQuick.Controls.Basic
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

    HtmlView {
        id: page
        anchors.fill: parent
        cssText: window.cssText
        // The clicked element's id is read from the page, and handed over later.
        onClicked: (element, button) => {
            if (button !== Qt.LeftButton)
                return
            element.id((id, error) => {
                const moves = {
                    first: () => mapper.toFirst(),
                    previous: () => mapper.toPrevious(),
                    next: () => mapper.toNext(),
                    last: () => mapper.toLast()
                }
                if (error)
                    return
                if (id === "save")
                    window.report(mapper.submit() ? "Saved" : "Not saved: " + window.paints.storeError())
                else if (moves[id])
                    moves[id]()
            })
        }
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
        leftPadding: 12
    }
}
