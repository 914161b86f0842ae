#!/usr/bin/python3
"""The window as a screen reader sees it over AT-SPI: the role and name of each
control and of each tab, the event that makes a screen reader speak a new result
on every page, the About labels' press action, the text of a field and a unit
list as a screen reader walks it and where its characters are drawn, and
requests with any arguments, as a careless or hostile client may send them.

Usage: atspi_test.py PROGRAM, inside a private D-Bus session (ctest runs it
under dbus-run-session); it starts an X server of its own."""

import ctypes
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
# Fields and a unit list's line edit on the first page, the text each is given,
# the offsets of its characters from left to right as drawn, and rows of:
# boundary, offset, and the texts before, at and after it. Offsets count UTF-16
# units; a character is what a reader sees as one, an emoji or a letter with
# its accent. -1 is the end of the text; Qt's own line edit hung the program on
# a word at the end.
WALK = [
    ("Napětí", "47.5", [0, 1, 2, 3], [
        ("CHAR", 0, "", "4", "7"), ("CHAR", 4, "5", "", ""), ("CHAR", -1, "5", "", ""),
        ("CHAR", MIN, "", "4", "7"), ("CHAR", MAX, "5", "", ""), ("WORD_START", 4, "", "47.5", ""),
        ("WORD_END", -1, "", "47.5", ""), ("LINE_START", 4, "", "47.5", ""),
        ("SENTENCE_START", 2, "", "47.5", "")]),
    ("Napětí – jednotka", "k V", [0, 1, 2], [
        ("WORD_START", 1, "", "k ", "V"), ("WORD_START", 3, "k ", "V", ""), ("CHAR", 1, "k", " ", "V"),
        ("LINE_END", 0, "", "k V", "")]),
    ("Náboj", "a😀e\u0301", [0, 1, 3], [
        ("CHAR", 2, "a", "😀", "e\u0301"), ("CHAR", 4, "😀", "e\u0301", ""),
        ("WORD_END", MIN, "", "a😀e\u0301", "")]),
    ("Napětí", "שלום12ab", [4, 5, 6, 7, 3, 2, 1, 0], [
        ("CHAR", 3, "ו", "ם", "1"), ("WORD_START", MAX, "", "שלום12ab", "")]),
    ("Napětí", "", [], [
        ("CHAR", 0, "", "", ""), ("WORD_START", MIN, "", "", ""), ("LINE_END", MAX, "", "", "")]),
    ("Napětí", "7", [0], [
        ("CHAR", MIN, "", "7", ""), ("CHAR", MAX, "7", "", ""), ("WORD_END", -1, "", "7", "")]),
]
# Requests as any client may send them, in turn, to the unit list's line edit
# (unit), the Spočítat button (button) and, its unit list opened, a drop-down
# list (list) and one of its items (item), and to the program (app): target, interface, method,
# signature, arguments, and the answer, or the error sent at once.
CALLS = [
    ("unit", "EditableText", "SetTextContents", "s", ("a😀e\u0301b",), (True,)),
    ("unit", "Text", "GetText", "ii", (-100, MAX), ("a😀e\u0301b",)),
    ("unit", "Text", "GetText", "ii", (MIN, 2), ("a😀",)),
    ("unit", "Text", "GetText", "ii", (4, 1), ("",)),
    ("unit", "Text", "GetCharacterAtOffset", "i", (2,), (0x1F600,)),
    ("unit", "Text", "GetCharacterAtOffset", "i", (MAX,), (0,)),
    ("unit", "Text", "GetCharacterExtents", "iu", (MIN, 0), (0, 0, 0, 0)),
    ("unit", "Text", "GetOffsetAtPoint", "iiu", (MIN, MAX, 1), (-1,)),
    ("unit", "Text", "GetRangeExtents", "iiu", (4, 1, 0), (-1, -1, 0, 0)),
    ("unit", "Text", "GetTextAtOffset", "iu", (0, 7), "InvalidArgs"),
    ("unit", "Text", "SetSelection", "iii", (0, 4, 2), (True,)),
    ("unit", "Text", "GetSelection", "i", (0,), (1, 5)),
    ("unit", "EditableText", "DeleteText", "ii", (MIN, 2), (True,)),
    ("unit", "EditableText", "InsertText", "isi", (MAX, "xyz", 2), (True,)),
    ("unit", "EditableText", "InsertText", "isi", (1, "1", MAX), (True,)),
    ("unit", "Text", "GetText", "ii", (0, -1), ("1e\u0301bxy",)),
    ("unit", "Text", "GetText", "", (), "InvalidArgs"),
    ("unit", "Properties", "GetAll", "s", ("org.a11y.atspi.Text",), "InvalidArgs"),
    ("unit", "Properties", "Get", "ss", ("org.a11y.atspi.Text", "RangeExtents"), "InvalidArgs"),
    ("unit", "Text", "GetBoundedRanges", "iiiiuuu", (0, 0, 99, 99, 0, 0, 0), "NotSupported"),
    ("button", "EditableText", "InsertText", "isi", (MAX, "1", 1), "InvalidArgs"),
    ("list", "Table", "GetColumnExtentAt", "ii", (7, 0), (1,)),
    ("list", "Table", "GetColumnExtentAt", "ii", (-1, 0), "InvalidArgs"),
    ("list", "Table", "IsSelected", "ii", (8, 0), "InvalidArgs"),
    ("list", "Table", "GetRowColumnExtentsAtIndex", "i", (MIN,), "InvalidArgs"),
    ("item", "Properties", "Get", "ss", ("org.a11y.atspi.Table", "NRows"), "InvalidArgs"),
    ("app", "Properties", "Set", "ssv", ("org.a11y.atspi.Application", "Id", GLib.Variant("i", 7)), ()),
]
# Milliseconds for an answer: a program that hangs gives none, a busy
# machine gives it late.
ANSWER_MS = 20000
DESCRIPTION = "Výpočet kapacity, náboje, napětí, časové konstanty a energie kondenzátoru"

passed = []
failures = []
events = []  # (role, name, detail1) of each object:state-changed:showing
focused = []  # each object that gained the focus


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    (passed if ok else failures).append(what)


def on_showing(event):
    try:
        events.append((event.source.getRoleName(), event.source.name, event.detail1))
    except GLib.GError:
        pass  # the closed box's controls


def on_focused(event):
    try:
        if event.detail1:
            focused.append((event.source.getRoleName(), event.source))
    except GLib.GError:
        pass  # gone already


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


def call(bus, target, interface, method, signature, args):
    """A request sent as it is, with no checks by a client library: its answer,
    the name of the error sent instead, or None if none came."""
    interface = ("org.freedesktop.DBus." if interface == "Properties" else "org.a11y.atspi.") + interface
    try:
        return bus.call_sync(target.app.bus_name, target.path, interface, method,
                             GLib.Variant(f"({signature})", args), None, 0, ANSWER_MS).unpack()
    except GLib.Error as error:
        return (Gio.DBusError.get_remote_error(error) or "").rpartition(".")[2] or None


def cpu_seconds(pid):
    """The processor time that a process has used so far."""
    with open(f"/proc/{pid}/stat") as stat:
        user, system = stat.read().rpartition(")")[2].split()[11:13]
    return (int(user) + int(system)) / os.sysconf("SC_CLK_TCK")


def click(display, x, y):
    """Clicks at a point of the screen as a user does, through XTest."""
    x11, xtest = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    server = ctypes.c_void_p(x11.XOpenDisplay(display.encode()))
    xtest.XTestFakeMotionEvent(server, -1, x, y, 0)
    for down in (True, False):
        xtest.XTestFakeButtonEvent(server, 1, down, 0)
    x11.XCloseDisplay(server)


def main(program):
    # A runtime folder of its own for the accessibility bus, whose socket is
    # otherwise ~/.cache/at-spi/bus for every session, and removed by a session
    # that ends as this one starts.
    runtime = tempfile.mkdtemp()
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "UpdateActivationEnvironment", GLib.Variant("(a{ss})", ({"XDG_RUNTIME_DIR": runtime},)),
        None, 0, ANSWER_MS)
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
        pyatspi.Registry.registerEventListener(on_focused, "object:state-changed:focused")
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a and a.name == os.path.basename(program)), None))
        if not app:
            check(False, "the program appears on the AT-SPI bus")
            return

        pages = list(find(app, "layered pane", ""))
        tabs = [(tab.getRoleName(), tab.name) for tab in pyatspi.findDescendant(
            app, lambda o: o.getRoleName() == "page tab list") or []]
        names = [page[0] for page in CALC_PAGES] + ["O programu"]
        check(tabs == [("page tab", name) for name in names], f"the tab list holds the six tabs: {tabs}")
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
        pyatspi.setTimeout(ANSWER_MS, 0)  # a field that loops never answers
        for name, text, order, rows in WALK:
            control = find(pages[0], "text", name) or find(
                find(pages[0], "combo box", name), "text", "")
            if not walk(control, text, order, rows):
                return  # the program hangs

        address = Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
            "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None, 0, ANSWER_MS)
        bus = Gio.DBusConnection.new_for_address_sync(
            address.unpack()[0], Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        # A field as long as it takes, measured at once (Qt asks for each
        # character's box in turn, for as many as the offsets span), and at
        # once after it is set, before the line edit paints and so scrolls it.
        field = find(pages[0], "text", "Napětí")
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
        unit = find(pages[0], "combo box", CALC_PAGES[0][1] + " – jednotka")
        targets = {"unit": find(unit, "text", ""), "button": find(pages[0], "push button", "Spočítat"),
                   "app": app}
        for target, *request, expected in CALLS:
            if target == "list" and target not in targets:
                x, y, width, height = unit.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                click(env["DISPLAY"], x + width - 6, y + height // 2)  # its arrow
                item = wait_for(lambda: next((o for role, o in focused if role == "list item"), None))
                targets.update(list=item and item.parent, item=item)
            if not targets[target]:
                check(False, f"{target} is found")
                break
            got = call(bus, targets[target], *request)
            check(got == expected, f"{target}: {request[1]}{request[3]} answers {expected}"
                  + ("" if got == expected else f": got {got}"))
            if got is None or window.poll() is not None:
                break  # the program hangs or has crashed
        check(window.poll() is None, "the program runs on")
    finally:
        for process in (window, xvfb):
            process.terminate()
            process.wait()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1])
    print(f"{len(passed)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)
