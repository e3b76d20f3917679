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
