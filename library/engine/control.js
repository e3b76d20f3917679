// The display control's page side. It runs in the control's own script world, apart from the
// content, which runs no script at all. The host calls window.__lumetto.call(op, args) and
// gets back {value} or {error, code}; events go to the host over the web channel. The host
// puts its table of failure kinds before this script, as pageFailures.
(function () {
    'use strict';
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

    // Where a node sits below the body, as child indices; null outside the body. The host keeps
    // its writes and the user's field entries by these, to show them again after a reload.
    function pathOf(node) {
        const path = [];
        for (let n = node; n !== document.body; n = n.parentNode) {
            if (!n || !n.parentNode) return null;
            path.unshift(Array.prototype.indexOf.call(n.parentNode.childNodes, n));
        }
        return path;
    }

    function atPath(path) {
        let node = document.body;
        for (const index of path) node = node && node.childNodes[index];
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

    let allowMouseSelect = true;

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
            replaceContent(document.body, html);
        },
        setDocument(html) { replaceDocument(html); },
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
        createRange() {
            const selection = window.getSelection();
            const text = selection.toString();
            if (text === '' && selection.rangeCount > 0) {
                const picked = selection.getRangeAt(0).cloneContents();
                if (picked.querySelector && picked.querySelector('img, input, select, textarea, button, object'))
                    return { controls: true };
            }
            return { controls: false, text: text };
        },
        selectionHtml() {
            const selection = window.getSelection();
            const holder = document.createElement('div');
            for (let i = 0; i < selection.rangeCount; i++) holder.appendChild(selection.getRangeAt(i).cloneContents());
            return holder.innerHTML;
        },
        setAllowMouseSelect(allow) {
            allowMouseSelect = allow;
            if (!allow) window.getSelection().removeAllRanges();
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
            throw failure('NoSuchProperty');
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

    // Steps that reach the page after the host's calls returned: the writes the host made while
    // the page loaded, and what a page loaded anew shows again. No call is left to fail with a
    // step that fails, so the host is told of it.
    function carryOut(steps) {
        for (const [op, args] of steps) {
            const outcome = window.__lumetto.call(op, args);
            if ('error' in outcome) toHost((h) => h.stepFailed(op, outcome.error, outcome.code));
        }
    }

    // The steps a new shell carries, carried out as it loads.
    function carryOutShellSteps() {
        const block = document.getElementById('lumetto-steps');
        if (!block) return;
        block.remove();
        carryOut(JSON.parse(block.textContent));
    }
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', carryOutShellSteps);
    else carryOutShellSteps();

    // The host keeps what the user types or chooses, to put it back after a reload.
    function fieldChanged(event) {
        const node = event.target;
        if (!(node instanceof Element) || !formFields.has(node.tagName)) return;
        const path = pathOf(node);
        if (path) toHost((h) => h.fieldChanged(path, fieldState(node)));
    }
    document.addEventListener('input', fieldChanged, true);
    document.addEventListener('change', fieldChanged, true);

    // The element under a click: text is reported as its element, the root as the body.
    function clicked(event) {
        let node = event.target;
        if (node && node.nodeType !== Node.ELEMENT_NODE) node = node.parentElement;
        if (!node || node === document.documentElement) node = document.body;
        return node;
    }

    const LeftClick = 1;
    const RightClick = 2;

    // Links and forms never navigate: the control shows only what its host gave it.
    window.addEventListener('click', (event) => {
        if (event.target instanceof Element && event.target.closest('a[href], area[href]')) event.preventDefault();
        if (event.button !== 0) return;
        send(LeftClick, ref(clicked(event)));
    }, true);
    window.addEventListener('submit', (event) => event.preventDefault(), true);

    // The right-click menu is the control's own: the engine's is never shown.
    window.addEventListener('contextmenu', (event) => {
        event.preventDefault();
        send(RightClick, Object.assign(ref(clicked(event)), { x: event.clientX, y: event.clientY }));
    }, true);

    // Without mouse selection nothing is selected: neither the content nor a field's text.
    document.addEventListener('selectstart', (event) => {
        if (!allowMouseSelect) event.preventDefault();
    }, true);
    document.addEventListener('select', (event) => {
        const field = event.target;
        if (!allowMouseSelect && field.selectionStart !== field.selectionEnd)
            field.setSelectionRange(field.selectionEnd, field.selectionEnd);
    }, true);
})();
