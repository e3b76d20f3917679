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
    send(LeftClick, ref(clicked(event)));
    const row = boundRowOf(clicked(event));
    if (row) toHost((h) => h.boundRowClicked(rowKeys.get(row)));
}, true);
window.addEventListener('submit', (event) => event.preventDefault(), true);
