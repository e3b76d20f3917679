import QtQuick
import QtTest
import Lumetto

// HtmlView as a QML program uses it: its properties and their signals, the document's reads,
// the user's clicks and the clipboard actions.
Item {
    id: root
    width: 400
    height: 300

    HtmlView {
        id: view
        width: parent.width
        height: 200
    }

    HtmlView {
        id: listView
        y: 200
        width: parent.width
        height: 100
    }

    ListModel { id: laterRows }

    HtmlDataMapper {
        id: listMapper
        view: listView
        model: laterRows
        templateHtml: "<p data-column='title'></p><input data-column='count'>"
    }

    Loader {
        id: loaded
        active: false
        y: 300
        sourceComponent: HtmlView {
            width: 100
            height: 100
        }
    }

    SignalSpy { id: bodySpy; target: view; signalName: "bodyHtmlChanged" }
    SignalSpy { id: sourceSpy; target: view; signalName: "sourceChanged" }
    SignalSpy { id: cssSpy; target: view; signalName: "cssTextChanged" }
    SignalSpy { id: fromUrlSpy; target: view; signalName: "cssFromUrlChanged" }
    SignalSpy { id: baseSpy; target: view; signalName: "baseUrlChanged" }
    SignalSpy { id: selectSpy; target: view; signalName: "mouseSelectEnabledChanged" }
    SignalSpy { id: errorSpy; target: view; signalName: "errorOccurred" }
    SignalSpy { id: clickSpy; target: view; signalName: "clicked" }

    TestCase {
        name: "HtmlView"
        when: windowShown

        readonly property url pages: Qt.resolvedUrl("../library/pages/")

        function init() {
            for (const spy of [bodySpy, sourceSpy, cssSpy, fromUrlSpy, baseSpy, selectSpy, errorSpy, clickSpy])
                spy.clear()
        }

        // Waits for a read and hands back what its callback and its promise were given.
        function settled(read) {
            const outcome = { calls: 0 }
            const promise = read((value, error) => { ++outcome.calls; outcome.value = value; outcome.error = error })
            outcome.inCall = outcome.calls
            promise.then(value => { outcome.resolved = value }, error => { outcome.rejected = error })
            tryVerify(() => outcome.calls > 0 && (outcome.resolved !== undefined || outcome.rejected !== undefined))
            return outcome
        }

        function test_listModelWithoutRowsBindsAsTheyComeAndFollowsMoves() {
            compare(listView.bodyHtml, "")
            laterRows.append({ title: "first", count: 1 })
            laterRows.append({ title: "second", count: 2 })
            tryCompare(listView, "bodyHtml", listMapper.templateHtml)
            compare(listMapper.error.valid, false)
            const shows = () => settled(callback => listView.document.source(callback)).value
            tryVerify(() => shows().indexOf(">first<") >= 0)
            listMapper.toNext()
            compare(listMapper.currentIndex, 1)
            tryVerify(() => shows().indexOf(">second<") >= 0)
            laterRows.setProperty(1, "title", "changed")
            tryVerify(() => shows().indexOf(">changed<") >= 0)
        }

        function test_viewUnloadedWhileItsReadsWaitGoesWithoutHarm() {
            loaded.active = true
            tryVerify(() => loaded.item !== null)
            loaded.item.bodyHtml = "<p>unloaded</p>"
            settled(callback => loaded.item.document.source(callback))  // its page is up
            for (let i = 0; i < 50; ++i)
                loaded.item.document.source()
            loaded.active = false
            tryVerify(() => loaded.item === null)
            view.bodyHtml = "<p>still here</p>"
            for (let i = 0; i < 3; ++i)  // the engine answers what the gone view asked meanwhile
                verify(settled(callback => view.document.source(callback)).value.indexOf("still here") >= 0)
        }

        function test_writesNotifyOnlyWhatChanged_data() {
            return [
                { tag: "bodyHtml", property: "bodyHtml", spy: bodySpy, value: "<p>one</p>" },
                { tag: "cssText", property: "cssText", spy: cssSpy, value: "p { color: red }" },
                { tag: "cssFromUrl", property: "cssFromUrl", spy: fromUrlSpy, value: !view.cssFromUrl },
                { tag: "baseUrl", property: "baseUrl", spy: baseSpy, value: pages },
                { tag: "mouseSelectEnabled", property: "mouseSelectEnabled", spy: selectSpy, value: !view.mouseSelectEnabled },
            ]
        }

        function test_writesNotifyOnlyWhatChanged(data) {
            view[data.property] = data.value
            compare(view[data.property], data.value)
            compare(data.spy.count, 1)
            compare(data.spy.signalArguments[0][0], data.value)
            view[data.property] = data.value
            compare(data.spy.count, 1, "the same value again changes nothing")
            compare(errorSpy.count, 0)
        }

        function test_sourceShowsTheFileWithItsFolderUntilTextReplacesIt() {
            const file = Qt.resolvedUrl("../library/pages/help/page.html")
            view.source = file
            compare(view.source, file)
            compare(view.baseUrl, Qt.resolvedUrl("../library/pages/help/"))
            verify(view.bodyHtml.indexOf("square.svg") >= 0, view.bodyHtml)
            compare(sourceSpy.count, 1)
            view.bodyHtml = "<p>text</p>"
            compare(view.source, "")
            compare(sourceSpy.count, 2)
        }

        function test_refusedSourceIsReportedAndChangesNothing() {
            view.bodyHtml = "<p>kept</p>"
            bodySpy.clear()
            view.source = "http://example.com/page.html"
            compare(errorSpy.count, 1, "reported before the write returns")
            const error = errorSpy.signalArguments[0][0]
            compare(error.type, HtmlError.SourceUnreadable)
            compare(error.call, "setSource")
            verify(error.description.indexOf("http://example.com/page.html") >= 0, error.description)
            compare(view.error.type, HtmlError.SourceUnreadable)
            compare(view.bodyHtml, "<p>kept</p>")
            compare(view.source, "")
            compare(bodySpy.count, 0)
        }

        function test_contentRunsNoScriptAndLoadsNothingFromOutsideItsFolder() {
            view.baseUrl = Qt.resolvedUrl("../library/pages/help/")
            view.bodyHtml = "<p id='target'>as written</p><script>document.getElementById('target').textContent = 'ran'</script>"
                          + "<img id='probe' src='missing.gif' onerror=\"this.setAttribute('data-ran', 'yes')\">"
                          + "<img id='inside' src='square.svg'><img id='outside' src='../outside.svg'>"
                          + "<img id='remote' src='http://127.0.0.1:9/remote.svg'>"
            const all = settled(callback => view.document.elements(callback)).value
            const byId = id => all.find(element => element.tagName !== "BODY" && settled(callback => element.id(callback)).value === id)
            compare(settled(callback => byId("target").innerHtml(callback)).value, "as written")
            const probe = byId("probe")
            tryVerify(() => settled(callback => probe.property("complete", callback)).value === true)
            compare(settled(callback => probe.attribute("data-ran", callback)).value, "")
            tryVerify(() => settled(callback => byId("inside").property("naturalWidth", callback)).value > 0)
            compare(settled(callback => byId("outside").property("naturalWidth", callback)).value, 0)
            compare(settled(callback => byId("remote").property("naturalWidth", callback)).value, 0)
        }

        function test_readsAnswerLaterThroughTheCallbackAndThePromise() {
            view.bodyHtml = "<p id='first' title='a title'>First</p><div>Second</div>"
            const source = settled(callback => view.document.source(callback))
            compare(source.inCall, 0, "never inside the call")
            compare(source.calls, 1)
            verify(source.value.indexOf("id=\"first\"") >= 0, source.value)
            compare(source.resolved, source.value)
            compare(source.error, undefined)

            const all = settled(callback => view.document.elements(callback)).value
            const tags = all.map(element => element.tagName)
            verify(tags.indexOf("P") >= 0 && tags.indexOf("DIV") > tags.indexOf("P"), tags)
            const first = all[tags.indexOf("P")]
            compare(settled(callback => first.id(callback)).value, "first")
            compare(settled(callback => first.attribute("title", callback)).value, "a title")
            compare(settled(callback => first.innerHtml(callback)).value, "First")
            const body = settled(callback => view.document.body(callback)).value
            compare(body.tagName, "BODY")
        }

        function test_elementWritesReachThePageAndFailuresNameTheirKind() {
            view.bodyHtml = "<p id='target'>before</p>"
            const all = settled(callback => view.document.elements(callback)).value
            const target = all.find(element => element.tagName === "P")
            verify(!target.setInnerHtml("<b>after</b>").valid)
            compare(settled(callback => target.innerHtml(callback)).value, "<b>after</b>")
            verify(!target.setStyleProperty("color", "rgb(0, 128, 0)").valid)
            compare(settled(callback => target.styleProperty("color", callback)).value, "rgb(0, 128, 0)")

            const lacking = settled(callback => target.property("noSuchPropertyAnywhere", callback))
            compare(lacking.error.type, HtmlError.NoSuchProperty)
            compare(lacking.rejected.type, HtmlError.NoSuchProperty)
            view.bodyHtml = "<p>replaced</p>"
            const kept = settled(callback => target.innerHtml(callback))
            compare(kept.value, "<b>after</b>", "an element of replaced content stays readable")
        }

        function test_clickCarriesTheElementAndTheButton_data() {
            return [ { tag: "left", button: Qt.LeftButton }, { tag: "right", button: Qt.RightButton } ]
        }

        function test_clickCarriesTheElementAndTheButton(data) {
            view.bodyHtml = "<div id='box' style='position:fixed; left:0; top:0; width:200px; height:100px'>box</div>"
            settled(callback => view.document.source(callback))  // the page shows it
            mouseClick(view, 50, 50, data.button)
            tryCompare(clickSpy, "count", 1)
            const element = clickSpy.signalArguments[0][0]
            compare(clickSpy.signalArguments[0][1], data.button)
            compare(element.tagName, "DIV")
            compare(settled(callback => element.id(callback)).value, "box")
        }

        function test_clipboardActionsCopyBetweenAboutToCopyAndCopied() {
            const events = []
            const before = format => events.push("aboutToCopy " + format)
            const after = format => events.push("copied " + format)
            view.aboutToCopy.connect(before)
            view.copied.connect(after)
            view.bodyHtml = "<p>copied text</p>"
            settled(callback => view.document.source(callback))
            view.copyAsHtmlAction.trigger()
            view.copyAsTextAction.trigger()
            tryCompare(events, "length", 4)
            compare(events, ["aboutToCopy " + HtmlView.Html, "copied " + HtmlView.Html,
                             "aboutToCopy " + HtmlView.PlainText, "copied " + HtmlView.PlainText])
            view.aboutToCopy.disconnect(before)
            view.copied.disconnect(after)
        }
    }
}
