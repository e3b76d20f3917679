import QtQuick
import QtTest
import Lumetto

// HtmlView on the screen, driven through the X server as a person drives it: what a click,
// the menu, a bound record and a lost page process make the screen show.
Item {
    id: root
    width: 480
    height: 400

    readonly property color pageColour: "#1e3c8c"
    readonly property color clickedColour: "#00a000"
    readonly property color otherColour: "#c83200"
    readonly property string fill: "position:fixed; left:0; top:0; right:0; bottom:0; background:"

    HtmlView {
        id: view
        width: parent.width
        height: 200
        actions: [
            HtmlViewAction { id: hostEntry; text: "Host entry" }
        ]
        onClicked: (element, button) => {
            if (button === Qt.LeftButton)
                element.setBackgroundColor(root.clickedColour)
        }
    }

    HtmlView {
        id: boundView
        y: 200
        width: parent.width
        height: 200
        cssText: "div { position: fixed; left: 0; top: 0; right: 0; bottom: 0 } input[data-refused] { background: " + root.otherColour + " }"
    }

    HtmlDataMapper {
        id: mapper
        view: boundView
        model: records
        templateHtml: "<div data-column='name' data-column-style='look'></div>"
    }

    HtmlDataMapper {
        id: tableMapper
        model: sqlRecords
        templateHtml: "<input data-column='name' style='position:fixed; left:10px; top:10px; width:300px; height:40px'>"
    }

    SignalSpy { id: refusedSpy; target: tableMapper; signalName: "editRefused" }

    // Declared after the mapper, it completes after it.
    ListModel {
        id: records
        ListElement { name: "first"; look: "background: #1e3c8c" }
        ListElement { name: "second"; look: "background: #c83200" }
    }

    SignalSpy { id: clickSpy; target: view; signalName: "clicked" }
    SignalSpy { id: copiedSpy; target: view; signalName: "copied" }
    SignalSpy { id: hostSpy; target: hostEntry; signalName: "triggered" }

    TestCase {
        name: "Screen"
        when: windowShown

        function init() {
            view.baseUrl = ""
            view.copyAsTextAction.visible = true
            view.copyAsHtmlAction.visible = true
            view.bodyHtml = "<div id='box' style='" + fill + pageColour + "'></div>"
            for (const spy of [clickSpy, copiedSpy, hostSpy])
                spy.clear()
            verify(screen.usable(), "the X server takes input and shows its pixels")
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 100, 100), pageColour), 10000, "the page is shown")
        }

        function test_clickReachesTheHostWhoseChangeIsShown() {
            verify(screen.click(view, 100, 100))
            tryCompare(clickSpy, "count", 1)
            compare(clickSpy.signalArguments[0][1], Qt.LeftButton)
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 100, 100), clickedColour), 10000)
        }

        function test_linkClickedStaysOnThePage() {
            view.baseUrl = Qt.resolvedUrl("../library/pages/help/")
            view.bodyHtml = "<a id='link' href='page.html' style='display:block; " + fill + pageColour + "'>link</a>"
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 100, 100), pageColour), 10000)
            verify(screen.click(view, 100, 100))
            tryCompare(clickSpy, "count", 1)
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 100, 100), clickedColour), 10000)
            let source = ""
            view.document.source((value, error) => { source = value })
            tryVerify(() => source !== "")
            verify(source.indexOf("id=\"link\"") >= 0 && source.indexOf("rgb(0, 160, 0)") >= 0,
                   "the page the host changed is the one shown: " + source)
        }

        // Runs last: the table's template takes the bound view from the list's.
        function test_typedEntryReachesTheTableUnlessTheDatabaseRefusesIt() {
            const name = () => sqlRecords.data(sqlRecords.index(0, 1))
            const field = () => {
                let found = null
                boundView.document.elements((all, error) => { found = all.find(element => element.tagName === "INPUT") })
                tryVerify(() => found !== null)
                return found
            }
            tableMapper.view = boundView
            tryCompare(boundView, "bodyHtml", tableMapper.templateHtml)
            const input = field()  // the page shows it
            verify(screen.click(boundView, 100, 30))
            verify(screen.type("s", true))
            tryVerify(() => name() === "apples", 10000, "handed to the model as the entry is committed")

            tableMapper.submitPolicy = HtmlDataMapper.ManualSubmit
            verify(screen.click(boundView, 100, 30))
            verify(screen.type("muchtoolong", true))
            let typed = ""
            tryVerify(() => { input.property("value", (value, error) => { typed = value }); return typed.endsWith("muchtoolong") }, 10000)
            compare(name(), "apples", "kept until submitted")
            verify(!tableMapper.submit())
            compare(refusedSpy.count, 1)
            compare(refusedSpy.signalArguments[0][0], 0)
            compare(refusedSpy.signalArguments[0][1], "name")
            tryVerify(() => Qt.colorEqual(screen.colourAt(boundView, 290, 30), otherColour), 10000, "the field shows the refusal")
            tableMapper.submitPolicy = HtmlDataMapper.AutoSubmit
            tableMapper.view = null
        }

        function test_menuShowsItsVisibleEntriesAndTriggersTheChosenOne() {
            verify(screen.click(view, 100, 50, Qt.RightButton))
            tryVerify(() => !Qt.colorEqual(screen.colourAt(view, 140, 60), pageColour), 10000, "the menu covers the page")
            verify(screen.click(view, 140, 60))  // its first entry
            tryCompare(copiedSpy, "count", 1)
            compare(copiedSpy.signalArguments[0][0], HtmlView.PlainText)
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 140, 60), pageColour), 10000, "the menu has closed")

            view.copyAsTextAction.visible = false
            view.copyAsHtmlAction.visible = false
            verify(screen.click(view, 100, 50, Qt.RightButton))
            tryVerify(() => !Qt.colorEqual(screen.colourAt(view, 140, 60), pageColour), 10000)
            verify(screen.click(view, 140, 60))  // the host's entry is first now
            tryCompare(hostSpy, "count", 1)
            compare(copiedSpy.count, 1)
        }

        function test_menuWithoutAVisibleEntryDoesNotOpen() {
            view.copyAsTextAction.visible = false
            view.copyAsHtmlAction.visible = false
            hostEntry.visible = false
            verify(screen.click(view, 100, 50, Qt.RightButton))
            tryCompare(clickSpy, "count", 1)
            verify(screen.click(view, 100, 100))  // a menu, open by now, would take this click
            tryCompare(clickSpy, "count", 2)
            hostEntry.visible = true
        }

        function test_boundRecordFollowsTheCurrentRowAndTheModel() {
            mapper.currentIndex = 0
            tryVerify(() => Qt.colorEqual(screen.colourAt(boundView, 100, 100), pageColour), 10000)
            mapper.toNext()
            tryVerify(() => Qt.colorEqual(screen.colourAt(boundView, 100, 100), otherColour), 10000)
            records.setProperty(1, "look", "background: " + clickedColour)
            tryVerify(() => Qt.colorEqual(screen.colourAt(boundView, 100, 100), clickedColour), 10000)
        }

        function test_killedPageProcessComesBackWithWhatEachViewShowed() {
            mapper.currentIndex = 1
            records.setProperty(1, "look", "background: " + otherColour)
            tryVerify(() => Qt.colorEqual(screen.colourAt(boundView, 100, 100), otherColour), 10000)
            let lostBox = null
            view.document.elements((all, error) => { lostBox = all.find(element => element.tagName === "DIV") })
            tryVerify(() => lostBox !== null)
            verify(screen.killPageProcess(view))
            let lost = null
            tryVerify(() => {
                lostBox.id((value, error) => { lost = error })
                return lost !== null && lost.type === HtmlError.ElementGone
            }, 20000, "the page the box was of is gone")
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 100, 100), pageColour), 20000)
            tryVerify(() => Qt.colorEqual(screen.colourAt(boundView, 100, 100), otherColour), 20000)
            verify(screen.click(view, 100, 100))
            tryCompare(clickSpy, "count", 1)
            tryVerify(() => Qt.colorEqual(screen.colourAt(view, 100, 100), clickedColour), 10000)
        }
    }
}
