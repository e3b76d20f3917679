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

Object.assign(ops, bindingOps);

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
