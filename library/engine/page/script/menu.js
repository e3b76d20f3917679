// The right-click menu, which is the control's own, and the selection the user makes.
let allowMouseSelect = true;

Object.assign(ops, {
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
});

// The right-click menu is the control's own: the engine's is never shown.
window.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    raiseClick(RightClick, clicked(event), { x: event.clientX, y: event.clientY });
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
