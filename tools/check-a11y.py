#!/usr/bin/python3
"""Reads the running program over the desktop's accessibility bus, as a screen reader does, while
driving it with the keyboard alone; prints what it read and fails when something is missing.

Run by tools/check-a11y, which starts the display, the session bus and the program.
"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

TIMEOUT = 15
failures = []


def check(condition, what):
    print(("  ok    " if condition else "  FAIL  ") + what)
    if not condition:
        failures.append(what)


def wait_for(find, what, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    check(False, "found " + what)
    for w in windows():
        print(f"    window: {w.get_role_name()} {w.get_name()!r} {sorted(states(w))}")
        for a in descendants(w):
            print(f"      {a.get_role_name()} {a.get_name()!r} {sorted(states(a))}")
    raise SystemExit(report())


def states(acc):
    return {Atspi.StateType(s).value_nick for s in acc.get_state_set().get_states()}


def descendants(acc, depth=0):
    for i in range(acc.get_child_count()):
        child = acc.get_child_at_index(i)
        if child is None:
            continue
        yield child
        if depth < 12:
            yield from descendants(child, depth + 1)


def shown(acc):
    return "showing" in states(acc) or "visible" in states(acc)


def find_all(acc, role, name=None):
    return [
        a
        for a in descendants(acc)
        if a.get_role_name() == role and (name is None or a.get_name() == name)
    ]


def app():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        candidate = desktop.get_child_at_index(i)
        if candidate is not None and candidate.get_name() == "tarvik":
            return candidate
    return None


def windows():
    a = app()
    return [a.get_child_at_index(i) for i in range(a.get_child_count())] if a else []


def main_window():
    for w in windows():
        # Titled after the top context, which the check changes on the way.
        if w.get_name().endswith(" - TARVIK"):
            return w
    return None


def modal(role_names=("dialog", "alert"), name=None):
    for w in windows():
        if w.get_role_name() in role_names and shown(w) and (name is None or name(w.get_name())):
            return w
    return None


def unnamed_labels(window):
    return [a for a in descendants(window)
            if a.get_role_name() == "label" and shown(a) and not a.get_name()]


def focused_elsewhere(window, roles=("list item", "table cell")):
    """Cells that say they have the focus while their list or table does not."""
    found = []
    for view in descendants(window):
        if view.get_role_name() not in ("list", "table", "tree table", "tree"):
            continue
        if "focused" in states(view):
            continue
        found += [c.get_name() for c in descendants(view)
                  if c.get_role_name() in roles and "focused" in states(c)]
    return found


def focus_main(title=None):
    # Without a window manager nobody gives the keyboard back when a dialog closes: do it here.
    # The main window's title names the top context, which a re-root changes.
    pattern = f"^{title}$" if title else " - TARVIK$"
    window = subprocess.run(["xdotool", "search", "--name", pattern],
                            capture_output=True, text=True).stdout.split()
    if window:
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)
        time.sleep(0.3)


def closed(what):
    wait_for(lambda: modal() is None, what)
    focus_main()


heard = []


def listen():
    """Records what the program announces: focus moving and check states changing."""
    def record(event):
        if event.detail1 == 1:
            heard.append((event.type, event.source.get_name() if event.source else None))
    listener = Atspi.EventListener.new(record)
    for kind in ("object:state-changed:focused", "object:state-changed:checked"):
        listener.register(kind)
    return listener


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)
    end = time.time() + 0.4
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def announced(kind, name):
    return (kind, name) in heard


def trees():
    return find_all(main_window(), "tree")


def rows(tree):
    return [(r.get_name(), states(r)) for r in (tree.get_child_at_index(i)
                                               for i in range(tree.get_child_count())) if r]


def mark(s):
    return "[x]" if "checked" in s else "[-]" if "indeterminate" in s else "[ ]"


def descriptions(tree):
    return [r.get_description() for r in (tree.get_child_at_index(i)
                                          for i in range(tree.get_child_count())) if r]


def print_tree(tree):
    print(f"  tree {tree.get_name()!r}, {tree.get_child_count()} rows")
    for (name, s), described in zip(rows(tree), descriptions(tree)):
        flags = [f for f in ("expanded", "collapsed", "selected", "focused") if f in s]
        if "sensitive" not in s:
            flags.append("disabled")
        if described:
            flags.append(f"({described})")
        print(f"    {mark(s)} {name} {' '.join(flags)}")


def status_fields():
    bar = [f for f in find_all(main_window(), "status bar", "Status bar")][0]
    return [lab.get_name() for lab in find_all(bar, "label") if shown(lab)]


def texts_of(window):
    names = []
    for a in descendants(window):
        if a.get_role_name() not in ("filler", "panel") and a.get_name() and shown(a):
            checked = " (checked)" if "checked" in states(a) else ""
            names.append(f"{a.get_role_name()}: {a.get_name()}{checked}")
    return names


def read_modal(expect_title, expect_text=None):
    w = wait_for(modal, "a dialog or message box")
    time.sleep(0.5)
    texts = texts_of(w)
    print(f"  {w.get_role_name()} {w.get_name()!r}")
    for t in texts:
        print("    " + t.replace("\n", "\\n"))
    if expect_title is not None:
        check(w.get_name() == expect_title, f"window title {expect_title!r}")
    if expect_text is not None:
        check(any(expect_text in t for t in texts), f"text {expect_text!r} read")
    return texts


def report():
    print()
    if failures:
        print(f"{len(failures)} check(s) failed:")
        for f in failures:
            print("  " + f)
        return 1
    print("all checks passed")
    return 0


def main():
    wait_for(main_window, "the main window")
    wait_for(lambda: len(trees()) == 2 and trees()[0].get_child_count() > 1, "the tree view")

    listener = listen()  # noqa: F841 (kept alive while the check runs)
    print("Start-up")
    tree = trees()[0]
    history = trees()[1]
    print_tree(tree)
    print(f"  status bar: {status_fields()}")
    check(len(rows(tree)) >= 2, "tree view lists its rows")
    check(all(d in ("", "deleted") for d in descriptions(tree)),
          "rows of deleted objects are described as deleted, the others not at all")
    check("expanded" in rows(tree)[0][1], "top context is expanded")
    check("focused" in rows(tree)[0][1], "the caret row has the focus at start")
    check(history.get_name() == "-- No object selected --", "history view named by its title")
    check(any(f.startswith("Containers: 0, Objects: 0") for f in status_fields()),
          "status bar counts read")

    print("\nKeyboard: Down to the first container, Return opens it")
    first_container = next(i for i, (n, s) in enumerate(rows(tree)) if "collapsed" in s)
    for _ in range(first_container):
        key("Down")
    key("Return")
    tree = trees()[0]
    print_tree(tree)
    opened = rows(tree)[first_container]
    check(announced("object:state-changed:focused", opened[0]),
          f"focus on {opened[0]} announced")
    check("expanded" in opened[1], f"{opened[0]} expanded")
    children = [i for i, (n, s) in enumerate(rows(tree))
                if i > first_container and "expandable" not in s][:2]
    check(len(children) == 2, "two leaf objects below it")

    print("\nKeyboard: + twice puts the container in the third state, + once more unmarks it")
    key("plus", "plus")
    check("indeterminate" in rows(trees()[0])[first_container][1], "third state read")
    key("plus")
    check(mark(rows(trees()[0])[first_container][1]) == "[ ]", "unmarked again")

    print("\nKeyboard: Down and + marks two objects")
    caret = first_container
    for row in children:
        for _ in range(row - caret):
            key("Down")
        caret = row
        key("plus")
    tree = trees()[0]
    print_tree(tree)
    for row in children:
        check("checked" in rows(tree)[row][1], f"{rows(tree)[row][0]} checked")
        check(announced("object:state-changed:checked", rows(tree)[row][0]),
              f"{rows(tree)[row][0]} checked announced")
    print(f"  status bar: {status_fields()}")
    check("Containers: 0, Objects: 2" in status_fields(), "status bar counts 2 objects")

    print("\nKeyboard: Space selects, Tab, Down and + pick a version")
    key("space")
    history = trees()[1]
    print_tree(history)
    check(history.get_child_count() > 0, "history view lists the versions")
    key("Tab", "Down", "plus")
    history = trees()[1]
    print_tree(history)
    check(sum("checked" in s for _, s in rows(history)) == 1, "one version ticked")
    key("Tab")

    print("\nKeyboard: Alt+O R runs the restore")
    key("alt+o", "r")
    texts = read_modal("Restore Objects", "Leaf objects:")
    check("radio button: Continue (checked)" in texts, "on-error choices read as radio buttons")
    check(not unnamed_labels(modal()), "no empty unnamed label in the options")
    key("Return")
    texts = read_modal("Restore")
    check(sum(t.startswith("list item") for t in texts) == 2, "two results listed")
    check(not focused_elsewhere(modal()), "no result line says it has the focus while OK has it")
    check(not unnamed_labels(modal()), "no empty unnamed label in the result list")
    key("Return")
    closed("the result list closed")
    print(f"  status bar: {status_fields()}")
    check("Containers: 0, Objects: 0" in status_fields(), "marks gone after the restore")

    print("\nKeyboard: Alt+O P lists the past runs in a table; Return opens the newest")
    key("alt+o", "p")
    read_modal("Past Runs")
    runs = modal(name=lambda n: n == "Past Runs")
    tables = [a for a in descendants(runs) if a.get_name() == "Past restore runs"
              and a.get_role_name() in ("tree table", "table", "tree", "list")]
    check(len(tables) == 1, "the table of runs is named for what it holds")
    headers = [a.get_name() for a in descendants(runs) if "header" in a.get_role_name()]
    print(f"  columns: {headers}")
    check(headers[:7] == ["Started", "Server", "User", "Objects", "Restored", "Failed",
                          "How it ended"], "the columns are named")
    check(not unnamed_labels(runs), "no empty unnamed label in Past Runs")
    key("Return")
    reopened = wait_for(lambda: modal(name=lambda n: n.startswith("Restore of ")),
                        "the run's list opened again")
    print(f"  {reopened.get_role_name()} {reopened.get_name()!r}")
    check(reopened.get_name().endswith(" on FS1"), "its title names its time and server")
    key("alt+c")
    texts = texts_of(reopened)
    check("label: Copied 2 lines to the clipboard" in texts, "Copy says what it did")
    key("Return")
    wait_for(lambda: modal(name=lambda n: n.startswith("Restore of ")) is None,
             "Return after Copy is OK: the list closed")
    check(modal(name=lambda n: n == "Past Runs") is not None, "Past Runs stays")
    focus_main("Past Runs")
    key("Escape")
    closed("Past Runs closed")

    print("\nKeyboard: Alt+O R with nothing marked")
    key("alt+o", "r")
    read_modal(None, "There are no objects selected for restore.")
    key("Return")
    closed("the message box closed")

    print("\nKeyboard: + marks, Alt+S A asks before clearing")
    key("plus")
    key("alt+s", "a")
    read_modal(None, "Are you sure you wish to clear all selected items?")
    key("Return")
    closed("the question closed")
    print(f"  status bar: {status_fields()}")
    check("Containers: 0, Objects: 0" in status_fields(), "marks cleared")

    print("\nKeyboard: Alt+V T re-roots the tree at a context typed into the dialog")
    key("alt+v", "t")
    texts = read_modal("Set Top Context")
    check(any(t.startswith("text: Enter new context:") for t in texts), "entry field named")
    key("ctrl+a")
    subprocess.run(["xdotool", "type", "--delay", "40", "Elsewhere"], check=True)
    key("Return")
    closed("the dialog closed")
    wait_for(lambda: trees()[0].get_name() == "Elsewhere", "the tree view renamed")
    print_tree(trees()[0])
    check(rows(trees()[0])[0][0] == "Elsewhere", "rows of the new top context")
    check(trees()[1].get_name() == "-- No object selected --", "history view renamed")

    print("\nKeyboard: Alt+H A and Alt+H R show About and the release notes")
    key("alt+h", "a")
    read_modal("About TARVIK", "Version 1.0 (Pre-release 2)")
    key("Return")
    closed("the About box closed")
    key("alt+h", "r")
    texts = read_modal("TARVIK Release Notes")
    check(any(t.startswith("text: TARVIK Release Notes") for t in texts), "notes named")
    key("Escape")
    closed("the release notes closed")

    print("\nKeyboard: + marks, Alt+X asks before closing; Escape keeps the window")
    key("plus")
    key("alt+x")
    read_modal(None, "Items are still selected to be restored.")
    key("Escape")
    closed("the question closed")
    check(main_window() is not None, "the window stayed")
    return report()


if __name__ == "__main__":
    sys.exit(main())
