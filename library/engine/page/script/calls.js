// The control's page calls: the host calls window.__lumetto.call(op, args) and gets back
// {value} or {error, code}. The other parts of the page side (events, the menu and the
// selection, the binding, what comes back after a reload) add their operations to `ops`.
// All parts run as one script in the control's own script world, apart from the content,
// which runs no script at all; the host puts its table of failure kinds before them, as
// pageFailures.
if (window.__lumetto) return;  // already there: the host makes sure of it after each load

class ControlError extends Error {
    constructor(code, message) {
        super(message);
        this.code = code;
    }
}

// A failure of the kind the table names, with the table's description unless told.
function failure(name, message) {
    const entry = pageFailures[name];
    return new ControlError(entry.code, message || entry.description);
}

// Element handles: an element the host holds stays alive here until the host releases it,
// and the same element always has the same handle. A release names how many times the host
// received the handle: one handed out since (in an event still on its way) keeps it alive.
const elements = new Map();
const handleOf = new WeakMap();
const issued = new Map();
let nextHandle = 1;

function ref(node) {
    if (!node) return null;
    let handle = handleOf.get(node);
    if (handle === undefined) {
        handle = nextHandle++;
        handleOf.set(node, handle);
        elements.set(handle, node);
    }
    issued.set(handle, (issued.get(handle) || 0) + 1);
    return { h: handle, tag: node.tagName };
}

function element(handle) {
    const node = elements.get(handle);
    if (!node) throw failure('ElementGone', 'the element has been released');
    return node;
}

// The shell's head holds the control's own nodes; the content lives in the body. Its policy
// holds once read, so its element goes.
const dropPolicyElement = () => document.head.querySelector('meta[http-equiv]').remove();
if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', dropPolicyElement);
else dropPolicyElement();
const shell = {
    base: () => document.head.querySelector('base'),
    rules: () => document.head.querySelector('style'),
    sheet: () => document.head.querySelector('link'),
};

const formFields = new Set(['INPUT', 'SELECT', 'TEXTAREA', 'BUTTON', 'OPTION']);

// The rows a data binding made of its repeated elements, and their spacers: no part of the
// content as written, they come back from the model, not from the host's record of the content.
const generatedRows = new WeakSet();

// Where a node sits below the body, as child indices among the content as written (the rows
// of a binding left out); null outside the body or in such a row. The host keeps its writes
// and the user's field entries by these, to show them again after a reload.
function pathOf(node) {
    const path = [];
    for (let n = node; n !== document.body; n = n.parentNode) {
        if (!n || !n.parentNode || generatedRows.has(n)) return null;
        let index = 0;
        for (let before = n.previousSibling; before; before = before.previousSibling)
            if (!generatedRows.has(before)) index++;
        path.unshift(index);
    }
    return path;
}

function atPath(path) {
    let node = document.body;
    for (const index of path) {
        let child = node && node.firstChild;
        for (let left = index; child; child = child.nextSibling)
            if (!generatedRows.has(child) && left-- === 0) break;
        node = child;
    }
    if (!node) throw failure('ElementGone', 'no element at that place');
    return node;
}

// Markup is parsed in a document of its own, where nothing loads and nothing is obeyed, then
// moved in. The content's http-equiv instructions are dropped on the way: content never
// refreshes, redirects or restricts the control's page. The page is laid out anew before the
// write answers: a large write's layout, which takes longer than its parse, is then part of
// the write, whose bound grows with its size, and not of the host's next call, whose does not.
const inert = document.implementation.createHTMLDocument('');
function parsed(node, html) {
    const holder = inert.importNode(node, false);
    holder.innerHTML = html;
    for (const meta of holder.querySelectorAll('meta[http-equiv]')) meta.removeAttribute('http-equiv');
    return holder;
}
function moveContent(node, holder) {
    const moved = inert.createRange();
    moved.selectNodeContents(holder);
    node.replaceChildren(moved.extractContents());
    document.documentElement.getBoundingClientRect();
}
function replaceContent(node, html) {
    moveContent(node, parsed(node, html));
}
// New content starts at its top, as a page does, however far the content before was
// scrolled; writes into the content keep where it is.
function fromTheTop() {
    window.scrollTo({ left: 0, top: 0, behavior: 'instant' });
}

// A whole document, as a file holds it, is parsed as a document: what its head holds (style
// rules, style sheets, its title) goes into the body ahead of its body's content, and the body
// takes its body's attributes (colours, style), which the next content takes off again. They
// move as the parser made them: setAttribute refuses names that markup may hold.
let documentAttributes = [];
function setBodyAttributes(from) {
    for (const name of documentAttributes) document.body.removeAttribute(name);
    documentAttributes = Array.from(from, (attribute) => attribute.name);
    for (const attribute of Array.from(from)) document.body.setAttributeNode(attribute.cloneNode());
}
function replaceDocument(html) {
    const page = parsed(document.documentElement, html);
    const head = page.querySelector(':scope > head');
    const body = page.querySelector(':scope > body') || inert.createElement('body');
    if (head) body.prepend(...head.childNodes);
    setBodyAttributes(body.attributes);
    moveContent(document.body, body);
}

// What the user entered in a field, and putting it back.
function fieldState(node) {
    if (node.tagName === 'SELECT') return { selected: Array.from(node.options, (option) => option.selected) };
    if (node.type === 'checkbox' || node.type === 'radio') return { checked: node.checked };
    return { value: node.value };
}
function setFieldState(node, state) {
    if (state.selected) state.selected.forEach((on, i) => { if (node.options[i]) node.options[i].selected = on; });
    else if ('checked' in state) node.checked = state.checked;
    else if (node.type !== 'file') node.value = state.value;
}

// Names match without regard to case; a form field's "value" is what the user entered
// or chose, not the markup's; an absent attribute is null.
function attribute(node, name) {
    if (name.toLowerCase() === 'value' && formFields.has(node.tagName)) return node.value;
    return node.getAttribute(name);
}

// The document's title, which comes before any in the content, is the control's name for
// screen readers. It sits in the head, which no write replaces, and is no part of the
// content: the page's source leaves it out.
function title() {
    return document.head.querySelector('title');
}
const ops = {
    setBase(url) { shell.base().href = url; },
    setStyle(text, fromUrl) {
        if (fromUrl) {
            shell.rules().textContent = '';
            shell.sheet().href = text;
        } else {
            shell.sheet().removeAttribute('href');
            shell.rules().textContent = text;
        }
    },
    setBody(html) {
        setBodyAttributes([]);
        binding = null;
        replaceContent(document.body, html);
        fromTheTop();
    },
    // A file's document comes with its folder, the base of its references, when that
    // changes: in one step, so that no frame shows the one with the other's files.
    setDocument(html, base) {
        if (base !== undefined) shell.base().href = base;
        binding = null;
        replaceDocument(html);
        fromTheTop();
    },
    // Tells the host once the content and its images are drawn.
    reportDrawn() {
        const loading = Array.from(document.images, (image) => image.complete ? null : new Promise((done) => {
            image.addEventListener('load', done, { once: true });
            image.addEventListener('error', done, { once: true });
        }));
        const drawn = () => toHost((h) => h.contentDrawn());
        Promise.all(loading).then(() => requestAnimationFrame(() => requestAnimationFrame(drawn)));
    },
    source() {
        const named = title();
        if (named) named.remove();
        const source = document.documentElement.outerHTML;
        if (named) document.head.append(named);
        return source;
    },
    setName(name) {
        const named = title() || document.createElement('title');
        named.textContent = name;
        if (name) document.head.append(named);
        else named.remove();
    },
    carry(steps) { carryOut(steps); },
    body() { return ref(document.body); },
    // Every element as [handle, tag, name, value], the name and value as getAttribute
    // reports them now: the host asks these of every element when it walks a form. Sent as
    // JSON text, which crosses to the host much faster than a structure of that size.
    all() {
        return JSON.stringify(Array.from(document.getElementsByTagName('*'), (node) => {
            const r = ref(node);
            return [r.h, r.tag, attribute(node, 'name'), attribute(node, 'value')];
        }));
    },
    // How many elements the page keeps for the host. The host never asks; the tests and
    // the memory benchmark do, to see that releases reach the page: the table is private
    // to this script's closure, so no script of theirs could count it.
    handleCount() { return elements.size; },
    release(handles) {
        for (const [handle, received] of handles) {
            const node = elements.get(handle);
            if (!node) continue;
            const left = issued.get(handle) - received;
            if (left > 0) {
                issued.set(handle, left);
                continue;
            }
            issued.delete(handle);
            elements.delete(handle);
            handleOf.delete(node);
        }
    },
    id(handle) { return element(handle).id; },
    styleProperty(handle, name) { return element(handle).style.getPropertyValue(name); },
    setStyleProperty(handle, name, value) { element(handle).style.setProperty(name, value); },
    setInnerHTML(handle, html) {
        const node = element(handle);
        replaceContent(node, html);
        return pathOf(node);
    },
    setInnerHTMLAt(path, html) { replaceContent(atPath(path), html); },
    setFieldAt(path, state) { setFieldState(atPath(path), state); },
    getAttribute(handle, name) { return attribute(element(handle), name); },
    member(handle, name) {
        const node = element(handle);
        if (name in node) return node[name];
        const lower = name.toLowerCase();
        if (lower in node) return node[lower];
        throw failure('NoSuchProperty', `the ${node.tagName} element has no property "${name}"`);
    },
};

window.__lumetto = {
    // A call with a deadline that has passed is not carried out: its caller has given up
    // on it and told its own caller that it failed.
    call(op, args, deadline) {
        if (deadline !== undefined && Date.now() > deadline)
            return { error: 'the page came to the call after its caller had given up', code: 0 };
        try {
            return { value: ops[op].apply(null, args) };
        } catch (e) {
            return { error: String((e && e.message) || e), code: (e && e.code) || 0 };
        }
    },
};
