#!/usr/bin/python3
"""Dumps what a screen reader sees of the running program through AT-SPI, window by window.

Run by scripts/atspi-dump.sh inside a virtual X server and a D-Bus session. Drives the program
with AT-SPI actions and keys (xdotool): the six pages of the main window, the comparison, the
charts, the help and the About box, and for each prints the tree of showing objects and a count
line: controls, unnamed controls, row headers, named row headers.
"""

import subprocess
import sys
import time

import pyatspi

CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_LIST, pyatspi.ROLE_TREE, pyatspi.ROLE_LINK,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_DATE_EDITOR,
    pyatspi.ROLE_IMAGE, pyatspi.ROLE_CHART, pyatspi.ROLE_CALENDAR,
}
CELL_ROLES = {pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_ROW_HEADER, pyatspi.ROLE_COLUMN_HEADER,
              pyatspi.ROLE_TABLE_ROW_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER}
BAR_ROLES = {pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_TOOL_BAR}
# Cells are many: only this many per table are printed (all are counted).
PRINTED_CELLS = 12


def is_control(node, role, states):
    if role in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_ROW_HEADER, pyatspi.ROLE_COLUMN_HEADER,
                pyatspi.ROLE_TABLE_ROW_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER):
        return False
    if role in CONTROL_ROLES:
        return True
    if role == pyatspi.ROLE_TEXT and states.contains(pyatspi.STATE_EDITABLE):
        return True
    return states.contains(pyatspi.STATE_FOCUSABLE) and role not in (
        pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_PANEL, pyatspi.ROLE_FILLER,
        pyatspi.ROLE_SCROLL_PANE, pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_TOOL_BAR,
        pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_STATUS_BAR, pyatspi.ROLE_LABEL)


class Counts:
    def __init__(self):
        self.controls = 0
        self.unnamed = []
        # Other objects a screen reader meets without a name: focusable ones of any role, and
        # tool and scroll bars.
        self.weak = []
        self.row_headers = 0
        self.row_headers_named = 0


def state_names(states):
    wanted = [pyatspi.STATE_FOCUSED, pyatspi.STATE_SELECTED, pyatspi.STATE_EDITABLE,
              pyatspi.STATE_READ_ONLY, pyatspi.STATE_FOCUSABLE, pyatspi.STATE_CHECKED]
    return ",".join(pyatspi.stateToString(s) for s in wanted if states.contains(s))


def walk(node, depth, counts, out, inside_menu=False, in_table=False):
    try:
        role = node.getRole()
        states = node.getState()
        name = node.name or ""
    except Exception:  # the object went away while it was read
        return
    showing = states.contains(pyatspi.STATE_SHOWING)
    in_menu = inside_menu or role in (pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU)
    # Menus' items are counted although a closed menu does not show them, and a table's rows
    # although they are scrolled out of sight.
    if (not showing and not in_menu and not in_table and
            role not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG)):
        return
    if role in (pyatspi.ROLE_ROW_HEADER, pyatspi.ROLE_TABLE_ROW_HEADER):
        counts.row_headers += 1
        if name.strip():
            counts.row_headers_named += 1
    elif is_control(node, role, states):
        counts.controls += 1
        if not name.strip():
            counts.unnamed.append(f"{node.getRoleName()} (pod {node.parent.getRoleName()} "
                                  f"'{node.parent.name or ''}')")
    elif (showing and not name.strip() and role not in CELL_ROLES and not in_menu and
          (states.contains(pyatspi.STATE_FOCUSABLE) or role in BAR_ROLES)):
        counts.weak.append(f"{node.getRoleName()} (pod {node.parent.getRoleName()} "
                           f"'{node.parent.name or ''}')")
    description = ""
    try:
        description = node.description or ""
    except Exception:
        pass
    line = f"{'  ' * depth}[{node.getRoleName()}] '{name}'"
    if description:
        line += f" — {description[:120]}"
    extra = state_names(states)
    if extra:
        line += f" ({extra})"
    out.append(line)
    cells = 0
    try:
        children = list(node)
    except Exception:
        children = []
    for child in children:
        if child is None:
            continue
        if role == pyatspi.ROLE_TABLE:
            cells += 1
            if cells > PRINTED_CELLS:
                sink = []
                walk(child, depth + 1, counts, sink, in_menu, True)
                continue
        walk(child, depth + 1, counts, out, in_menu, role == pyatspi.ROLE_TABLE)
    if role == pyatspi.ROLE_TABLE and cells > PRINTED_CELLS:
        out.append(f"{'  ' * (depth + 1)}… još {cells - PRINTED_CELLS} ćelija i zaglavlja")


def find_app(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    sys.exit(f"atspi-dump: program '{name}' did not appear on the accessibility bus")


def windows(app):
    return [w for w in app if w is not None]


def find(node, role, name, depth=0):
    try:
        if node.getRole() == role and node.name == name:
            return node
        if depth > 12:
            return None
        for child in node:
            if child is not None:
                hit = find(child, role, name, depth + 1)
                if hit is not None:
                    return hit
    except Exception:
        return None
    return None


def act(node):
    """Performs the node's first action; a modal window it opens may keep the answer back."""
    try:
        node.queryAction().doAction(0)
    except Exception:
        pass


def keys(*sequence):
    for k in sequence:
        subprocess.run(["xdotool", "key", "--delay", "60", k], check=False)
        time.sleep(0.3)


def dump(title, window, report):
    counts = Counts()
    out = []
    walk(window, 0, counts, out)
    print(f"==== {title}")
    print("\n".join(out))
    summary = (f"{title} ({window.getRoleName()}): kontrole {counts.controls}, bez imena "
               f"{len(counts.unnamed)}, ostali objekti bez imena {len(counts.weak)}, "
               f"zaglavlja redaka {counts.row_headers}, s imenom {counts.row_headers_named}")
    for u in counts.unnamed:
        print(f"  BEZ IMENA: {u}")
    for u in counts.weak:
        print(f"  OBJEKT BEZ IMENA: {u}")
    print(summary)
    report.append(summary)


def window_named(app, title, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        for w in windows(app):
            if title in (w.name or ""):
                return w
        time.sleep(0.3)
    return None


EVENTS = []


def on_event(event):
    try:
        source = f"{event.source.getRoleName()} '{event.source.name or ''}'"
    except Exception:
        source = "?"
    EVENTS.append(f"{event.type} {event.detail1} {source}")


def pump(seconds):
    """Lets the events that arrived reach on_event."""
    end = time.time() + seconds
    while time.time() < end:
        try:
            from gi.repository import GLib
            ctx = GLib.MainContext.default()
            while ctx.pending():
                ctx.iteration(False)
        except Exception:
            pass
        time.sleep(0.05)


def main():
    app = find_app(sys.argv[1] if len(sys.argv) > 1 else "Movik")
    for kind in ("object:state-changed:focused", "object:state-changed:selected",
                 "object:property-change:accessible-name", "object:announcement",
                 "window:activate", "object:state-changed:showing"):
        pyatspi.Registry.registerEventListener(on_event, kind)
    time.sleep(2)
    report = []
    main_window = window_named(app, "Movik")
    if main_window is None:
        sys.exit("atspi-dump: no main window")
    tabs = [n for n in ["Opći podaci", "Bilanca", "Račun dobiti i gubitka",
                        "Indirektna metoda novčanog toka", "Metoda slobodnog novčanog toka",
                        "Pokazatelji"]]
    for tab in tabs:
        page_tab = find(main_window, pyatspi.ROLE_PAGE_TAB, tab)
        if page_tab is not None:
            act(page_tab)
            pump(1.0)
        dump(f"Glavni prozor, stranica {tab}", main_window, report)

    steps = [
        ("Usporedba…", "Usporedba dokumenata"),
        ("Grafikoni…", "Grafikoni"),
        ("Korisničke upute", "Korisničke upute"),
    ]
    for item, title in steps:
        menu_item = find(main_window, pyatspi.ROLE_MENU_ITEM, item)
        if menu_item is None:
            print(f"atspi-dump: no menu item {item}", file=sys.stderr)
            continue
        act(menu_item)
        w = window_named(app, title)
        if w is None:
            print(f"atspi-dump: window {title} did not open", file=sys.stderr)
            continue
        time.sleep(1.0)
        dump(f"Prozor {title}", w, report)

    # The About box is modal: opened by its menu item, read, closed with Escape.
    Atspi_timeout_ms = 2000
    try:
        from gi.repository import Atspi
        Atspi.set_timeout(Atspi_timeout_ms, Atspi_timeout_ms)
    except Exception:
        pass
    # The print preview of the balance sheet is modal too.
    page_tab = find(main_window, pyatspi.ROLE_PAGE_TAB, "Bilanca")
    preview = find(main_window, pyatspi.ROLE_MENU_ITEM, "Pregled ispisa")
    if page_tab is not None and preview is not None:
        act(page_tab)
        pump(1.0)
        act(preview)
        w = window_named(app, "Pregled ispisa", 10)
        if w is not None:
            time.sleep(1.0)
            dump("Prozor Pregled ispisa", w, report)
            keys("Escape")
            pump(1.0)

    about = find(main_window, pyatspi.ROLE_MENU_ITEM, "O programu")
    if about is not None:
        act(about)
        w = window_named(app, "O programu", 5)
        if w is not None:
            time.sleep(1.0)
            dump("Prozor O programu", w, report)
            keys("Escape")

    pump(0.5)
    print("==== Događaji AT-SPI (redom)")
    print("\n".join(EVENTS))
    print("==== Sažetak")
    print("\n".join(report))


if __name__ == "__main__":
    main()
