#!/usr/bin/python3
"""End-to-end test of the real program on a real X server: Xvfb with openbox and a tray host.

With a tray: only the icon shows at start-up, a left click on it shows the window, closing the
window hides it, the status bar's panels sit side by side once the timer has ticked, and
SIGTERM writes the closing dump and ends the program. Without a tray host: the window shows
at start-up and "Fechar", the last item of the Tools menu, ends the program with its dump.

Usage: tst_desktop_e2e.py PROGRAM. Exits 77 (skipped) only when Xvfb cannot start."""

import os
import signal
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import DesktopSession, Unavailable, wait_for  # noqa: E402

SKIPPED = 77
TIMER_TICK_S = 12.345


class Program:
    """The program under test with its own folders."""

    def __init__(self, session, exe, root):
        self.session = session
        folders = {name: os.path.join(root, name)
                   for name in ("program", "data", "config", "xdgdata", "home", "tmp")}
        for folder in folders.values():
            os.makedirs(folder, exist_ok=True)
        self.data = os.path.join(folders["data"], "velmora", "brevnote")
        self.process = session.spawn([exe], {
            "BREVNOTE_HOME": folders["program"], "BREVNOTE_DATA_DIR": self.data,
            "XDG_CONFIG_HOME": folders["config"], "XDG_DATA_HOME": folders["xdgdata"],
            "HOME": folders["home"], "TMPDIR": folders["tmp"], "BREVNOTE_DEVELOPER": "0",
            "QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1"})

    def windows(self, only_visible=True):
        args = ["xdotool", "search"] + (["--onlyvisible"] if only_visible else []) + [
            "--pid", str(self.process.pid)]
        return [int(w) for w in self.session.run(args).split()]

    def geometry(self, window):
        info = {}
        for line in self.session.run(["xwininfo", "-id", str(window)]).splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                int(info["Width"]), int(info["Height"]))

    def title(self, window):
        return self.session.run(["xdotool", "getwindowname", str(window)]).strip()

    def main_window(self):
        """The visible main window ("Brevnote [version]"), or None."""
        for window in self.windows():
            if self.title(window).startswith("Brevnote ["):
                return window
        return None

    def dumps(self):
        if not os.path.isdir(self.data):
            return []
        return sorted(f for f in os.listdir(self.data)
                      if f.startswith("Brevnote") and f.endswith(".txt"))

    def wait_ended(self, timeout=30):
        return self.process.wait(timeout=timeout)


class Accessibility:
    """The program's widgets as the accessibility bus shows them."""

    def __init__(self, session):
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = session.env["DBUS_SESSION_BUS_ADDRESS"]
        os.environ["DISPLAY"] = session.env["DISPLAY"]
        import pyatspi  # needs the session's buses, hence imported here
        self.pyatspi = pyatspi

    def application(self, pid):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:  # an application that went away meanwhile
                continue
        return None

    def find_all(self, root, predicate):
        found = []
        try:
            if predicate(root):
                found.append(root)
            for index in range(root.childCount):
                child = root.getChildAtIndex(index)
                if child is not None:
                    found.extend(self.find_all(child, predicate))
        except Exception:
            pass
        return found

    def extents(self, node):
        box = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def showing(self, node):
        return node.getState().contains(self.pyatspi.STATE_SHOWING)


def click(session, x, y):
    session.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"])


def check_dump(program):
    dumps = program.dumps()
    assert len(dumps) == 1, "expected one closing dump, found %r" % dumps
    with open(os.path.join(program.data, dumps[0]), "rb") as dump:
        text = dump.read()
    assert b"Finalizado:" in text and b"Boot:" in text, text[:200]


def close_with_window_manager(session, program, window):
    """Alt+F4 to the window, through openbox. On a loaded machine the key now and then reaches
    the window before openbox has given it the focus and is lost: it is pressed again while
    the window stays shown."""
    for _ in range(5):
        session.run(["xdotool", "windowactivate", "--sync", str(window)])
        session.run(["xdotool", "key", "--clearmodifiers", "alt+F4"])
        try:
            wait_for("the window to hide", lambda: program.main_window() is None, timeout=12)
            return
        except AssertionError:
            pass
    raise AssertionError("the window stayed shown after Alt+F4, five times")


def with_tray(session, exe, root, a11y):
    session.start_tray()
    program = Program(session, exe, os.path.join(root, "with-tray"))

    # Only the icon: one small window of the program, embedded in the tray.
    icon = wait_for("the tray icon", lambda: program.windows())[0]
    x, y, width, height = program.geometry(icon)
    assert width <= 48 and height <= 48, "first window is not an icon: %dx%d" % (width, height)
    assert program.main_window() is None, "the main window is shown at start-up"
    assert len(program.windows()) == 1, "more than the tray icon is shown at start-up"

    click(session, x + width // 2, y + height // 2)
    window = wait_for("the window after a click on the icon", program.main_window)

    # Closing through the window manager hides the window again; the program goes on.
    close_with_window_manager(session, program, window)
    assert program.process.poll() is None, "closing the window ended the program"
    assert program.windows() == [icon], "the icon went away with the window"

    click(session, x + width // 2, y + height // 2)
    wait_for("the window after a second click", program.main_window)
    check_panels(program, a11y)

    program.process.send_signal(signal.SIGTERM)
    assert program.wait_ended() == 0, "SIGTERM did not end the program cleanly"
    check_dump(program)
    session.stop_tray()


def check_panels(program, a11y):
    app = wait_for("the program on the accessibility bus",
                   lambda: a11y.application(program.process.pid), timeout=60)

    def ticked_panels():
        bars = a11y.find_all(app, lambda n: n.getRole() == a11y.pyatspi.ROLE_STATUS_BAR)
        for bar in bars:
            labels = [n for n in a11y.find_all(bar, lambda n: n.getRole() == a11y.pyatspi.ROLE_LABEL)
                      if a11y.showing(n)]
            texts = [label.name for label in labels]
            if len(labels) >= 2 and any(t.startswith("CheckTimer em") for t in texts):
                return labels
        return None

    labels = wait_for("the timer's tick in the status bar", ticked_panels,
                      timeout=TIMER_TICK_S + 60, interval=0.5)
    panel0 = next(label for label in labels if not label.name.startswith("CheckTimer em"))
    panel1 = next(label for label in labels if label.name.startswith("CheckTimer em"))
    x0, _, w0, _ = a11y.extents(panel0)
    x1, _, _, _ = a11y.extents(panel1)
    apart = x1 >= x0 + w0 and w0 >= 100
    message = "panel 1 starts at x=%d, panel 0 spans x=%d..%d" % (x1, x0, x0 + w0)
    assert apart, message


def without_tray(session, exe, root, a11y):
    program = Program(session, exe, os.path.join(root, "without-tray"))
    wait_for("the window shown at start-up without a tray", program.main_window)
    app = wait_for("the program on the accessibility bus",
                   lambda: a11y.application(program.process.pid), timeout=60)

    def tools_button():
        found = a11y.find_all(app, lambda n: n.name == "Tools" and a11y.showing(n))
        return found[0] if found else None

    x, y, width, height = a11y.extents(wait_for("the Tools button", tools_button))
    click(program.session, x + width // 2, y + height // 2)

    main = program.main_window()
    menu = wait_for("the Tools menu", lambda: [w for w in program.windows() if w != main])
    # Up from an open menu with no item chosen goes to its last item. Only "Fechar" ends the
    # program with its dump, so the ending proves it is there and last.
    session.run(["xdotool", "key", "--clearmodifiers", "Up", "Return"])
    wait_for("the Tools menu to close", lambda: menu[0] not in program.windows())
    assert program.wait_ended() == 0, "Fechar did not end the program cleanly"
    check_dump(program)


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    exe = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="brevnote-e2e-") as root:
        session = DesktopSession(root)
        try:
            try:
                session.start()
            except Unavailable as reason:
                print("SKIP: %s; the end-to-end test needs an X server" % reason)
                return SKIPPED
            a11y = Accessibility(session)
            failed = 0
            for case in (with_tray, without_tray):
                try:
                    case(session, exe, root, a11y)
                    print("PASS   : " + case.__name__)
                except Exception:
                    failed += 1
                    print("FAIL!  : " + case.__name__)
                    traceback.print_exc(file=sys.stdout)
                    session.stop_tray()
            print("Totals: %d passed, %d failed" % (2 - failed, failed))
            return 1 if failed else 0
        finally:
            session.stop()


if __name__ == "__main__":
    sys.exit(main())
