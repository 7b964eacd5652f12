"""A throw-away X desktop for the end-to-end test: Xvfb on a free display, a private D-Bus
session with the accessibility bus, a window manager (openbox) and, on demand, a tray host
(trayer). Everything started here carries a marker in its environment, so that stop() ends
every process of the session, also those that D-Bus started on its behalf."""

import os
import random
import shutil
import signal
import subprocess
import time
import uuid


class Unavailable(Exception):
    """The X server could not start here: the test is skipped, not failed."""


def wait_for(what, predicate, timeout=60.0, interval=0.1):
    """Polls `predicate` until it returns a true value, which is returned; fails after
    `timeout` seconds with `what` in the message."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class DesktopSession:
    def __init__(self, root):
        self.root = root
        self.marker = uuid.uuid4().hex
        self.env = dict(os.environ)
        self.env["BREVNOTE_E2E_SESSION"] = self.marker
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env["XDG_RUNTIME_DIR"] = os.path.join(root, "runtime")
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        self.processes = []
        self.tray = None

    def _spawn(self, args, env=None, **kwargs):
        process = subprocess.Popen(args, env=env or self.env, stdin=subprocess.DEVNULL,
                                   start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def start(self):
        if not shutil.which("Xvfb"):
            raise Unavailable("Xvfb is not installed (scripts/install-deps.sh installs it)")
        for tool in ("openbox", "trayer", "xdotool", "xwininfo", "xdpyinfo", "dbus-daemon"):
            if not shutil.which(tool):
                raise AssertionError(tool + " is missing: run scripts/install-deps.sh")
        self.env["DISPLAY"] = ":" + self._start_x_server()

        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        address = bus.stdout.readline().decode().strip()
        if not address:
            raise AssertionError("the D-Bus session did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        launcher = "/usr/libexec/at-spi-bus-launcher"
        if os.path.exists(launcher):
            self._spawn([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
        self._start_window_manager()

    def _start_x_server(self):
        """Starts Xvfb on a display number of its own and returns that number once a client
        can talk to it. The number is drawn from a wide range rather than the first free one:
        another X server on the machine that shares /tmp but not our process list can take the
        lock of a low number as stale, and its exit then removes our socket."""
        log_path = os.path.join(self.root, "xvfb.log")
        for _ in range(5):
            number = str(random.randrange(100, 30000))
            read_end, write_end = os.pipe()
            with open(log_path, "wb") as log:
                server = self._spawn(["Xvfb", ":" + number, "-displayfd", str(write_end),
                                      "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                     pass_fds=(write_end,), stdout=log, stderr=log)
            os.close(write_end)
            if self._read_display(read_end, server) == number and self._answers(number, server):
                return number
            self._end(server)
        with open(log_path, errors="replace") as log:
            raise Unavailable("Xvfb could not start a display here: " + log.read()[-2000:])

    def _answers(self, number, server, timeout=30.0):
        deadline = time.monotonic() + timeout
        while server.poll() is None and time.monotonic() < deadline:
            probe = subprocess.run(["xdpyinfo", "-display", ":" + number],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, timeout=60)
            if probe.returncode == 0:
                return True
            time.sleep(0.1)
        return False

    def _start_window_manager(self):
        # openbox now and then exits at once on a loaded machine (seen on 2 busy cores): it is
        # started again, a few times, and what it said last is shown when it never comes up.
        log_path = os.path.join(self.root, "openbox.log")
        for _ in range(3):
            with open(log_path, "wb") as log:
                openbox = self._spawn(["openbox"], stdout=log, stderr=log)

            def managing():
                # Set once openbox manages the screen; a tray host mapped before that stays
                # unmapped.
                if "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]):
                    return "up"
                return "exited" if openbox.poll() is not None else None

            if wait_for("the window manager", managing) == "up":
                return
        with open(log_path, errors="replace") as log, \
                open(os.path.join(self.root, "xvfb.log"), errors="replace") as server_log:
            raise AssertionError("openbox did not start: %s\nXvfb said: %s" % (
                log.read()[-2000:], server_log.read()[-2000:]))

    def _read_display(self, read_end, server, timeout=30.0):
        deadline = time.monotonic() + timeout
        data = b""
        os.set_blocking(read_end, False)
        try:
            while time.monotonic() < deadline:
                try:
                    chunk = os.read(read_end, 64)
                except BlockingIOError:
                    chunk = None
                if chunk:
                    data += chunk
                    if data.endswith(b"\n"):
                        return data.decode().strip()
                elif chunk == b"" or server.poll() is not None:
                    return None
                time.sleep(0.05)
            return None
        finally:
            os.close(read_end)

    def start_tray(self):
        log_path = os.path.join(self.root, "trayer.log")
        with open(log_path, "wb") as log:
            self.tray = self._spawn(["trayer", "--edge", "top", "--align", "right",
                                     "--widthtype", "pixel", "--width", "120", "--height", "24"],
                                    stdout=log, stderr=subprocess.STDOUT)

        def shown():
            if self.tray.poll() is not None:
                with open(log_path, "rb") as log:
                    raise AssertionError("trayer ended (%s): %s" % (
                        self.tray.returncode, log.read().decode(errors="replace")))
            return self.run(["xdotool", "search", "--onlyvisible", "--classname", "panel"]).strip()

        wait_for("the tray host", shown)

    def stop_tray(self):
        if self.tray:
            self._end(self.tray)
            self.tray = None

    def spawn(self, args, env):
        merged = dict(self.env)
        merged.update(env)
        return self._spawn(args, env=merged)

    def run(self, args):
        result = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        return result.stdout.decode(errors="replace")

    @staticmethod
    def _end(process):
        if process.poll() is None:
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait(timeout=10)

    def stop(self):
        for process in reversed(self.processes):
            self._end(process)
        # D-Bus services started on demand (the accessibility registry) are not our children.
        for pid in os.listdir("/proc"):
            if not pid.isdigit() or int(pid) == os.getpid():
                continue
            try:
                with open("/proc/%s/environ" % pid, "rb") as environ:
                    if self.marker.encode() in environ.read():
                        os.kill(int(pid), signal.SIGKILL)
            except OSError:
                pass
