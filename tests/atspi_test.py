#!/usr/bin/python3
"""The window as a screen reader sees it over AT-SPI: the role and name of each
control, the event that makes a screen reader speak a new result on every page,
the About labels' press action, and the text of a field and a unit list as a
screen reader walks it.

Usage: atspi_test.py PROGRAM, inside a private D-Bus session (ctest runs it
under dbus-run-session); it starts an X server of its own."""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Each calculation page: its tab, the quantities of its upper and lower rows,
# the field changed before a click with its new text, and the sentence that
# the click then shows.
CALC_PAGES = [
    ("Kapacita", "Napětí", "Náboj", "Napětí", "2", "Kondenzátor má kapacitu 500 F"),
    ("Náboj", "Napětí", "Kapacita", "Napětí", "100", "V kondenzátoru je náboj 47 C"),
    ("Napětí", "Náboj", "Kapacita", "Náboj", "5", "Kondenzátor má napětí 5 V"),
    ("Čas konstanta", "Kapacita", "Odpor", "Odpor", "2",
     "Časová konstanta kondenzátoru je 20 sec."),
    ("Energie", "Napětí", "Kapacita", "Kapacita", "200", "V kondenzátoru je energie 1 J"),
]
# The About page's controls: role, name, and the actions of a link.
ABOUT = [("image", "Kondenzátor 4700 µF, 63 V", ""),
         ("link", "https://www.ferrolux.example", "Press, SetFocus"),
         ("link", "Ferrolux edition 1 - 3", "Press, SetFocus")]
# A field and a unit list's line edit on the first page, the text each is
# given, and rows of: boundary, offset, and the texts before, at and after it.
# -1 is the end of the text and 9 is past it; Qt's own line edit hung the
# program on a word at the end.
WALK = [
    ("Napětí", "47.5", [("CHAR", 0, "", "4", "7"), ("CHAR", 4, "5", "", ""), ("CHAR", 9, "5", "", ""),
                        ("WORD_START", 4, "", "47.5", ""), ("WORD_END", -1, "", "47.5", ""),
                        ("LINE_START", 4, "", "47.5", ""), ("SENTENCE_START", 2, "", "47.5", "")]),
    ("Napětí – jednotka", "k V", [("WORD_START", 1, "", "k ", "V"), ("WORD_START", 3, "k ", "V", ""),
                                  ("CHAR", 1, "k", " ", "V"), ("LINE_END", 0, "", "k V", "")]),
]
DESCRIPTION = "Výpočet kapacity, náboje, napětí, časové konstanty a energie kondenzátoru"

passed = []
failures = []
events = []  # (role, name, detail1) of each object:state-changed:showing


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    (passed if ok else failures).append(what)


def on_showing(event):
    try:
        events.append((event.source.getRoleName(), event.source.name, event.detail1))
    except GLib.GError:
        pass  # the closed box's controls


def wait_for(found, seconds=10):
    """Runs the event loop until found() gives something true, or None at the end."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        result = found()
        if result:
            return result
        time.sleep(0.02)
    return None


def find(root, role, name):
    return pyatspi.findDescendant(root, lambda o: o.getRoleName() == role and o.name == name)


def act(obj, action):
    actions = obj.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action in names:
        actions.doAction(names.index(action))
    else:
        check(False, f"{obj.getRoleName()} {obj.name!r} has the action {action}")


def dump(page):
    rows = []
    for obj in page:
        role = obj.getRoleName()
        if role == "link":
            actions = obj.queryAction()
            rows.append((role, obj.name,
                         ", ".join(actions.getName(i) for i in range(actions.nActions))))
        elif role in ("text", "combo box", "push button", "notification", "image"):
            rows.append((role, obj.name, obj.description))
    return rows


def walk(control, text, rows):
    control.queryEditableText().setTextContents(text)
    got = control.queryText()
    check(got.getText(0, -1) == text and list(got.getAttributes(0))[1:] == [0, len(text)],
          f"{text!r} is read whole, as one run of text attributes")
    for boundary, offset, *expected in rows:
        kind = getattr(pyatspi, "TEXT_BOUNDARY_" + boundary)
        what = f"{text!r}: {boundary} before, at and after {offset}"
        try:
            texts = [get(offset, kind)[0] for get in
                     (got.getTextBeforeOffset, got.getTextAtOffset, got.getTextAfterOffset)]
        except GLib.GError:
            check(False, what + " answer at once")
            return False
        check(texts == expected, what + ("" if texts == expected else f": got {texts}"))
    got.setSelection(0, 1, 3)
    selected = got.getSelection(0) == (1, 3) and got.caretOffset == 3
    got.removeSelection(0)
    check(selected and got.getNSelections() == 0,
          f"{text!r}: characters 1 to 3 selected over AT-SPI, and deselected")
    # A magnifier follows the characters: each one lies in the control, left to right.
    box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xs = [got.getCharacterExtents(k, pyatspi.DESKTOP_COORDS)[0] for k in range(len(text))]
    check(box.x <= xs[0] < box.x + 8 and xs == sorted(set(xs)) and xs[-1] < box.x + box.width,
          f"{text!r}: its characters are placed in the control, left to right: {xs} in {box}")
    check(got.getCharacterExtents(len(text), pyatspi.DESKTOP_COORDS) == (0, 0, 0, 0)
          and control.getState().contains(pyatspi.STATE_EDITABLE),
          f"{text!r}: no place beyond its end; editable")
    return True


def main(program):
    # Xvfb picks a free display and writes its number once it takes clients:
    # no race with other X servers started at the same time.
    ready, ready_w = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(ready_w), "-screen", "0", "800x600x24",
                             "-nolisten", "tcp"], pass_fds=[ready_w], stderr=subprocess.DEVNULL)
    os.close(ready_w)
    env = dict(os.environ, DISPLAY=":" + os.read(ready, 16).decode().strip(),
               QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    window = subprocess.Popen([program], env=env)
    try:
        pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a and a.name == os.path.basename(program)), None))
        if not app:
            check(False, "the program appears on the AT-SPI bus")
            return

        pages = list(find(app, "layered pane", ""))
        for page, (tab, _, _, field, text, sentence) in zip(pages, CALC_PAGES):
            act(find(app, "page tab", tab), "Press")
            wait_for(lambda: page.getState().contains(pyatspi.STATE_SHOWING))
            find(page, "text", field).queryEditableText().setTextContents(text)
            events.clear()
            act(find(page, "push button", "Spočítat"), "Press")
            check(wait_for(lambda: ("notification", sentence, 1) in events),
                  f"{tab}: a notification is shown saying \"{sentence}\"")

        act(find(app, "page tab", "O programu"), "Press")
        act(wait_for(lambda: find(app, "link", "Ferrolux edition 1 - 3")), "Press")
        box = wait_for(lambda: find(app, "alert", "Dielektra"))
        check(box and find(box, "label", DESCRIPTION),
              "Label23's press action opens the description box")
        if box:
            act(find(box, "push button", "OK"), "Press")
            check(wait_for(lambda: not find(app, "alert", "Dielektra")), "the box closes")

        expected = [(tab, [("text", upper, ""), ("combo box", upper + " – jednotka", ""),
                           ("text", lower, ""), ("combo box", lower + " – jednotka", ""),
                           ("push button", "Spočítat", tab), ("notification", sentence, "")])
                    for tab, upper, lower, _, _, sentence in CALC_PAGES]
        for page, (tab, rows) in zip(pages, expected + [("O programu", ABOUT)]):
            got = dump(page)
            check(got == rows, f"{tab}: roles, names, descriptions and actions"
                  + ("" if got == rows else f"\n      got      {got}\n      expected {rows}"))

        act(find(app, "page tab", CALC_PAGES[0][0]), "Press")
        wait_for(lambda: pages[0].getState().contains(pyatspi.STATE_SHOWING))
        pyatspi.setTimeout(2000, 0)  # milliseconds: a field that loops never answers
        for name, text, rows in WALK:
            control = find(pages[0], "text", name) or find(
                find(pages[0], "combo box", name), "text", "")
            if not walk(control, text, rows):
                break  # the program hangs
    finally:
        for process in (window, xvfb):
            process.terminate()
            process.wait()


if __name__ == "__main__":
    main(sys.argv[1])
    print(f"{len(passed)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)
