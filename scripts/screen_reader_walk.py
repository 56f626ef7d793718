#!/usr/bin/python3
"""The screen reader's walk, run by scripts/screen-reader-walk.sh beside a running Orca.

Each key goes to the program through xdotool; what Orca said after it is read from Orca's debug
log ("SPEECH OUTPUT" lines, each given by its time stamp to the key pressed last before it, as
Orca writes its log late) and the focused object from the AT-SPI focus events.
"""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

OUT = os.environ["MOVIK_OUT"]
ROOT = os.environ["MOVIK_ROOT"]
PROGRAM = os.environ["MOVIK_PROGRAM"]
ORCA_LOG = os.path.join(OUT, "orca-debug.txt")
SPEECH = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - SPEECH OUTPUT: '(.*)'\{")
TYPED = ("upisuje se",)
COMPUTED = ("računa se", "samo za čitanje")


class Walk:
    def __init__(self):
        self.focus = None  # the last object that took the focus
        self.presses = []  # [time, what, focused object, cell facts], speech added at the end
        self.moves = []  # indices into presses
        self.returns = []  # (what, index into presses)

    def on_focus(self, event):
        if event.detail1 == 1 or event.type == "focus:":
            self.focus = event.source

    def pump(self, seconds):
        end = time.time() + seconds
        ctx = GLib.MainContext.default()
        while time.time() < end:
            while ctx.pending():
                ctx.iteration(False)
            time.sleep(0.05)

    def key(self, k, settle=1.5, note=""):
        """Presses k and waits; returns the press's index (its speech is matched at the end)."""
        pressed = time.time()
        subprocess.run(["xdotool", "key", "--clearmodifiers", k], check=False)
        self.pump(settle)
        self.presses.append([pressed, note or k, describe(self.focus), cell_facts(self.focus),
                             role_name(self.focus)])
        return len(self.presses) - 1

    def type(self, text, settle=0.5):
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=False)
        self.pump(settle)

    def speech(self):
        """Orca's speech, each line given to the key pressed last before Orca logged it."""
        said = [[] for _ in self.presses]
        with open(ORCA_LOG, encoding="utf-8", errors="replace") as f:
            for line in f:
                m = SPEECH.search(line)
                if not m:
                    continue
                h, mi, sec = line[:15].split(":")
                day = time.localtime(self.presses[0][0]) if self.presses else time.localtime()
                at = time.mktime(day[:3] + (int(h), int(mi), 0) + day[6:]) + float(sec)
                index = max((i for i, p in enumerate(self.presses) if p[0] <= at), default=None)
                if index is not None:
                    said[index].append(m.group(1))
        return [" | ".join(s) for s in said]


def role_name(node):
    try:
        return node.getRoleName()
    except Exception:  # gone, or never focused
        return "?"


def describe(node):
    if node is None:
        return "?"
    try:
        return f"[{node.getRoleName()}] '{node.name}' — {node.description}"
    except Exception:
        return "?"


def cell_facts(node):
    """The focused cell's column caption, editable state and description, or None."""
    try:
        if node.getRole() != pyatspi.ROLE_TABLE_CELL:
            return None
        table = node.parent.queryTable()
        index = node.getIndexInParent()
        column = table.getColumnAtIndex(index) if index >= 0 else -1
        caption = table.getColumnDescription(column) if column >= 0 else ""
        return caption, node.getState().contains(pyatspi.STATE_EDITABLE), node.description or ""
    except Exception:
        return None


def said_column(speech, caption):
    return bool(caption) and caption.lower().replace(" ", "") in speech.lower().replace(" ", "")


def said_state(speech):
    s = speech.lower()
    return any(w in s for w in TYPED + COMPUTED) or "read only" in s or "editable" in s


def find(node, role, name=None, depth=0):
    try:
        if node.getRole() == role and (name is None or node.name == name):
            return node
        if depth > 14:
            return None
        for child in node:
            if child is not None:
                hit = find(child, role, name, depth + 1)
                if hit is not None:
                    return hit
    except Exception:
        return None
    return None


def find_app(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def totals(app, page):
    """Rows of a statement whose first amount cell is typed or computed, and which say "zbroj"."""
    window = next((w for w in app if w is not None and (w.name or "").startswith("Movik")), None)
    table = find(window, pyatspi.ROLE_TABLE, page) if window is not None else None
    if table is None:
        return None
    t = table.queryTable()
    typed_total, computed_plain, typed, computed = [], [], 0, 0
    for row in range(t.nRows):
        cell = t.getAccessibleAt(row, 2)
        editable = cell.getState().contains(pyatspi.STATE_EDITABLE)
        total = "zbroj" in (cell.description or "")
        typed += editable
        computed += not editable
        if editable and total:
            typed_total.append(row + 1)
        if not editable and not total:
            computed_plain.append(row + 1)
    return typed, typed_total, computed, computed_plain


def walk_grid(w):
    """27 rows of the balance sheet, zigzag: five moves across each row and one down."""
    w.key("ctrl+Home", note="ctrl+Home (početak)")
    for row in range(27):
        across = "Right" if row % 2 == 0 else "Left"
        for _ in range(5):
            w.moves.append(w.key(across))
        if row < 26:
            w.moves.append(w.key("Down"))


def walk_returns(w):
    """Eight ways back to the balance sheet's grid, each ending with the grid focused."""
    def back(what, *keys):
        for k in keys[:-1]:
            w.key(k, settle=2.0)
        w.returns.append((what, w.key(keys[-1], settle=2.5, note=what)))

    back("ctrl+Tab i natrag", "ctrl+Tab", "ctrl+shift+Tab")
    back("shift+Tab i Tab", "shift+Tab", "Tab")
    back("upute (F1), Escape", "F1", "Escape")
    back("pregled ispisa, Escape", "ctrl+shift+p", "Escape")
    back("O programu, Escape", "alt+u", "o", "Escape")
    back("usporedba, Escape", "alt+a", "u", "Escape")
    back("grafikoni, Escape", "alt+a", "g", "Escape")
    back("izbornik, Escape", "alt+d", "Escape", "Escape")


def walk_comparison(w):
    folder = os.path.join(ROOT, "examples", "usporedba")
    w.key("alt+a", settle=1.0)
    w.key("u", settle=2.0, note="usporedba")
    w.key("alt+m", settle=2.0, note="dodaj mapu")
    w.key("ctrl+a", settle=0.5)
    w.type(folder)
    w.key("Return", settle=4.0, note="mapa dodana")
    for k in ("Down", "Down", "Right", "Right", "Right", "Down", "Left", "Tab"):
        w.key(k, settle=0.8)
    w.key("Escape", settle=1.5, note="usporedba zatvorena")


def main():
    w = Walk()
    pyatspi.Registry.registerEventListener(w.on_focus, "object:state-changed:focused")
    env = dict(os.environ, LC_ALL=os.environ["MOVIK_WALK_LOCALE"])
    program = subprocess.Popen([PROGRAM, os.path.join(ROOT, "examples", "primjer.mvk")], env=env,
                               stdout=subprocess.DEVNULL,
                               stderr=open(os.path.join(OUT, "program.log"), "w"))
    app = find_app("Movik")
    if app is None:
        sys.exit("screen-reader-walk: the program did not appear on the accessibility bus")
    w.pump(3.0)
    w.key("ctrl+Tab", settle=2.0, note="na bilancu")
    walk_grid(w)
    walk_returns(w)
    counts = {page: totals(app, page) for page in ("Bilanca", "Račun dobiti i gubitka")}
    walk_comparison(w)
    # The currency box on the general data page (which the comparison's closing left behind).
    w.key("ctrl+shift+Tab", settle=2.0, note="opći podaci")
    w.key("alt+v", settle=2.5, note="valuta (Alt+V)")
    program.terminate()
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        program.kill()

    said = w.speech()
    with open(os.path.join(OUT, "speech.txt"), "w", encoding="utf-8") as f:
        f.write("tipka\tfokus\tgovor\n")
        for p, s in zip(w.presses, said):
            f.write(f"{p[1]}\t{p[2]}\t{s}\n")
    cells = [(said[i], w.presses[i][3]) for i in w.moves if w.presses[i][3] is not None]
    summary = [
        f"pomaci u bilanci: {len(w.moves)} (na ćeliji {len(cells)})",
        f"  govor imenuje stupac: {sum(said_column(s, c[0]) for s, c in cells)}",
        f"  govor kaže upisuje li se: {sum(said_state(s) for s, c in cells)}",
        f"  opis ćelije imenuje stupac: {sum(said_column(c[2], c[0]) for s, c in cells)}",
        f"povratci u tablicu: {len(w.returns)}, na ćeliju: "
        f"{sum(w.presses[i][4] == 'table cell' for _, i in w.returns)}",
    ]
    for what, i in w.returns:
        summary.append(f"  {what}: fokus {w.presses[i][4]}; govor: {said[i][:160]}")
    for page, c in counts.items():
        if c is None:
            summary.append(f"{page}: tablica nije nađena")
            continue
        typed, typed_total, computed, computed_plain = c
        summary.append(f"{page}: \"zbroj\" na upisnim retcima {len(typed_total)} od {typed} "
                       f"{typed_total}; bez \"zbroj\" na računatim {len(computed_plain)} od "
                       f"{computed} {computed_plain}")
    with open(os.path.join(OUT, "summary.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(summary) + "\n")
    print("\n".join(summary))


if __name__ == "__main__":
    main()
