"""The reader pass: the real program on Xvfb with openbox, read through AT-SPI as a screen reader
reads it (the accessibility bus and registry of at-spi2-core, through pyatspi), keys pressed by
xdotool. Run inside its own session bus: dbus-run-session -- python3 reader_pass.py PROGRAM."""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
TOOLS = {name: os.environ.get(name + "_PROGRAM", default) for name, default in (
    ("XVFB", "Xvfb"), ("OPENBOX", "openbox"), ("XDOTOOL", "xdotool"), ("XPROP", "xprop"),
    ("ATSPI_BUS_LAUNCHER", "/usr/libexec/at-spi-bus-launcher"),
    ("ATSPI_REGISTRYD", "/usr/libexec/at-spi2-registryd"))}
SOURCE = ("Осенью в лесу тихо и светло. Птицы собираются в стаи и улетают на юг, "
          "а звери готовят норы к зиме.")
NEW_TEXT = ("Осенью лес стоит тихий. Птицы собираются в стаи и улетают на юг, "
            "а белки прячут орехи.")
failures = []
events = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def pump(seconds, until=lambda: False):
    """Delivers the bus's events for up to `seconds`, or until `until()` holds."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        if until():
            return True
        time.sleep(0.02)
    return until()


def find(node, test):
    if node is None:
        return None
    if test(node):
        return node
    for child in node:
        found = find(child, test)
        if found is not None:
            return found
    return None


def named(role, name):
    """Roles by their values: their names differ between releases ("push button", "button")."""
    return lambda node: node.getRole() == role and node.name == name


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def key(keys):
    subprocess.run([TOOLS["XDOTOOL"], "key", "--delay", "40", keys], check=True)


def focus_after(keys):
    """The name of what holds the focus once `keys` are pressed."""
    events.clear()
    key(keys)
    pump(10, lambda: any(e[0] == "focus" for e in events))
    focused = [e[2] for e in events if e[0] == "focus"]
    return focused[-1] if focused else None


def marked_runs(pane):
    """The runs of a pane read as a spell checker's marks, with their text."""
    text = pane.queryText()
    runs = []
    offset = 0
    while offset < text.characterCount:
        attributes, start, end = text.getAttributeRun(offset, False)
        if "invalid:spelling" in attributes:
            runs.append(text.getText(start, end))
        offset = max(end, offset + 1)
    return runs


def on_event(event):
    source = event.source
    name = source.name if source is not None else ""
    if event.type.startswith("object:state-changed:focused") and event.detail1:
        events.append(("focus", source, name))
    elif event.type.startswith("object:text-attributes-changed"):
        events.append(("attributes", source, name))
    elif event.type.startswith("object:property-change:accessible-description"):
        # What a reader speaks: the value the event carries.
        if isinstance(event.any_data, str):
            events.append(("description", source, event.any_data))


def start_desktop():
    xvfb = subprocess.Popen([TOOLS["XVFB"], "-displayfd", "1", "-screen", "0", "1600x1000x24",
                             "-nolisten", "tcp"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
    processes = [xvfb, subprocess.Popen([TOOLS["OPENBOX"], "--sm-disable"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)]
    # openbox gives no focus to a window mapped before it manages the screen; a desktop's window
    # manager is there before any program.
    for _ in range(100):
        if "window id" in subprocess.run([TOOLS["XPROP"], "-root", "_NET_SUPPORTING_WM_CHECK"],
                                         capture_output=True, text=True).stdout:
            break
        time.sleep(0.1)
    for daemon in ([TOOLS["ATSPI_BUS_LAUNCHER"], "--launch-immediately"],
                   [TOOLS["ATSPI_REGISTRYD"], "--use-gnome-session"]):
        processes.append(subprocess.Popen(daemon, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL))
        time.sleep(0.5)
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    processes.append(subprocess.Popen([PROGRAM], env=environment))
    return processes


def application():
    for _ in range(150):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "palimo-suite":
                # The panes come to a reader one by one as the window is shown.
                panes = [find(app, named(pyatspi.ROLE_TEXT, name))
                         for name in ("Новая статья", "Исходная статья", "Второй источник")]
                if all(pane is not None and showing(pane) for pane in panes):
                    return app
        time.sleep(0.2)
    return None


def main():
    processes = start_desktop()
    try:
        app = application()
        check(app is not None, "the program is on the accessibility bus with its panes")
        if app is None:
            return
        pyatspi.Registry.registerEventListener(
            on_event, "object:state-changed:focused", "object:text-attributes-changed",
            "object:property-change:accessible-description")
        new_text = find(app, named(pyatspi.ROLE_TEXT, "Новая статья"))
        source = find(app, named(pyatspi.ROLE_TEXT, "Исходная статья"))
        auxiliary = find(app, named(pyatspi.ROLE_TEXT, "Второй источник"))
        check(source is not None and showing(source), "the source pane is read by its name")
        check(auxiliary is not None and showing(auxiliary), "the second source is read by its name")
        clock = find(app, lambda node: node.name.startswith("Время работы"))
        spoken = re.compile(r"Время работы: (\d+ час(а|ов)? )?(\d+ минут[аы]? )?\d+ секунд[аы]?")
        check(clock is not None and spoken.fullmatch(clock.name) is not None,
              "the clock is read as time: %s" % (clock and clock.name))

        # The main window's Tab order, as a reader hears it: every stop by its name.
        new_text.queryComponent().grabFocus()
        check(pump(10, lambda: new_text.getState().contains(pyatspi.STATE_FOCUSED)),
              "the new-text pane takes the focus")
        order = [focus_after("Tab") for _ in range(10)]
        check(order == ["Исходная статья", "Второй источник", "Второе окно(вспом.)", "Выход",
                        "Help", "Сравнить с оригиналом", "О программе", "Опции", "Очистить все",
                        "Новая статья"], "Tab walks the main window: %s" % order)

        new_text.queryEditableText().setTextContents(NEW_TEXT)
        source.queryEditableText().setTextContents(SOURCE)
        pump(0.5)
        find(app, named(pyatspi.ROLE_PUSH_BUTTON, "Сравнить с оригиналом")).queryAction().doAction(0)
        result = None
        for _ in range(50):
            result = find(app, lambda n: n.getRole() == pyatspi.ROLE_DIALOG)
            if result is not None:
                break
            pump(0.2)
        check(result is not None and result.name == "Текст не уникален",
              "the result window is read by its verdict: %s" % (result and result.name))
        if result is None:
            return
        pump(1)

        # The result line whole; the design's second block, below the window's edge, hidden.
        shown = [child.name for child in result if child is not None and showing(child)]
        check(any(name.startswith("Тексты совпадают на ") and name[len("Тексты совпадают на ")]
                  .isdigit() for name in shown), "the result line is one sentence: %s" % shown)
        check("Даные по Окну №2" not in shown and all(
            not showing(child) for child in result
            if child is not None and child.name in ("Даные по Окну №2", "Тексты совпадают на ")),
            "the second block is not shown to a reader")
        listing = find(result, named(pyatspi.ROLE_TEXT, "Для уникализации исправьте следующие сочетания:"))
        check(listing is not None, "the listing is named after its caption")
        if listing is not None:
            text = listing.queryText()
            whole = text.getText(0, text.characterCount)
            lines = []
            offset = 0
            while offset < text.characterCount:
                line, start, end = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_LINE_START)
                lines.append(line.rstrip("\n"))
                offset = max(end, offset + 1)
            check(lines == whole.rstrip("\n").split("\n") and "собираются в стаи" in lines,
                  "the listing's lines are read whole: %s" % lines)
        order = [focus_after("Tab") for _ in range(3)]
        check(order[1:] == ["Окей...", "Для уникализации исправьте следующие сочетания:"] or
              order[:2] == ["Для уникализации исправьте следующие сочетания:", "Окей..."],
              "Tab walks only what the result window shows: %s" % order)

        # The marks, read as a spell checker's, and told when they change.
        runs = marked_runs(new_text)
        check(runs == ["Птицы собираются в стаи и улетают на юг, а"],
              "the new text's repeat is read as marked: %s" % runs)
        key("Escape")
        pump(1)
        new_text.queryComponent().grabFocus()
        pump(0.5)
        events.clear()
        editable = new_text.queryEditableText()
        start = NEW_TEXT.index("собираются")
        editable.deleteText(start, start + len("собираются"))
        editable.insertText(start, "сбиваются", len("сбиваются"))
        pump(3, lambda: any(e[0] == "attributes" and e[2] == "Новая статья" for e in events))
        check(any(e[0] == "attributes" and e[2] == "Новая статья" for e in events),
              "a reword tells a reader that the marks changed")
        runs = marked_runs(new_text)
        check(runs == ["в стаи и улетают на юг, а"], "the reworded marks are read: %s" % runs)

        # F3 says which repeat it reached.
        events.clear()
        new_text.queryText().setCaretOffset(0)
        key("F3")
        pump(3, lambda: any(e[0] == "description" and e[2] for e in events))
        said = sorted({e[2] for e in events if e[0] == "description" and e[2]})
        check(said == ["повторение 1 из 1"], "F3 tells which repeat it reached: %s" % said)
    finally:
        for process in reversed(processes):
            process.terminate()
        for process in processes:
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()


main()
sys.exit(1 if failures else 0)
