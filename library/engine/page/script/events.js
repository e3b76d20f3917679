// Events to the host over the web channel, and the clicks in the page.

// Messages to the host, in order; those sent before the channel is up wait for it.
let host = null;
const pending = [];
function toHost(message) {
    if (host) message(host);
    else pending.push(message);
}
function send(event, detail) {
    toHost((h) => h.pageEvent(event, detail));
}
new QWebChannel(qt.webChannelTransport, (channel) => {
    host = channel.objects.control;
    for (const message of pending.splice(0)) message(host);
});

// A click is raised to the host, which may answer it with writes into the page: the page waits
// for the answer inside the click's event (a synchronous request over the control's event
// scheme) and carries it out before the event returns, so that what the host writes shows in
// the frame that shows the click, as a handler of the page's own would. The click carries what
// a handler usually reads of the element, which the host answers those reads from while the
// page waits. Without the channel, or the scheme, the click is raised without waiting.
let raised = 0;
function raiseClick(event, node, extra) {
    const detail = Object.assign(ref(node), extra);
    const address = host && host.answerAddress;
    if (!address) return send(event, detail);
    detail.wait = ++raised;
    detail.carried = carriedOf(node);
    send(event, detail);
    const answer = answerAt(address + detail.wait);
    if (!answer) toHost((h) => h.answerNotAsked(detail.wait));  // the host is not to wait for the request
    for (const [op, args] of answer || []) window.__lumetto.call(op, args);
}

// The host's answer: the page operations its handlers wrote; null when the request failed.
function answerAt(url) {
    const request = new XMLHttpRequest();
    try {
        request.open('POST', url, false);
        request.send();
        return request.status === 200 ? JSON.parse(request.responseText) : null;
    } catch (e) {
        return null;
    }
}

// What a handler reads of a clicked element, as the page's calls read it. Attributes too large
// to carry in every click (an image's data, say) are left to the page.
const CarriedAttributeChars = 65536;
function carriedOf(node) {
    const carried = { id: node.id, html: node.namespaceURI === 'http://www.w3.org/1999/xhtml' };
    const attributes = Array.from(node.attributes, (a) => [a.name, a.value]);
    if (attributes.reduce((sum, [name, value]) => sum + name.length + value.length, 0) <= CarriedAttributeChars)
        carried.attributes = attributes;
    if (formFields.has(node.tagName)) carried.fieldValue = node.value;
    if (node.style) {
        carried.style = {};
        for (let i = 0; i < node.style.length; i++) carried.style[node.style.item(i)] = node.style.getPropertyValue(node.style.item(i));
    }
    return carried;
}

// The element under a click: text is reported as its element, the root as the body.
function clicked(event) {
    let node = event.target;
    if (node && node.nodeType !== Node.ELEMENT_NODE) node = node.parentElement;
    if (!node || node === document.documentElement) node = document.body;
    return node;
}

const LeftClick = 1;
const RightClick = 2;

// Links and forms never navigate: the control shows only what its host gave it. A link is
// an element of HTML or SVG (<a>, <area>) whatever attribute names its target, followed by
// the mouse or by a key, which the page turns into a click. A link opened in a new window
// (the middle button, ctrl) asks for a window, which the control never gives.
window.addEventListener('click', (event) => {
    if (event.target instanceof Element && event.target.closest('a, area')) event.preventDefault();
    if (event.button !== 0) return;
    raiseClick(LeftClick, clicked(event));
    const row = boundRowOf(clicked(event));
    if (row) toHost((h) => h.boundRowClicked(rowKeys.get(row)));
}, true);
window.addEventListener('submit', (event) => event.preventDefault(), true);
