#!/usr/bin/python3
"""Brevnote beside a minimal Qt program (bench/reference), both built by the bench preset, on
one throw-away X desktop (Xvfb, openbox, trayer; tests/e2e/desktop_session.py). Prints one
Markdown table of medians, minimums and ratios. Run by bench/compare.sh, which builds first.

Usage: compare.py BUILD_DIR [--pairs N] [--idle SECONDS] [--lines N] [--tool-pairs N]
                  [--tools ACTION,...] [--only-large | --only-start]
                  [--brevnote EXECUTABLE]"""

import argparse
import json
import os
import re
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from desktop_session import DesktopSession, wait_for  # noqa: E402

# Where the first tool-bar button ("Abrir") and "Tools" sit, from the main window's top-left
# corner inside its frame, at the default layout.
ABRIR_OFFSET = (30, 19)
TOOLS_OFFSET = (205, 19)
# The text tools of Tools > Format: (action, position in the Format menu from 1). Each is
# driven as a user would and timed from the key that starts its work to its end.
TOOLS = [("RecortarColunas", 3), ("UpperFirst1", 6), ("Ordenar1", 4), ("Agrupar1", 5),
         ("GerarArquivoCSV1", 7)]

rows = []  # (path, brevnote figures, reference figures, unit)
BREVNOTE = None  # the program measured; --brevnote, else the one of the build folder
TOOL_FILTER = None  # --tools: only these text tools


def summary(values):
    return statistics.median(values), min(values)


def add_row(path, ours, theirs, unit="ms"):
    rows.append((path, ours, theirs, unit))


def print_table():
    print("| Path | Brevnote median (min) | Reference median (min) | Ratio of medians |")
    print("|---|---|---|---|")
    for path, ours, theirs, unit in rows:
        (om, on), (tm, tn) = summary(ours), summary(theirs) if theirs else (None, None)
        ours_text = "%.1f %s (%.1f)" % (om, unit, on)
        if theirs:
            theirs_text = "%.1f %s (%.1f)" % (tm, unit, tn)
            ratio = "%.2f" % (om / tm) if tm else "-"
        else:
            theirs_text, ratio = "-", "-"
        print("| %s | %s | %s | %s |" % (path, ours_text, theirs_text, ratio))
    sys.stdout.flush()


class Folders:
    """A hermetic set of folders for one program run: nothing touches the real home."""

    def __init__(self, root, name):
        self.env = {}
        names = {"BREVNOTE_HOME": "program", "BREVNOTE_DATA_DIR": "data",
                 "XDG_CONFIG_HOME": "config", "XDG_DATA_HOME": "xdgdata", "HOME": "home",
                 "TMPDIR": "tmp"}
        for variable, folder in names.items():
            path = os.path.join(root, name, folder)
            os.makedirs(path, exist_ok=True)
            self.env[variable] = path
        # Assistive technology off, as on a desktop without a screen reader. Not
        # QT_LINUX_ACCESSIBILITY_ALWAYS_ON=0: Qt turns it on when that is set at all, and a
        # text edit then builds the whole text of every change (a third of a second at the end
        # of a tool on a million lines, and in the reference's setPlainText).
        self.env.update({"BREVNOTE_DEVELOPER": "0", "QT_QPA_PLATFORM": "xcb",
                         "QT_ACCESSIBILITY": "0", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": None})
        if os.geteuid() == 0:
            # Chromium refuses to start its sandbox as root (the table of "Agrupar").
            self.env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"


def proc_status(pid, key):
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith(key + ":"):
                    return int(line.split()[1]) / 1024.0  # MB
    except OSError:
        pass
    return None


def reset_peak(pid):
    """Resets the peak memory (VmHWM) to the present use; returns that use in MB."""
    with open("/proc/%d/clear_refs" % pid, "w") as clear:
        clear.write("5")
    return proc_status(pid, "VmRSS")


def private_mb(pid):
    total = 0
    with open("/proc/%d/smaps_rollup" % pid) as rollup:
        for line in rollup:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total / 1024.0


def alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


class Watched:
    """A program started by dockwatch, which reports when it docked or mapped."""

    def __init__(self, session, build, mode, command, env):
        merged = dict(session.env)
        merged.update(env)
        merged = {name: value for name, value in merged.items() if value is not None}
        self.process = subprocess.Popen([os.path.join(build, "bench", "reference", "dockwatch"),
                                         mode] + command, env=merged, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        session.processes.append(self.process)
        line = self.readline(60)
        ms, pid = line.split()
        self.start_ms, self.pid = float(ms), int(pid)

    def readline(self, timeout):
        ready, _, _ = select.select([self.process.stdout], [], [], timeout)
        if not ready:
            raise AssertionError("no answer within %d s" % timeout)
        line = self.process.stdout.readline().decode().strip()
        if not line:
            raise AssertionError("the program ended early")
        return line

    def terminate(self):
        """SIGTERM; returns the milliseconds until the program ended and the peak memory
        above what it used before, in MB."""
        before = reset_peak(self.pid)
        peak = proc_status(self.pid, "VmHWM")
        start = time.monotonic()
        os.kill(self.pid, signal.SIGTERM)
        while alive(self.pid):
            peak = proc_status(self.pid, "VmHWM") or peak
            time.sleep(0.005)
        elapsed = (time.monotonic() - start) * 1000
        self.process.wait(timeout=30)
        return elapsed, peak - before


def start_times(session, build, root, pairs, mode):
    ours, theirs = [], []
    for i in range(pairs):
        for program, figures in (("brevnote", ours), ("reference", theirs)):
            folders = Folders(root, "start-%s" % program)
            command = [BREVNOTE] if program == "brevnote" \
                else [os.path.join(build, "bench", "reference", "brevnote_reference")]
            watched = Watched(session, build, mode, command, folders.env)
            figures.append(watched.start_ms)
            watched.terminate()
    return ours, theirs


def idle_memory(session, build, root, pairs, seconds):
    """All pairs side by side: each program's private memory after `seconds` idle."""
    running = []
    for i in range(pairs):
        for program in ("brevnote", "reference"):
            folders = Folders(root, "idle-%s-%d" % (program, i))
            command = [BREVNOTE] if program == "brevnote" \
                else [os.path.join(build, "bench", "reference", "brevnote_reference")]
            running.append((program, Watched(session, build, "dock", command, folders.env)))
    time.sleep(seconds)
    ours = [private_mb(w.pid) for p, w in running if p == "brevnote"]
    theirs = [private_mb(w.pid) for p, w in running if p == "reference"]
    for _, watched in running:
        watched.terminate()
    return ours, theirs


def write_lines(path, count):
    """`count` lines of varied words, about 35 bytes each, UTF-8 with accents."""
    words = ["ação", "bloco", "Caderno", "dado", "érico", "fila", "GRUPO", "hora", "índice",
             "janela", "lista", "março", "nota", "ônibus", "pasta", "quadro", "resumo"]
    state = 12345
    with open(path, "w", encoding="utf-8", newline="\r\n") as out:
        for i in range(count):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            a, b, c = words[state % 17], words[(state >> 8) % 17], words[(state >> 16) % 17]
            out.write("%s %s;%06d;%s %d\n" % (a, b, state % 999983, c, i % 97))


def main_window_origin(session, pid):
    def find():
        ids = session.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)]).split()
        for window in ids:
            if session.run(["xdotool", "getwindowname", window]).startswith("Brevnote ["):
                return window
        return None
    window = wait_for("the main window", find, timeout=60)
    info = {}
    for line in session.run(["xwininfo", "-id", window]).splitlines():
        key, _, value = line.strip().partition(":")
        info[key] = value.strip()
    return window, int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])


class Pad:
    """Brevnote without a tray host, its window shown, reporting each command's end."""

    def __init__(self, session, build, root, name):
        folders = Folders(root, name)
        folders.env["BREVNOTE_TEST_REPORT"] = "1"
        self.folders = folders
        self.gap = 0.0
        self.session = session
        self.watched = Watched(session, build, "map", [
            BREVNOTE], folders.env)
        self.window, self.x, self.y = main_window_origin(session, self.watched.pid)
        time.sleep(0.5)  # the layout runs again once the window is framed

    def key(self, *keys):
        self.session.run(["xdotool", "key", "--clearmodifiers"] + list(keys))

    def wait_report(self, kind, name, timeout=300):
        """Waits for the program's report line "<kind> <name> <ms> <longest gap ms>" (done: a
        command ended; shown: a window was shown); returns its clock. The longest gap of every
        line read on the way is kept in self.gap: how long the window could not repaint."""
        while True:
            line = self.watched.readline(timeout)
            match = re.match(r"(done|shown) (\S+) ([\d.]+)(?: ([\d.]+))?", line)
            if not match:
                continue
            self.gap = max(self.gap, float(match.group(4) or 0))
            if match.group(1) == kind and match.group(2) == name:
                return float(match.group(3))

    def wait_done(self, action, timeout=300):
        return self.wait_report("done", action, timeout)

    def start_clock(self, key="Return", reset=True):
        """Resets the peak memory (unless told not to) and the longest gap, then presses
        `key`; returns the clock."""
        if reset:
            self.before = reset_peak(self.watched.pid)
        self.drain()
        self.gap = 0.0
        start = time.monotonic() * 1000
        self.key(key)
        return start

    def drain(self):
        """Reads the report lines already printed, so the gap counts from here."""
        while select.select([self.watched.process.stdout], [], [], 0)[0]:
            self.watched.readline(1)

    def windows(self):
        return self.session.run(["xdotool", "search", "--onlyvisible", "--pid",
                                 str(self.watched.pid)]).split()

    def click(self, offset):
        self.session.run(["xdotool", "mousemove", "--sync", str(self.x + offset[0]),
                          str(self.y + offset[1]), "click", "1"])

    def format_menu(self, position):
        """Opens Tools > Format and moves to the item at `position` (from 1)."""
        self.click(TOOLS_OFFSET)
        wait_for("the Tools menu", lambda: len(self.windows()) > 1)
        time.sleep(0.3)
        # Down lands on the first item; "Format" is the third item (separators are skipped).
        self.key(*(["Down"] * 3 + ["Right"] + ["Down"] * (position - 1)))
        time.sleep(0.2)

    def wait_window(self, what, count=2):
        wait_for(what, lambda: len(self.windows()) >= count)
        time.sleep(0.5)

    def confirm(self):
        """Answers "Sim" in a question; returns the clock at that Return."""
        self.wait_window("the confirmation")
        # "Não" has the focus; with two buttons Tab moves it to "Sim".
        self.key("Tab")
        time.sleep(0.2)
        return self.start_clock()

    def run_tool(self, action, position, scratch):
        """A tool of Tools > Format end to end: ms from the key that starts its work to its end
        (for "Agrupar", the table's window shown)."""
        self.format_menu(position)
        if action == "Ordenar1":
            self.key("Return")
            start = self.confirm()
            return self.wait_done(action) - start
        if action == "UpperFirst1":
            self.key("Return")
            self.wait_window("the UpperFirst dialog")
            self.key("Return")  # OK with the defaults: every word of every line
            start = self.confirm()
            return self.wait_done(action) - start
        if action == "RecortarColunas":
            self.key("Return")
            self.wait_window("the column dialog")
            # The start field has the focus: from character 5, 10 characters.
            self.key("ctrl+a")
            self.session.run(["xdotool", "type", "5"])
            self.key("Tab", "ctrl+a")
            self.session.run(["xdotool", "type", "10"])
            time.sleep(0.2)
            start = self.start_clock()
            return self.wait_done(action) - start
        if action == "Agrupar1":
            start = self.start_clock()
            return self.wait_report("shown", "brevnote::TfHTMDialog") - start
        if action == "GerarArquivoCSV1":
            path = os.path.join(scratch, "lines.csv")
            start = self.start_clock()
            shown = self.wait_report("shown", "QFileDialog")
            time.sleep(0.5)
            self.session.run(["xdotool", "type", "--delay", "5", path])
            time.sleep(0.3)
            gap = self.gap
            typed = self.start_clock(reset=False)  # the peak counts from the menu
            done = self.wait_done(action)
            self.gap = max(self.gap, gap)
            if not os.path.exists(path):
                raise AssertionError("no CSV file written")
            return (shown - start) + (done - typed)
        raise ValueError(action)

    def open_file(self, path):
        """"Abrir" through its file dialog; ms from the dialog's Return to the command's end."""
        self.click(ABRIR_OFFSET)
        wait_for("the file dialog", lambda: len(self.windows()) > 1)
        time.sleep(0.5)
        self.session.run(["xdotool", "type", "--delay", "5", path])
        time.sleep(0.3)
        start = self.start_clock()
        return self.wait_done("ToolButton_Abrir") - start


def reference_load(session, build, root, path):
    folders = Folders(root, "reference-load")
    watched = Watched(session, build, "map", [
        os.path.join(build, "bench", "reference", "brevnote_reference"), "--load", path,
        "--dump", os.path.join(folders.env["TMPDIR"], "dump.txt")], folders.env)
    _, ms, before_kb = watched.readline(300).split()
    return watched, float(ms), proc_status(watched.pid, "VmHWM") - int(before_kb) / 1024.0


def large_text(session, build, root, pairs, lines, tool_pairs):
    path = os.path.join(root, "million.txt")
    write_lines(path, lines)
    size = os.path.getsize(path) / 1e6
    load = ([], []), ([], [])  # (ms ours, ms theirs), (peak ours, peak theirs)
    dump = ([], []), ([], [])
    tools = {action: ([], [], []) for action, _ in TOOLS}  # ms, peak MB, longest gap ms
    for i in range(pairs):
        pad = Pad(session, build, root, "large-%d" % i)
        load[0][0].append(pad.open_file(path))
        load[1][0].append(proc_status(pad.watched.pid, "VmHWM") - pad.before)
        ms, peak = pad.watched.terminate()
        dump[0][0].append(ms)
        dump[1][0].append(peak)
        if i < tool_pairs:
            for action, position in TOOLS:
                if TOOL_FILTER and action not in TOOL_FILTER:
                    continue
                pad = Pad(session, build, root, "tool-%s-%d" % (action, i))
                pad.open_file(path)
                time.sleep(1)
                tools[action][0].append(pad.run_tool(action, position,
                                                     pad.folders.env["TMPDIR"]))
                tools[action][1].append(proc_status(pad.watched.pid, "VmHWM") - pad.before)
                tools[action][2].append(pad.gap)
                os.kill(pad.watched.pid, signal.SIGKILL)
                pad.watched.process.wait(timeout=30)

        reference, ms, peak = reference_load(session, build, root, path)
        load[0][1].append(ms)
        load[1][1].append(peak)
        ms, peak = reference.terminate()
        dump[0][1].append(ms)
        dump[1][1].append(peak)
    name = "%d lines (%.0f MB)" % (lines, size)
    add_row('"Abrir" of %s, end to end' % name, *load[0])
    add_row('"Abrir": peak memory above the use before (VmHWM)', *load[1], unit="MB")
    add_row("closing dump of that text, SIGTERM to exit", *dump[0])
    add_row("dump: peak memory above the use before (VmHWM)", *dump[1], unit="MB")
    for action, (times, extra, gaps) in tools.items():
        if not times:
            continue
        add_row('text tool %s, end to end (reference: setPlainText)' % action, times, load[0][1])
        add_row('%s: peak memory above the use before (VmHWM)' % action, extra, None, unit="MB")
        add_row('%s: longest time the window could not repaint' % action, gaps, None)
    return path


def reminder_pass(build):
    bench = os.path.join(build, "bench", "bench_reminders")
    out = subprocess.run([bench, "--benchmark_format=json"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, check=True).stdout
    for run in json.loads(out)["benchmarks"]:
        add_row("reminder pass, 10,000 reminders: %s (bench_reminders)" % run["name"],
                [run["real_time"]], None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--pairs", type=int, default=10)
    parser.add_argument("--idle", type=int, default=30)
    parser.add_argument("--lines", type=int, default=1000000)
    parser.add_argument("--tool-pairs", type=int, default=3)
    parser.add_argument("--brevnote", help="another brevnote executable, e.g. an older build")
    parser.add_argument("--tools", help="only these text tools, comma-separated actions "
                        "(e.g. Ordenar1,UpperFirst1)")
    parser.add_argument("--only-large", action="store_true",
                        help="only the million-line rows: no start, idle or reminder rows")
    parser.add_argument("--only-start", action="store_true",
                        help="only the start and idle-memory rows")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    global BREVNOTE, TOOL_FILTER
    TOOL_FILTER = args.tools.split(",") if args.tools else None
    BREVNOTE = os.path.abspath(args.brevnote or os.path.join(build, "src", "app", "brevnote"))
    with tempfile.TemporaryDirectory(prefix="brevnote-compare-") as root:
        session = DesktopSession(root)
        try:
            session.start()
            if not args.only_large:
                session.start_tray()
                add_row("start to tray icon docked",
                        *start_times(session, build, root, args.pairs, "dock"))
                print_table()
                add_row("private memory after %d s idle (side by side)" % args.idle,
                        *idle_memory(session, build, root, args.pairs, args.idle), unit="MB")
                print_table()
                session.stop_tray()
                add_row("start to window mapped, no tray host",
                        *start_times(session, build, root, args.pairs, "map"))
            if not args.only_start:
                large_text(session, build, root, args.pairs, args.lines, args.tool_pairs)
                print_table()
            if not args.only_large and not args.only_start:
                reminder_pass(build)
        finally:
            session.stop()
    print()
    print_table()


if __name__ == "__main__":
    main()
