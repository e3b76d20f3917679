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

    // A data binding (HtmlDataMapper): the elements of the body marked with model columns by
    // their names, filled with the values the host sends as JSON, always as text or attribute
    // values. A repeated element (data-repeat) is cloned for every row the page holds, after a
    // comment left in its place; the marks outside show the current row. A value is a string,
    // null (NULL), {image: data URL or null} (a BLOB), or a cell {text, edit, readOnly, refused,
    // pending}: the text elements and attributes show, the text a field edits, whether the field
    // takes no edits, whether the model refused the user's value in it, whether the value is the
    // user's entry that the model has not been handed yet.
    let binding = null;
    const boundFieldTags = new Set(['INPUT', 'SELECT', 'TEXTAREA']);
    // The user's entries in bound fields are numbered as they are reported. A value the host
    // sends for a field the user has typed into since the last entry the host had taken in
    // is older than what the field shows: the field keeps the user's text, of which the host
    // hears next.
    let editsReported = 0;
    let editsTakenIn = 0;
    const lastEdit = new WeakMap();
    // A field's entries up to the one it had when the host last showed a value of the model in
    // it, or when the host last settled the user's edits (submit, revert), are no longer the
    // user's change: leaving the field commits nothing of them.
    let editsSettled = 0;
    const shownAfter = new WeakMap();
    const changedByUser = (node) => (lastEdit.get(node) || 0) > Math.max(shownAfter.get(node) || 0, editsSettled);
    const checkable = (node) => node.tagName === 'INPUT' && (node.type === 'checkbox' || node.type === 'radio');
    // Fields made read-only for a cell that takes no edits; the template's own stay as written.
    const madeReadOnly = new WeakSet();

    // The marks of an element: [attribute or null for its text, column number].
    function marksOf(node, columns) {
        const marks = [];
        for (const { name, value } of node.attributes) {
            if (name !== 'data-column' && !name.startsWith('data-column-')) continue;
            const attribute = name === 'data-column' ? null : name.slice('data-column-'.length);
            const column = columns.indexOf(value);
            if (column >= 0 && attribute !== '' && !(attribute && attribute.startsWith('on'))) marks.push([attribute, column]);
        }
        return marks;
    }

    function cellOf(value) {
        if (value === undefined || value === null || typeof value === 'string') return { text: value, edit: value };
        if ('image' in value) return { text: null, edit: null, image: value.image };
        return value;
    }

    function showValue(node, attribute, value) {
        const cell = cellOf(value);
        if (attribute === null) {
            const text = typeof cell.text === 'string' ? cell.text : '';
            if (boundFieldTags.has(node.tagName)) showInField(node, cell);
            else if (node.textContent !== text) node.textContent = text;
            return;
        }
        const text = attribute === 'src' && node.tagName === 'IMG' && 'image' in cell ? cell.image : cell.text;
        if (typeof text !== 'string') node.removeAttribute(attribute);
        else if (node.getAttribute(attribute) !== text) node.setAttribute(attribute, text);
    }

    // A field edits its cell's edit text; a checkbox or radio button is checked for true or a
    // number other than 0. A field the user typed into since the host last took in their entry
    // keeps their text, and its refusal mark, until the host has heard of it.
    function showInField(node, cell) {
        setReadOnly(node, cell.readOnly === true);
        if ((lastEdit.get(node) || 0) > editsTakenIn) return;
        if (cell.pending !== true) shownAfter.set(node, editsReported);
        node.toggleAttribute('data-refused', cell.refused === true);
        const text = typeof cell.edit === 'string' ? cell.edit : '';
        if (checkable(node)) {
            const checked = text !== '' && text !== 'false' && Number(text) !== 0;
            if (node.checked !== checked) node.checked = checked;
        } else if (node.value !== text) {
            node.value = text;
        }
    }

    function setReadOnly(node, readOnly) {
        const property = node.tagName === 'SELECT' || checkable(node) ? 'disabled' : 'readOnly';
        if (readOnly && !node[property]) {
            node[property] = true;
            madeReadOnly.add(node);
        } else if (!readOnly && madeReadOnly.has(node)) {
            node[property] = false;
            madeReadOnly.delete(node);
        }
    }

    // Each marked node of a tree in document order with its marks: [node, marks].
    function markedNodes(root, columns) {
        const marked = [];
        for (const node of [root, ...root.querySelectorAll('*')]) {
            const marks = marksOf(node, columns);
            if (marks.length) marked.push([node, marks]);
        }
        return marked;
    }

    function fill(marked, values) {
        for (const [node, marks] of marked)
            for (const [attribute, column] of marks) showValue(node, attribute, values ? values[column] : null);
    }

    // A repeated element's rows, windowed: the page holds the rows near the viewport, with a
    // margin of a viewport's height above and below, and two spacers stand in for the rows
    // before and after them, sized from the held rows' measured heights, so that the scroll bar
    // spans the whole list. As the user scrolls, the page asks the host for the rows it wants
    // (boundRowsWanted) and the host answers with them (showRows), each with the key the page
    // names its row by when it reports an entry or a click. Where the marks sit in a row is found
    // once, by their order among the template's nodes, and a row's nodes are found there.
    const rowKeys = new WeakMap();
    const TallestList = 16000000;  // px: a longer list is scaled into this, below the engine's limit
    class Repeat {
        constructor(template, columns, number) {
            this.template = template;
            this.number = number;
            const all = [template, ...template.querySelectorAll('*')];
            this.marked = markedNodes(template, columns).map(([node, marks]) => [all.indexOf(node), marks]);
            this.anchor = document.createComment('');
            this.before = this.spacer();
            this.after = this.spacer();
            template.replaceWith(this.anchor);
            this.anchor.after(this.before, this.after);
            this.rows = [];
            this.first = 0;
            this.count = 0;
            this.more = false;  // the model has rows beyond count it has not fetched yet
            this.rowHeight = 0;
            this.waiting = false;  // for the answer to the last request
            this.asks = 0;  // the requests made
            this.revealing = null;  // a row to scroll into view once held, or 'end'
        }
        // An element of its own kind, so that the template's style rules neither match it nor
        // count it among the rows' type (:nth-of-type).
        spacer() {
            const node = document.createElement('lumetto-spacer');
            node.setAttribute('aria-hidden', 'true');
            node.style.cssText = 'display: block; height: 0; margin: 0; padding: 0; border: 0; overflow-anchor: none';
            generatedRows.add(node);
            return node;
        }
        remove() {
            for (const node of [this.before, ...this.rows, this.after]) node.remove();
            this.anchor.replaceWith(this.template);
        }
        rowMarks(row) {
            const all = [row, ...row.querySelectorAll('*')];
            return this.marked.map(([at, marks]) => [all[at], marks]);
        }
        // A row of [key, values, entries]: entries are [place, state] of the fields the template
        // binds to no column, as the user left them.
        make([key, values, entries]) {
            const row = this.template.cloneNode(true);
            generatedRows.add(row);
            rowKeys.set(row, key);
            fill(this.rowMarks(row), values);
            const all = [row, ...row.querySelectorAll('*')];
            for (const [place, state] of entries) if (all[place]) setFieldState(all[place], state);
            return row;
        }
        update(first, rows) {
            rows.forEach((values, i) => {
                const row = this.rows[first - this.first + i];
                if (row) fill(this.rowMarks(row), values);
            });
        }
        // The rows held become these, from row first on, of count rows in all: the answer to the
        // page's request of that number, or 0, sent as the model changed. A row held already
        // stays the same element, filled anew, so that focus, a selection and what the user
        // entered in it stay; what the viewport shows stays where it was.
        show(first, rows, count, more, answer) {
            const keys = new Set(rows.map(([key]) => key));
            const steady = this.rows.find((node) => keys.has(rowKeys.get(node)) && node.getBoundingClientRect().bottom > this.viewport().top);
            const steadyTop = steady && steady.getBoundingClientRect().top;
            const held = new Map(this.rows.map((node) => [rowKeys.get(node), node]));
            const nodes = rows.map((row) => {
                const node = held.get(row[0]);
                if (!node) return this.make(row);
                held.delete(row[0]);
                fill(this.rowMarks(node), row[1]);
                return node;
            });
            for (const node of held.values()) node.remove();
            let at = this.before;
            for (const node of nodes) {
                if (at.nextSibling !== node) at.after(node);
                at = node;
            }
            Object.assign(this, { rows: nodes, first, count, more });
            if (answer === this.asks) this.waiting = false;
            if (this.asked && (this.asked[0] !== first || this.asked[1] !== first + nodes.length - 1)) this.asked = null;
            this.fitSpacers();
            markCurrent(this);
            const scroller = this.scroller();
            if (this.revealing === 'end' && first + nodes.length >= count) {
                this.revealing = null;
                scroller.scrollTop = scroller.scrollHeight;
            } else if (this.revealing !== null && this.holds(this.revealing)) {
                this.rows[this.revealing - this.first].scrollIntoView({ block: 'nearest' });
                this.revealing = null;
            } else if (steady) {
                scroller.scrollTop += steady.getBoundingClientRect().top - steadyTop;
            }
            this.check();
        }
        holds(row) { return row >= this.first && row < this.first + this.rows.length; }
        // The spacers take the rows not held at the mean height of those held.
        fitSpacers() {
            const height = this.after.getBoundingClientRect().top - this.before.getBoundingClientRect().bottom;
            if (this.rows.length && height > 0) this.rowHeight = height / this.rows.length;
            const span = this.span();
            this.before.style.height = `${this.first * span}px`;
            this.after.style.height = `${Math.max(0, this.count - this.first - this.rows.length) * span}px`;
        }
        // The height a row not held takes in a spacer.
        span() {
            const height = this.rowHeight || 20;
            return Math.min(height, TallestList / Math.max(1, this.count));
        }
        // The element the rows scroll in: the nearest that scrolls its overflow, else the page.
        scroller() {
            for (let node = this.anchor.parentElement; node && node !== document.body; node = node.parentElement)
                if (/^(auto|scroll|overlay)$/.test(getComputedStyle(node).overflowY)) return node;
            return document.scrollingElement;
        }
        viewport() {
            const scroller = this.scroller();
            if (scroller === document.scrollingElement) return { top: 0, bottom: window.innerHeight };
            const box = scroller.getBoundingClientRect();
            return { top: Math.max(0, box.top), bottom: Math.min(window.innerHeight, box.bottom) };
        }
        // The first row held is always an even one, so that :nth-child() stripes stay with their
        // rows. A request the host has answered already is not made again.
        ask(first, last) {
            if (first > 0) first -= first % 2;
            if (this.asked && this.asked[0] === first && this.asked[1] === last) return;
            this.asked = [first, last];
            this.waiting = true;
            const number = ++this.asks;
            toHost((h) => h.boundRowsWanted(this.number, first, last, number));
        }
        // Asks for the rows the viewport and its margins want, when those held do not cover them.
        check() {
            if (this.waiting || !binding) return;
            const view = this.viewport();
            const margin = Math.max(400, view.bottom - view.top);
            const top = view.top - margin;
            const bottom = view.bottom + margin;
            const perView = Math.ceil((bottom - top) / (this.rowHeight || 20)) + 1;
            const end = this.first + this.rows.length;
            const scroller = this.scroller();
            const atEnd = scroller.scrollTop > 0 && scroller.scrollTop + scroller.clientHeight >= scroller.scrollHeight - 1;
            if (atEnd && (end < this.count || this.more)) {
                this.revealing = 'end';  // the user went to the end: the last rows, fetched to the end
                this.ask(-1, perView);
                return;
            }
            const start = this.before.getBoundingClientRect().bottom;
            const stop = this.after.getBoundingClientRect().top;
            let first;
            let last;
            const near = this.rows.length && stop > top && start < bottom;
            if (near) {
                // Rows near the stretch stay, those far beyond it go, and rows join where it is not covered.
                const boxes = this.rows.map((node) => node.getBoundingClientRect());
                let from = 0;
                while (from < boxes.length - 1 && boxes[from].bottom < top - margin) from++;
                let to = boxes.length - 1;
                while (to > from && boxes[to].top > bottom + margin) to--;
                first = this.first + from - (start > top ? Math.ceil((start - top) / this.rowHeight) : 0);
                last = this.first + to + (stop < bottom ? Math.ceil((bottom - stop) / this.rowHeight) : 0);
            } else {
                // Far from the rows held: the rows at that place by the spacers' measure.
                first = Math.floor((top - this.before.getBoundingClientRect().top) / this.span());
                last = first + perView;
            }
            // Scrolling with the wheel or the keys near the end of the rows the model has fetched
            // fetches a window's worth more. Other scrolling does not: a thumb's drag scales its
            // moves by the list's length as the drag began, so that rows joining meanwhile would
            // leave the thumb short of the end it is taken to; the end reached fetches the rest.
            first = Math.max(0, Math.min(first, this.count - 1));
            first -= first % 2;
            const ahead = near && this.more && performance.now() - wheelOrKey < 500 && last + perView >= this.count;
            last = ahead ? last + perView : Math.min(last, this.count - 1);
            if (first !== this.first || last !== end - 1) this.ask(first, last);
        }
        reveal(row) {
            if (this.holds(row)) {
                this.rows[row - this.first].scrollIntoView({ block: 'nearest' });
                return;
            }
            this.revealing = row;
            const half = Math.ceil(this.viewport().bottom / (this.rowHeight || 20));
            this.ask(Math.max(0, row - half), row + half);
        }
    }

    function markCurrent(repeat) {
        for (const node of repeat.rows) node.toggleAttribute('data-current', rowKeys.get(node) === binding.key);
    }

    // The bound form field the user changed: the key of its row and its column name, or null.
    function boundPlace(node) {
        if (!binding || !boundFieldTags.has(node.tagName)) return null;
        const text = marksOf(node, binding.columns).find(([attribute]) => attribute === null);
        if (!text) return null;
        const column = binding.columns[text[1]];
        if (binding.record.some(([marked]) => marked === node)) return { key: binding.key, column };
        const row = boundRowOf(node);
        return row ? { key: rowKeys.get(row), column } : null;
    }

    // The row of a repeated element that holds node, or null.
    function boundRowOf(node) {
        if (!binding) return null;
        let row = node;
        while (row && !rowKeys.has(row)) row = row.parentElement;
        return row && row.isConnected ? row : null;
    }

    // The body as written again: the templates back in place of their rows.
    function unbind() {
        for (const repeat of binding.repeats) repeat.remove();
        binding = null;
    }

    function checkRows() {
        if (binding) for (const repeat of binding.repeats) repeat.check();
    }
    document.addEventListener('scroll', checkRows, true);
    // When the user last turned the wheel or pressed a key that scrolls on by steps; End goes to
    // the end, which fetches the rest, and rows joining on the way would leave it short of it.
    let wheelOrKey = -Infinity;
    for (const kind of ['wheel', 'keydown'])
        window.addEventListener(kind, (event) => { wheelOrKey = event.key === 'End' ? -Infinity : performance.now(); }, { capture: true, passive: true });
    window.addEventListener('resize', checkRows);

    const bindingOps = {
        // Binds the marks of the body as written: {columns: [names], rows: the first rows, count,
        // more, current, key, values}. Each repeated element tells the host which rows it holds.
        bind(state) {
            if (binding) unbind();
            const repeats = Array.from(document.body.querySelectorAll('[data-repeat]'))
                .filter((node) => !node.parentElement.closest('[data-repeat]'))
                .map((node, number) => new Repeat(node, state.columns, number));
            binding = { columns: state.columns, repeats, record: markedNodes(document.body, state.columns), current: -1, key: 0, values: null };
            bindingOps.setCurrent(state.current, state.key, state.values);
            for (const repeat of repeats) {
                repeat.show(0, state.rows, state.count, state.more, 0);
                if (!repeat.waiting) repeat.ask(0, state.rows.length - 1);
            }
        },
        // The host has taken in the user's entries up to that number.
        editsSeen(number) { editsTakenIn = Math.max(editsTakenIn, number); },
        // The host stored or dropped the user's edits it has taken in.
        editsSettled() { editsSettled = editsTakenIn; },
        setCurrent(row, key, values) {
            if (!binding) return;
            Object.assign(binding, { current: row, key, values });
            fill(binding.record, values);
            binding.repeats.forEach(markCurrent);
        },
        // The host's answer to boundRowsWanted, or the rows held after the model changed.
        showRows(number, first, rows, count, more, answer) {
            const repeat = binding && binding.repeats[number];
            if (repeat) repeat.show(first, rows, count, more, answer);
        },
        reveal(row) {
            if (binding) for (const repeat of binding.repeats) repeat.reveal(row);
        },
        updateRows(first, rows) {
            if (!binding) return;
            for (const repeat of binding.repeats) repeat.update(first, rows);
            const current = binding.current - first;
            if (current >= 0 && current < rows.length) bindingOps.setCurrent(binding.current, binding.key, rows[current]);
        },
    };

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

    Object.assign(ops, bindingOps);

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

    // The steps a new shell carries, carried out as it loads. The engine lays a page out the
    // first time with a vertical scroll bar where the page may scroll, and keeps it when the
    // content overflows with it: content that fits only without one (narrower by the bar, its
    // text wraps into more lines) would come with a scroll bar it never has once shown. So the
    // empty shell is laid out first, and the content's first layout starts without one, as
    // every later one does.
    function carryOutShellSteps() {
        document.documentElement.getBoundingClientRect();
        const block = document.getElementById('lumetto-steps');
        if (!block) return;
        block.remove();
        carryOut(JSON.parse(block.textContent));
    }
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', carryOutShellSteps);
    else carryOutShellSteps();

    // The host keeps what the user types or chooses, to put it back after a reload: by its place
    // below the body, or in a row of a repeated element by the row's key and its place in the row,
    // as the row may leave the page and come back. An entry in a bound field goes to the model.
    function fieldChanged(event) {
        const node = event.target;
        if (!(node instanceof Element) || !formFields.has(node.tagName)) return;
        const bound = boundPlace(node);
        if (bound) {
            boundFieldChanged(node, bound, event.type === 'change');
            return;
        }
        const row = boundRowOf(node);
        if (row) {
            const place = [row, ...row.querySelectorAll('*')].indexOf(node);
            toHost((h) => h.boundRowFieldChanged(rowKeys.get(row), place, fieldState(node)));
            return;
        }
        const path = pathOf(node);
        if (path) toHost((h) => h.fieldChanged(path, fieldState(node)));
    }
    document.addEventListener('input', fieldChanged, true);
    document.addEventListener('change', fieldChanged, true);

    // An entry in a bound field: each keystroke as it is typed, committed with its change event
    // (the user left the field or pressed Enter in it), a checkbox or radio button at once, as
    // its checked state. A field that shows the host's value, not the user's change, commits
    // nothing. A radio button checked unchecks the bound ones of its group.
    function boundFieldChanged(node, bound, committed) {
        if (checkable(node)) {
            if (!committed) return;
            if (node.type === 'radio' && node.name)
                for (const other of document.querySelectorAll('input[type=radio]')) {
                    const place = other !== node && other.name === node.name && other.form === node.form && boundPlace(other);
                    if (place) reportEntry(other, place, false, true);
                }
            reportEntry(node, bound, node.checked, true);
            return;
        }
        if (committed && !changedByUser(node)) return;
        reportEntry(node, bound, node.value, committed);
    }
    function reportEntry(node, bound, value, committed) {
        const number = ++editsReported;
        lastEdit.set(node, number);
        node.removeAttribute('data-refused');
        toHost((h) => h.boundFieldEdited(bound.key, bound.column, value, number, committed));
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
        send(LeftClick, ref(clicked(event)));
        const row = boundRowOf(clicked(event));
        if (row) toHost((h) => h.boundRowClicked(rowKeys.get(row)));
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
