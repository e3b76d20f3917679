"""Starts the program and reads its windows over AT-SPI as a screen reader does: the names and
roles of Form1's and Form2's controls, the page's content, the mirror tied to its caption, and
the click report spoken as it changes. Prints the tree as read; exits 1 on a failed check."""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def pump(seconds=0.05):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.01)


def wait_for(find, timeout=30):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = find()
        except GLib.Error:  # the tree changed under the walk
            found = None
        if found:
            return found
        pump(0.2)
    return None


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def walk(node):
    yield node
    for child in children(node):
        if child is not None:
            yield from walk(child)


def first(node, role, name=None):
    for found in walk(node):
        if found.get_role_name() == role and (name is None or found.get_name() == name):
            return found
    return None


def relation_targets(node, kind):
    return [relation.get_target(i) for relation in node.get_relation_set()
            if relation.get_relation_type() == kind for i in range(relation.get_n_targets())]


def click(node):
    """A real click just inside the start of the node, as a person makes it."""
    box = node.get_extents(Atspi.CoordType.SCREEN)
    subprocess.run(["xdotool", "mousemove", str(box.x + 5), str(box.y + box.height // 2), "click", "1"], check=True)


def print_tree(node, depth=0):
    if node.get_role_name() in ("section", "paragraph", "list item") and not node.get_name():
        depth -= 1  # the page's layout boxes carry nothing a listener hears
    else:
        print(f"{'  ' * depth}{node.get_role_name()}: {node.get_name()!r}")
    for child in children(node):
        print_tree(child, depth + 1)


def application():
    desktop = Atspi.get_desktop(0)
    return next((app for app in children(desktop) if app and app.get_name() == "lumetto-demo"), None)


def window(app, title):
    return next((frame for frame in children(app) if frame.get_name() == title), None)


def main(program):
    heard = []
    listener = Atspi.EventListener.new(lambda event: heard.append((event.source.get_name(), event.any_data)))
    listener.register("object:text-changed:insert")
    process = subprocess.Popen([program])
    try:
        app = wait_for(application)
        if not check(app, "the program is not on the accessibility bus"):
            return
        form1 = wait_for(lambda: window(app, "Form1"))
        page = form1 and first(form1, "filler", "Page")
        # The page's own content, built by the engine once a screen reader is present.
        link = page and wait_for(lambda: first(page, "link", "forms"))
        if not check(link, "the page's link \"forms\" is not in the tree"):
            return
        print_tree(app)

        check([frame.get_name() for frame in children(app)] == ["Form1"],
              "the program shows windows other than Form1: %s" % [f.get_name() for f in children(app)])
        for role, name in [("push button", "Current Text Selection"), ("push button", "View Code"),
                           ("menu item", "CSS"), ("menu item", "Set bg to Green"), ("menu item", "Set bg to White"),
                           ("menu item", "Options"), ("label", "Tarvo Lumetto ActiveX Control")]:
            check(first(form1, role, name), f"no {role} named {name!r}")
        select = first(form1, "menu item", "Allow Selection")
        check(select and select.get_state_set().contains(Atspi.StateType.CHECKED),
              "\"Allow Selection\" is not read as checked")
        # Entering a web document, a screen reader reads its name: the control's.
        check(wait_for(lambda: first(page, "document web", "Page"), 10), "the page's web document is not named \"Page\"")

        caption = first(form1, "label", "Clipboard Contents")
        mirror = first(form1, "filler", "Clipboard Contents")
        check(mirror, "the mirror is not named by its caption")
        check(mirror and wait_for(lambda: first(mirror, "document web", "Clipboard Contents"), 10),
              "the mirror's web document is not named by its caption")
        check(mirror and caption in relation_targets(mirror, Atspi.RelationType.LABELLED_BY),
              "the mirror is not labelled by its caption")
        report, kind = first(form1, "label", "Label1"), first(form1, "label", "Last Click :")
        check(report and kind in relation_targets(report, Atspi.RelationType.LABELLED_BY),
              "Label1 is not labelled by Label2")

        # A real click on the page's heading: the report is spoken as it changes.
        click(first(page, "label", "Tarvo Lumetto ActiveX Control"))
        check(wait_for(lambda: ("P", "P") in heard, 10), f"the click's report was not announced; heard {heard}")
        check(wait_for(lambda: ("Last Click - LeftClick : ", "Last Click - LeftClick : ") in heard, 5),
              f"the kind of click was not announced; heard {heard}")

        # The questionnaire's fields, reached by following the link as a screen reader user does.
        link.do_action(0)  # its one action: take the focus
        subprocess.run(["xdotool", "key", "Return"], check=True)
        submit = wait_for(lambda: first(page, "text") and first(page, "combo box") and first(page, "push button", "Submit"), 10)
        check(submit, "the questionnaire's text field, list and button are not in the tree")

        # Form2, opened as a screen reader user does, through the button's action.
        view_code = first(form1, "push button", "View Code")
        view_code.do_action(0)
        form2 = wait_for(lambda: window(app, "Form2"), 10)
        source = form2 and first(form2, "text", "HTML source")
        if check(source, "Form2 has no text named \"HTML source\""):
            print_tree(form2)
            text = source.get_text(0, -1)
            check("SubmitButton" in text, "the questionnaire's source is not readable")
            check("<title>" not in text, "the page's source shows the document's name")

        # The answers retitle the mirror's caption, and the mirror's document follows it.
        subprocess.run(["xdotool", "key", "Escape"], check=True)  # closes Form2
        if check(wait_for(lambda: not window(app, "Form2"), 10), "Form2 did not close") and submit:
            click(submit)
            check(wait_for(lambda: first(form1, "document web", "Answers"), 10),
                  "the mirror's web document does not follow its caption \"Answers\"")
    finally:
        process.terminate()
        process.wait(10)
        listener.deregister("object:text-changed:insert")


if __name__ == "__main__":
    Atspi.init()
    main(sys.argv[1])
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    sys.exit(1 if failures else 0)
