#!/usr/bin/python3
"""The window as a screen reader sees it over AT-SPI: the role and name of each
control and of each tab, the event that makes a screen reader speak a new result
on every page, the About labels' press action, the text of a field and a unit
list as a screen reader walks it and where its characters are drawn, and
requests with any arguments, as a careless or hostile client may send them.
With --probe WORKAROUND, the faults of Qt that a workaround is for, each in a
program started afresh without it: a fault no longer there fails the run.

Usage: atspi_test.py [--probe WORKAROUND] PROGRAM, inside a private D-Bus
session and on an X server of its own (ctest runs it under dbus-run-session and
on-xvfb)."""

import contextlib
import ctypes
import itertools
import re
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Gio, GLib

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
MIN, MAX = -2**31, 2**31 - 1
# What Spočítat shows after the rows of [edits] in tests/atspi_rows.tsv.
EDITED = "Kondenzátor má kapacitu 2000 F"
# The faults of Qt that the workarounds are for, each shown by requests to a
# program started afresh with that workaround off: the workaround, the fault,
# the target (as in [calls] of tests/atspi_rows.tsv, "field" the first page's first field and "tabs" the
# page tab list) and the text it is given first, the requests, and whether
# their outcomes show the fault; then the Qt version from which the workaround
# leaves that part off itself. An outcome is the answer or error, "unanswered"
# (a later request is answered, this one never), "hang" (nothing answered
# within ANSWER_MS) or "ended" (the program ends).
FAULTS = [
    ("atspi_line_edit", "loops for ever on the word at the end", "field", "47.5",
     [("Text", "GetTextAtOffset", "iu", (4, pyatspi.TEXT_BOUNDARY_WORD_START))],
     lambda got: got == "hang"),
    ("atspi_line_edit", "splits the text into runs of text attributes", "field", "47.5",
     [("Text", "GetAttributes", "i", (0,))], lambda got: got[1:] != (0, 4)),
    ("split_ligature", "boxes the lam of a lam-alef beside its share of the glyph", "unit", "سلام",
     [("Text", "GetCharacterExtents", "iu", (k, 0)) for k in (0, 1)],
     lambda seen, lam: lam[0] + lam[2] > seen[0]),
    ("atspi_bridge_guard", "ends on a request without its arguments", "unit", None,
     [("Text", "GetText", "", ())], lambda got: got == "ended"),
    ("atspi_bridge_guard", "takes an insertion into what is no editable text", "button", None,
     [("EditableText", "InsertText", "isi", (0, "1", 1))], lambda got: got == (True,)),
    ("atspi_bridge_guard", "hangs on the box of 30,000 characters", "unit", "1" * 30000,
     [("Text", "GetRangeExtents", "iiu", (0, 30000, 0))], lambda got: got == "hang"),
    ("atspi_bridge_guard", "leaves a text's bounded ranges unanswered", "unit", None,
     [("Text", "GetBoundedRanges", "iiiiuuu", (0, 0, 99, 99, 0, 0, 0))],
     lambda got: got == "unanswered"),
    ("atspi_bridge_guard", "leaves the application's id unanswered", "app", None,
     [("Properties", "Set", "ssv", ("org.a11y.atspi.Application", "Id", GLib.Variant("i", 7)))],
     lambda got: got == "unanswered"),
    ("atspi_bridge_guard", "answers for a cell that does not exist, or ends", "list", None,
     [("Table", "GetColumnExtentAt", "ii", (-1, 0))],
     lambda got: isinstance(got, tuple) or got == "ended"),
    ("atspi_bridge_guard", "gives a character as its first byte in the local encoding", "unit",
     "a😀", [("Text", "GetCharacterAtOffset", "i", (1,))], lambda got: got != (0x1F600,), (6, 8)),
    ("accessible_tab_list", "counts the hidden scroll buttons as tabs", "tabs", None,
     [("Properties", "Get", "ss", ("org.a11y.atspi.Accessible", "ChildCount"))],
     lambda got: got != (6,)),
]
# The roles looked for, by the names at-spi2-core gave them before 2.56, which
# renames some ("push button" is "button" there): compared by number.
ROLES = {"page tab list": pyatspi.ROLE_PAGE_TAB_LIST, "page tab": pyatspi.ROLE_PAGE_TAB,
         "layered pane": pyatspi.ROLE_LAYERED_PANE, "text": pyatspi.ROLE_TEXT,
         "combo box": pyatspi.ROLE_COMBO_BOX, "push button": pyatspi.ROLE_PUSH_BUTTON,
         "notification": pyatspi.ROLE_NOTIFICATION, "image": pyatspi.ROLE_IMAGE,
         "link": pyatspi.ROLE_LINK, "alert": pyatspi.ROLE_ALERT, "label": pyatspi.ROLE_LABEL,
         "list": pyatspi.ROLE_LIST, "list item": pyatspi.ROLE_LIST_ITEM}
ROLE_NAMES = {number: name for name, number in ROLES.items()}
# Milliseconds for an answer: a program that hangs gives none, a busy
# machine gives it late.
ANSWER_MS = 20000
DESCRIPTION = "Výpočet kapacity, náboje, napětí, časové konstanty a energie kondenzátoru"

passed = []
failures = []
events = []  # (role, name, detail1) of each object:state-changed:showing
focused = []  # each object that gained the focus


def table(section):
    """The rows of a section of tests/atspi_rows.tsv, each cell evaluated."""
    names = {"__builtins__": {}, "MIN": MIN, "MAX": MAX, "Variant": GLib.Variant}
    rows, inside = [], False
    with open(os.path.join(os.path.dirname(__file__), "atspi_rows.tsv"), encoding="utf-8") as rows_file:
        for line in rows_file:
            line = line.rstrip("\n")
            if line.startswith("["):
                inside = line == f"[{section}]"
            elif inside and line and not line.startswith("#"):
                rows.append(tuple(eval(cell, names) for cell in line.split("\t")))  # pylint: disable=eval-used
    return rows


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    (passed if ok else failures).append(what)


def role(obj):
    """The object's role by its name in ROLES, else its number."""
    number = obj.getRole()
    return ROLE_NAMES.get(number, str(number))


def on_showing(event):
    try:
        events.append((role(event.source), event.source.name, event.detail1))
    except GLib.GError:
        pass  # the closed box's controls


def on_focused(event):
    try:
        if event.detail1:
            focused.append((role(event.source), event.source))
    except GLib.GError:
        pass  # gone already


def open_list_item():
    """An item of the list that has gained the focus: Qt 6.4 focuses its
    current item, Qt 6.8 the list itself."""
    for kind, obj in focused:
        if kind == "list item":
            return obj
        if kind == "list":
            return pyatspi.findDescendant(obj, lambda o: o.getRole() == pyatspi.ROLE_LIST_ITEM)
    return None


def wait_for(found, seconds=60):
    """Runs the event loop until found() gives something true, or None at the end
    (only a fault takes a minute, however busy the machine)."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        result = found()
        if result:
            return result
        time.sleep(0.02)
    return None


def find(root, kind, name):
    """The first descendant of root (if any) with that role and name, or None."""
    return root and pyatspi.findDescendant(
        root, lambda o: o.getRole() == ROLES[kind] and o.name == name)


def need(root, kind, name):
    """As find(), a failed check where there is none."""
    found = find(root, kind, name)
    if not found:
        check(False, f"{kind} {name!r} is found")
    return found


def act(obj, action):
    if not obj:
        return  # a failed check already
    actions = obj.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action in names:
        actions.doAction(names.index(action))
    else:
        check(False, f"{role(obj)} {obj.name!r} has the action {action}")


def dump(page):
    rows = []
    for obj in page:
        kind = role(obj)
        if kind == "link":
            actions = obj.queryAction()
            rows.append((kind, obj.name,
                         ", ".join(actions.getName(i) for i in range(actions.nActions))))
        elif kind in ("text", "combo box", "push button", "notification", "image"):
            rows.append((kind, obj.name, obj.description))
    return rows


def check_selected(app, tab):
    """Only the tab of the page shown is selected."""
    tab_list = pyatspi.findDescendant(app, lambda o: o.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
    selected = [t.name for t in tab_list or [] if t.getState().contains(pyatspi.STATE_SELECTED)]
    check(selected == [tab], f"{tab}: the tab selected, no other: {selected}")


def walk(control, text, order, rows):
    control.queryEditableText().setTextContents(text)
    got = control.queryText()
    length = len(text.encode("utf-16-le")) // 2
    check(got.getText(0, -1) == text and list(got.getAttributes(0))[1:] == [0, length],
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
    if length >= 3:
        got.setSelection(0, 1, 3)
        selected = got.getSelection(0) == (1, 3) and got.caretOffset == 3
        got.removeSelection(0)
        check(selected and got.getNSelections() == 0,
              f"{text!r}: characters 1 to 3 selected over AT-SPI, and deselected")
    # A magnifier follows the characters and a mouse review finds them: each one
    # lies in the control where it is drawn, from the edge where its text
    # starts, and the whole text's box holds them all.
    box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xs = [got.getCharacterExtents(k, pyatspi.DESKTOP_COORDS) for k in order]
    if xs:
        hull = (xs[0][0], xs[0][1], xs[-1][0] + xs[-1][2] - xs[0][0], xs[0][3])
        check(min(xs[0][0] - box.x, box.x + box.width - hull[0] - hull[2]) in range(8)
              and all(a[0] + a[2] <= b[0] for a, b in zip(xs, xs[1:]))
              and [got.getOffsetAtPoint(x + w // 2, y + h // 2, pyatspi.DESKTOP_COORDS)
                   for x, y, w, h in xs] == order
              and got.getRangeExtents(0, -1, pyatspi.DESKTOP_COORDS) == hull,
              f"{text!r}: its characters are drawn in the control in the order {order}: {xs} in {box}")
    check(got.getCharacterExtents(length, pyatspi.DESKTOP_COORDS) == (0, 0, 0, 0)
          and control.getState().contains(pyatspi.STATE_EDITABLE),
          f"{text!r}: no place beyond its end; editable")
    return True


def edit_fields(page):
    # The unit lists start from a unit that no row writes.
    for name, unit in (("Napětí", "pV"), ("Náboj", "pC")):
        edit = need(need(page, "combo box", name + " – jednotka"), "text", "")
        if edit:
            edit.queryEditableText().setTextContents(unit)
    for row, name, request, args, taken, *expected in table("edits"):
        field = need(page, "text", name)
        unit = need(need(page, "combo box", name + " – jednotka"), "text", "")
        if not field or not unit:
            continue
        answer = getattr(field.queryEditableText(), request)(*args)
        got = [answer] + [control.queryText().getText(0, -1) for control in (field, unit)]
        check(got == [taken] + expected, f"{row}: {name}: {request}{str(args)[:40]} answers "
              f"{taken} and leaves {expected}" + ("" if got == [taken] + expected else f": got {got}"))
    events.clear()
    act(need(page, "push button", "Spočítat"), "Press")
    check(wait_for(lambda: ("notification", EDITED, 1) in events), f"Spočítat then shows \"{EDITED}\"")


def request(target, interface, method, signature, args):
    """The arguments of Gio's DBusConnection.call for a request sent as it is."""
    interface = ("org.freedesktop.DBus." if interface == "Properties" else "org.a11y.atspi.") + interface
    return (target.app.bus_name, target.path, interface, method, GLib.Variant(f"({signature})", args),
            None, 0, ANSWER_MS)


def answer(reply):
    """What reply() gives: the answer, the name of the error sent instead, or None if none came."""
    try:
        return reply().unpack()
    except GLib.Error as error:
        return (Gio.DBusError.get_remote_error(error) or "").rpartition(".")[2] or None


def call(bus, target, *sent):
    """A request sent as it is, with no checks by a client library: its answer,
    the name of the error sent instead, or None if none came."""
    return answer(lambda: bus.call_sync(*request(target, *sent)))


def outcome(bus, program, target, *sent):
    """What a request gets, as FAULTS names it. The program answers its requests
    in turn, so one answered after it tells a request left unanswered."""
    replies = []
    bus.call(*request(target, *sent), None,
             lambda source, result: replies.append(answer(lambda: source.call_finish(result))))
    started = time.monotonic()
    later = call(bus, target, "Accessible", "GetRole", "", ())
    while GLib.MainContext.default().iteration(False):
        pass
    if isinstance(later, tuple):
        return replies[0] if replies else "unanswered"
    if time.monotonic() - started < ANSWER_MS / 1000:  # refused at once: the program ends
        with contextlib.suppress(subprocess.TimeoutExpired):
            program.wait(ANSWER_MS / 1000)
    return "hang" if program.poll() is None else "ended"


def cpu_seconds(pid):
    """The processor time that a process has used so far."""
    with open(f"/proc/{pid}/stat") as stat:
        user, system = stat.read().rpartition(")")[2].split()[11:13]
    return (int(user) + int(system)) / os.sysconf("SC_CLK_TCK")


def open_list(display, unit):
    """An item of a unit list's drop-down list, opened by a click on its arrow."""
    x, y, width, height = unit.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    click(display, x + width - 6, y + height // 2)
    return wait_for(open_list_item)


def click(display, x, y):
    """Clicks at a point of the screen as a user does, through XTest."""
    x11, xtest = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    server = ctypes.c_void_p(x11.XOpenDisplay(display.encode()))
    xtest.XTestFakeMotionEvent(server, -1, x, y, 0)
    for down in (True, False):
        xtest.XTestFakeButtonEvent(server, 1, down, 0)
    x11.XCloseDisplay(server)


def desktop():
    """The program's environment on the X server that the test was started on
    (ctest starts it under on-xvfb), and a runtime folder of its own."""
    # A runtime folder of its own for the accessibility bus, whose socket is
    # otherwise ~/.cache/at-spi/bus for every session, and removed by a session
    # that ends as this one starts.
    runtime = tempfile.mkdtemp()
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "UpdateActivationEnvironment", GLib.Variant("(a{ss})", ({"XDG_RUNTIME_DIR": runtime},)),
        None, 0, ANSWER_MS)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    return env, runtime


def a11y_bus():
    """A connection of its own to the accessibility bus, for requests sent as they are."""
    address = Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None, 0, ANSWER_MS)
    return Gio.DBusConnection.new_for_address_sync(
        address.unpack()[0], Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)


def probe(program, workaround):
    """Each fault of FAULTS that the workaround is for, in a program started
    afresh without it: one gone fails, and says that the workaround, or that
    part of it, can go."""
    env, runtime = desktop()
    env["DIELEKTRA_WORKAROUNDS_OFF"] = workaround
    pyatspi.Registry.registerEventListener(on_focused, "object:state-changed:focused")
    bus, version, gone, faults = a11y_bus(), "", [], [f for f in FAULTS if f[0] == workaround]
    try:
        for _, fault, name, text, requests, shows, *fenced in faults:
            log = tempfile.TemporaryFile("w+")
            process = subprocess.Popen([program], env=env, stderr=log)
            try:
                focused.clear()
                app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                             if a and a.get_process_id() == process.pid), None))
                page = (find(app, "layered pane", "") or [None])[0]
                unit = find(page, "combo box", "Napětí – jednotka")
                targets = {"app": app, "field": find(page, "text", "Napětí"), "unit": find(unit, "text", ""),
                           "button": find(page, "push button", "Spočítat"),
                           "tabs": app and pyatspi.findDescendant(
                               app, lambda o: o.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)}
                if name == "list" and unit:
                    item = open_list(env["DISPLAY"], unit)
                    targets["list"] = item and item.parent
                target = targets.get(name)
                if text is not None and target:
                    call(bus, target, "EditableText", "SetTextContents", "s", (text,))
                got = []
                for sent in requests if target else []:
                    got.append(outcome(bus, process, target, *sent))
                    if got[-1] in ("hang", "ended"):
                        break
            finally:
                process.terminate()
                process.wait()
                log.seek(0)
                written = log.read()
            told = re.search(rf"^Qt (\d+)\.(\d+)\.\S*: the workaround {workaround} is off$", written, re.M)
            if not told or not target:
                sys.stderr.write(written)
                check(False, f"{workaround}: a program without it shows its {name}")
                continue
            version = f"{told[1]}.{told[2]}"
            if fenced and (int(told[1]), int(told[2])) >= fenced[0]:
                print(f"      {fault}: its part of {workaround} is off on Qt {version}")
                continue
            with contextlib.suppress(TypeError, IndexError, ValueError):
                if shows(*got):
                    check(True, f"{workaround}: Qt {version} {fault}: {str(got)[:80]}")
                    continue
            gone.append(fault)
            check(False, f"{workaround}: Qt {version} no longer {fault} ({str(got)[:80]}): "
                  "that part of the workaround can go")
    finally:
        shutil.rmtree(runtime, ignore_errors=True)
    if gone and len(gone) == len(faults):
        check(False, f"the fault this workaround is for is gone on Qt {version}: it can go")


def main(program):
    env, runtime = desktop()
    try:
        test(program, env, runtime)
    finally:
        shutil.rmtree(runtime, ignore_errors=True)


def test(program, env, runtime):
    # What the program writes, read at the end and written out again.
    log = open(os.path.join(runtime, "program.log"), "w+")
    window = subprocess.Popen([program], env=env, stderr=log)
    try:
        pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(on_focused, "object:state-changed:focused")
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a and a.name == os.path.basename(program)), None))
        if not app:
            check(False, "the program appears on the AT-SPI bus")
            return

        # The loops below go over these pages: a missing one is a failed check here.
        pages = list(find(app, "layered pane", "") or [])
        check(len(pages) == 6, f"the tab control holds six pages: {len(pages)}")
        if not pages:
            return
        tabs = [(role(tab), tab.name) for tab in pyatspi.findDescendant(
            app, lambda o: o.getRole() == pyatspi.ROLE_PAGE_TAB_LIST) or []]
        names = [page[0] for page in CALC_PAGES] + ["O programu"]
        check(tabs == [("page tab", name) for name in names], f"the tab list holds the six tabs: {tabs}")
        check_selected(app, CALC_PAGES[0][0])
        for page, (tab, _, _, field, text, sentence) in zip(pages, CALC_PAGES):
            act(need(app, "page tab", tab), "Press")
            wait_for(lambda: page.getState().contains(pyatspi.STATE_SHOWING))
            check_selected(app, tab)
            control = need(page, "text", field)
            if control:
                control.queryEditableText().setTextContents(text)
            events.clear()
            act(need(page, "push button", "Spočítat"), "Press")
            check(wait_for(lambda: ("notification", sentence, 1) in events),
                  f"{tab}: a notification is shown saying \"{sentence}\"")

        act(need(app, "page tab", "O programu"), "Press")
        act(wait_for(lambda: find(app, "link", "Ferrolux edition 1 - 3")) or
            need(app, "link", "Ferrolux edition 1 - 3"), "Press")
        check_selected(app, "O programu")
        box = wait_for(lambda: find(app, "alert", "Dielektra"))
        check(box and find(box, "label", DESCRIPTION),
              "Label23's press action opens the description box")
        if box:
            act(need(box, "push button", "OK"), "Press")
            check(wait_for(lambda: not find(app, "alert", "Dielektra")), "the box closes")

        expected = [(tab, [("text", upper, ""), ("combo box", upper + " – jednotka", ""),
                           ("text", lower, ""), ("combo box", lower + " – jednotka", ""),
                           ("push button", "Spočítat", tab), ("notification", sentence, "")])
                    for tab, upper, lower, _, _, sentence in CALC_PAGES]
        for page, (tab, rows) in zip(pages, expected + [("O programu", ABOUT)]):
            got = dump(page)
            check(got == rows, f"{tab}: roles, names, descriptions and actions"
                  + ("" if got == rows else f"\n      got      {got}\n      expected {rows}"))

        act(need(app, "page tab", CALC_PAGES[0][0]), "Press")
        wait_for(lambda: pages[0].getState().contains(pyatspi.STATE_SHOWING))
        pyatspi.setTimeout(ANSWER_MS, 0)  # a field that loops never answers
        for (name, text, order), rows in itertools.groupby(table("walk"), lambda row: row[:3]):
            control = find(pages[0], "text", name) or need(
                need(pages[0], "combo box", name), "text", "")
            if control and not walk(control, text, order, [row[3:] for row in rows]):
                return  # the program hangs
        edit_fields(pages[0])

        bus = a11y_bus()
        # A text as long as a line edit takes, measured at once (Qt asks for
        # each character's box in turn, for as many as the offsets span), and
        # at once after it is set, before the line edit paints and so scrolls
        # it; in a unit list, as a field refuses a number this long.
        field = need(need(pages[0], "combo box", "Napětí – jednotka"), "text", "")
        if not field:
            return
        bus.call(field.app.bus_name, field.path, "org.a11y.atspi.EditableText", "SetTextContents",
                 GLib.Variant("(s)", ("1" * 100000,)), None, 0, ANSWER_MS)
        boxes = [call(bus, field, "Text", "GetRangeExtents", "iiu", (0, -1, 0))]
        start = cpu_seconds(window.pid)  # the program's own, whatever else runs
        boxes.append(call(bus, field, "Text", "GetRangeExtents", "iiu", (MIN, MAX, 0)))
        seconds = cpu_seconds(window.pid) - start
        if None in boxes:
            check(False, "a field of 100,000 characters gives its box")
            return  # the program hangs
        got, box = field.queryText(), field.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        first, last = (got.getCharacterExtents(k, 0) for k in (0, got.characterCount - 1))
        check(boxes == [(first[0], first[1], last[0] + last[2] - first[0], first[3])] * 2
              and seconds < 1 and box.x < last[0] < box.x + box.width,
              f"the box of {got.characterCount} characters, in {seconds:.2f} s of its processor time, the last one by the"
              f" caret in view: {boxes}")
        unit = need(pages[0], "combo box", CALC_PAGES[0][1] + " – jednotka")
        targets = {"unit": need(unit, "text", ""), "button": need(pages[0], "push button", "Spočítat"),
                   "app": app}
        for target, interface, method, signature, args, expected, *after in table("calls"):
            request = (interface, method, signature, args)
            if target == "list" and target not in targets and unit:
                item = open_list(env["DISPLAY"], unit)
                targets.update(list=item and item.parent, item=item)
            if not targets.get(target):
                check(False, f"{target} is found")
                break
            started = time.monotonic()
            got = call(bus, targets[target], *request)
            took = f"{(time.monotonic() - started) * 1000:.0f} ms"
            shown = f"{target}: {method}{str(args)[:60]}"
            check(got == expected, f"{shown} answers {expected} ({took})"
                  + ("" if got == expected else f": got {got}"))
            if after:
                text = targets[target].queryText()
                left = (text.getText(0, -1), text.caretOffset)
                check(left == after[0], f"{shown} leaves {after[0]}"
                      + ("" if left == after[0] else f": got {left}"))
            if got is None or window.poll() is not None:
                break  # the program hangs or has crashed
        check(window.poll() is None, "the program runs on")
    finally:
        log.seek(0)
        written = log.read()
        sys.stderr.write(written)
        check("AT-SPI bridge guard:" not in written,
              "the bridge guard found Qt's bridge where it looks for it")
        window.terminate()
        window.wait()


if __name__ == "__main__":
    if sys.argv[1] == "--probe":
        probe(sys.argv[3], sys.argv[2])
    else:
        main(sys.argv[1])
    print(f"{len(passed)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)
