#!/usr/bin/python3
"""The keyboard-only walk through a new user's task, run by scripts/keyboard-walk.sh.

Only keys reach the program (xdotool key/type, never a click). Each step takes a screenshot and
the AT-SPI events that fell in it are logged with the step's name: focus, announcements and
alerts, window activation, text changes, and the name changes of the warning panel.
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
SAVED = os.path.join(os.environ["HOME"], "dokumenti", "primjer-tipkovnica.mvk")
PRINTED = os.path.join(os.environ["HOME"], "dokumenti", "ispis.pdf")

EVENT_KINDS = ("focus:", "object:", "window:activate", "window:create")
# Object events a screen reader does not speak: left out of the log.
QUIET = ("object:bounds-changed", "object:children-changed", "object:visible-data-changed",
         "object:text-caret-moved", "object:text-selection-changed", "object:selection-changed",
         "object:state-changed:showing", "object:state-changed:visible",
         "object:state-changed:sensitive", "object:state-changed:enabled",
         "object:state-changed:defunct", "object:property-change:accessible-parent",
         "object:property-change:accessible-table", "object:column-", "object:row-",
         "object:model-changed", "object:active-descendant-changed",
         "object:state-changed:selected", "object:state-changed:active",
         "object:state-changed:focusable", "object:state-changed:editable",
         "object:state-changed:checked", "object:state-changed:pressed",
         "object:state-changed:armed", "object:state-changed:expanded",
         "object:state-changed:collapsed", "object:state-changed:selectable",
         "object:state-changed:modal", "object:state-changed:iconified",
         "object:property-change:accessible-value")


SHOWING = "object:state-changed:showing"


class Walk:
    def __init__(self):
        self.step = "00-pocetak"
        self.events = []  # (step, line)
        self.focused = ""
        self.order = []  # steps in order
        self.notes = {}  # step -> what the walk saw (active window, focus)
        self.files = []  # the saved document and the PDF, as the walk left them
        self.log = open(os.path.join(OUT, "events.log"), "w", encoding="utf-8")

    def on_event(self, event):
        # Only a notification's or an alert's showing is kept of the showing changes.
        if event.type.startswith(QUIET) and not self.is_alert(event):
            return
        try:
            source = f"{event.source.getRoleName()} '{event.source.name or ''}'"
        except Exception:  # the object went away before it could be read
            source = "?"
        detail = ""
        if event.type.startswith("object:text-changed"):
            detail = f" «{event.any_data}»"
        elif event.type.startswith(("object:announcement", "object:property-change")):
            detail = f" «{event.any_data}»"
        if ("focus" in event.type and event.detail1 == 1) or event.type == "focus:":
            self.focused = source
        line = f"{event.type} {event.detail1}: {source}{detail}"
        self.events.append((self.step, line))
        self.log.write(f"{self.step}\t{line}\n")
        self.log.flush()

    @staticmethod
    def is_alert(event):
        if not event.type.startswith("object:state-changed:showing"):
            return False
        try:
            return event.source.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_NOTIFICATION)
        except Exception:
            return False

    def pump(self, seconds):
        end = time.time() + seconds
        ctx = GLib.MainContext.default()
        while time.time() < end:
            while ctx.pending():
                ctx.iteration(False)
            time.sleep(0.05)

    def keys(self, *sequence, pause=0.4):
        for k in sequence:
            subprocess.run(["xdotool", "key", "--clearmodifiers", k], check=False)
            self.pump(pause)

    def type(self, text, pause=0.4):
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=False)
        self.pump(pause)

    def active_window(self):
        r = subprocess.run(["xdotool", "getactivewindow", "getwindowname"],
                           capture_output=True, text=True, check=False)
        return r.stdout.strip() or "(nijedan)"

    def wait_window(self, pattern, seconds=15):
        r = subprocess.run(["timeout", str(seconds), "xdotool", "search", "--sync",
                            "--onlyvisible", "--name", pattern],
                           capture_output=True, text=True, check=False)
        return r.stdout.split()

    def shot(self, name):
        """Screenshot of the screen with each of the program's windows laid over it.

        A root window capture under Xvfb leaves dialogs and open menus black; each window's own
        capture (xwd -id) shows them, so they are pasted over the root capture bottom to top.
        """
        tmp = os.path.join(OUT, ".shot")
        os.makedirs(tmp, exist_ok=True)
        base = os.path.join(tmp, "base.pnm")
        subprocess.run(f"xwd -root -silent | xwdtopnm > '{base}' 2>/dev/null", shell=True,
                       check=False)
        tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True,
                              check=False).stdout
        windows = []
        for line in tree.splitlines():
            m = re.match(r'\s+(0x[0-9a-f]+) .*\("movik" "Movik"\)\s+(\d+)x(\d+)\S*\s+'
                         r'\+(-?\d+)\+(-?\d+)', line)
            if m and int(m.group(2)) > 2 and int(m.group(3)) > 2:
                windows.append((m.group(1), int(m.group(4)), int(m.group(5))))
        # xwininfo lists the topmost first.
        for wid, x, y in reversed(windows):
            info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True,
                                  check=False).stdout
            if "IsViewable" not in info or x < 0 or y < 0:
                continue
            part = os.path.join(tmp, "window.pnm")
            if subprocess.run(f"xwd -id {wid} -silent | xwdtopnm > '{part}' 2>/dev/null",
                              shell=True, check=False).returncode:
                continue
            pasted = os.path.join(tmp, "pasted.pnm")
            if subprocess.run(f"pnmpaste '{part}' {x} {y} '{base}' > '{pasted}' 2>/dev/null",
                              shell=True, check=False).returncode == 0:
                os.replace(pasted, base)
        subprocess.run(f"pnmtopng '{base}' > '{os.path.join(OUT, name + '.png')}' 2>/dev/null",
                       shell=True, check=False)

    def begin(self, name):
        self.step = name
        self.order.append(name)

    def end(self, settle=1.0):
        self.pump(settle)
        self.notes[self.step] = (f"aktivni prozor: {self.active_window()}; "
                                 f"fokus: {self.focused or '?'}")
        self.shot(self.step)
        print(f"{self.step}: {self.notes[self.step]}", flush=True)

    def summary(self):
        lines = ["korak\tdogađaja\tfokus\tnajave/upozorenja\tprozori\ttekst\tstanje"]
        for s in self.order:
            mine = [line for step, line in self.events if step == s]
            def count(*prefixes):
                return sum(1 for line in mine if line.startswith(prefixes))
            lines.append(
                f"{s}\t{len(mine)}\t{count('focus:', 'object:state-changed:focused 1')}\t"
                f"{count('object:announcement', 'object:property-change', SHOWING)}\t"
                f"{count('window:')}\t{count('object:text-changed')}\t{self.notes.get(s, '')}")
        lines += ["", "datoteke: " + "; ".join(self.files)]
        with open(os.path.join(OUT, "summary.txt"), "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        print("\n".join(lines))


def find_app(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def run_walk(w):
    env = dict(os.environ, LC_ALL=os.environ["MOVIK_WALK_LOCALE"])
    env.pop("QT_QPA_PLATFORMTHEME", None)
    program = subprocess.Popen([PROGRAM], env=env, stdout=subprocess.DEVNULL,
                               stderr=open(os.path.join(OUT, "program.log"), "w"))
    if find_app("Movik") is None:
        sys.exit("keyboard-walk: the program did not appear on the accessibility bus")
    w.wait_window("^Movik")
    w.pump(2.0)
    number = [0]

    def step(what, *actions, settle=1.0, window=None):
        number[0] += 1
        w.begin(f"step-{number[0]:02d}-{what}")
        for a in actions:
            if isinstance(a, tuple):
                w.type(a[0])
            else:
                w.keys(a)
        if window:
            w.wait_window(window, 10)
        w.end(settle)

    step("pocetak")
    step("izbornik-dokument", "alt+d", settle=1.5)
    step("izbornik-zatvoren-escape", "Escape", settle=0.5)
    step("izbornik-traka-escape", "Escape", settle=0.5)
    step("novi-dokument", "alt+d", "n")
    step("naziv-poduzeca", "alt+n", ("Tipkovnica d.o.o.",))
    step("sjediste", "alt+s", ("Zagreb",))
    step("razdoblje-od", "alt+r", "ctrl+a", ("1.1.2024.",))
    step("razdoblje-do", "Tab", "ctrl+a", ("31.12.2024.",))
    step("broj-dionica", "Tab", ("1000",))
    step("iznosi-u", "alt+z", "ctrl+a", ("eurima i centima",))
    step("valuta", "Tab")
    step("bilanca", "ctrl+Tab")
    # Row 4 (1. Osnivački izdaci): the previous year, then the current year two columns on.
    step("bilanca-prethodna-godina", "Down", "Down", "Down", ("1000",), "Return")
    step("bilanca-tekuca-godina", "Right", "Right", ("1200",), "Return", settle=1.5)
    step("racun-dobiti", "ctrl+Tab")
    step("racun-dobiti-iznosi", "Down", "Down", ("5000",), "Return", "Down", ("3000",), "Return",
         settle=1.5)
    step("snimi-dijalog", "ctrl+s", window="Snimi")
    step("snimi-ime", "ctrl+a", (SAVED,), settle=0.5)
    step("snimi-potvrda", "Return", window="Potvrda")
    step("snimljeno", "Return", settle=1.5)
    step("upozorenje-zatvoreno", "Return")
    step("pregled-ispisa", "ctrl+shift+p", window="Pregled ispisa", settle=2.0)
    step("pregled-zatvoren", "Escape")
    step("ispis", "ctrl+p", settle=3.0)
    step("izvoz-pdf-dijalog", "alt+d", "d", window="PDF", settle=1.5)
    step("izvoz-pdf-ime", "ctrl+a", (PRINTED,), settle=0.5)
    step("izvoz-pdf-potvrda", "Return", settle=1.5)
    step("izvoz-pdf-gotov", "Return", settle=2.0)
    step("izbornik-analiza", "alt+a", settle=0.8)
    step("usporedba", "u", window="Usporedba", settle=1.5)
    step("usporedba-dodaj-dijalog", "alt+d", window="Dodaj dokumente", settle=1.5)
    step("usporedba-dodaj-ime", "ctrl+a", (SAVED,), settle=0.5)
    step("usporedba-dodano", "Return", settle=2.5)
    step("usporedba-tablica", "Down", settle=0.5)
    step("usporedba-tab-iz-tablice", "Tab", settle=0.5)
    step("usporedba-zatvorena", "Escape")
    step("upute", "F1", window="Korisničke upute", settle=1.5)
    step("upute-trazi", "ctrl+f", ("bilanca",), "Return")
    step("upute-zatvorene", "Escape")
    step("kraj-tipka-u-polju", ("x",), "BackSpace", settle=0.5)

    for path in (SAVED, PRINTED):
        size = os.path.getsize(path) if os.path.exists(path) else None
        w.files.append(f"{os.path.basename(path)}: "
                       f"{'nema je' if size is None else f'{size} bajtova'}")
    program.terminate()
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        program.kill()


def dark_shot(w):
    """The main window with the example document under qt6ct's dark palette."""
    env = dict(os.environ, LC_ALL=os.environ["MOVIK_WALK_LOCALE"])
    env["QT_QPA_PLATFORMTHEME"] = "qt6ct"
    program = subprocess.Popen([PROGRAM, os.path.join(ROOT, "examples", "primjer.mvk")],
                               env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    w.wait_window("^Movik")
    w.begin("dark-01-opci-podaci")
    w.end(2.0)
    w.begin("dark-02-bilanca")
    w.keys("ctrl+Tab")
    w.end(1.0)
    program.terminate()
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        program.kill()


def main():
    w = Walk()
    for kind in EVENT_KINDS:
        pyatspi.Registry.registerEventListener(w.on_event, kind)
    run_walk(w)
    dark_shot(w)
    w.summary()


if __name__ == "__main__":
    main()
