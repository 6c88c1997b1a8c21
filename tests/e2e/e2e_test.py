#!/usr/bin/env python3
"""End-to-end tests of the real program.

Each case starts the program afresh on a private Xvfb display with openbox as
its window manager and drives it the way a person would: real key presses and
clicks through the X server (xdotool, never aimed at a window, since Qt ignores
part of what is sent that way), reading back what a person could see or copy:
window titles and sizes, the clipboard, the exit status.

    e2e_test.py --binary build/bin/tamsavik [-k NAME] [--list]

Exits 0 when every case passes, 1 when one fails, 77 when a tool it needs is
missing (ctest reports that as skipped).
"""

from __future__ import annotations

import argparse
import dataclasses
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time
from typing import Callable, Iterator

SKIP = 77
TOOLS = ("Xvfb", "openbox", "xdotool", "xclip", "xwininfo", "xprop")

MAIN_TITLE = "Dravenhal"
HELP_TITLE = "Mirrowin Info"
APP_NAME = "Tamsavik"
ABOUT_SIZE = (500, 200)
MAIN_CONTENT = (580, 450)
HELP_SIZE = (550, 500)

# Places in the main window's content area (the part below the menu bar).
RXX = (127 + 40, 172 + 11)
RYY = (250 + 40, 172 + 11)
RXY = (373 + 40, 172 + 11)
RD = (250 + 40, 247 + 11)
COMPUTE = (30 + 47, 385 + 16)
HELP = (242 + 47, 385 + 16)
CLEAR = (455 + 47, 385 + 16)
LOGO = (15 + 28, 11 + 27)

WORKED_VALUES = [
    ((".60", ".70", ".80"), ".0934"),
    ((".5", ".3", ".4"), ".4346"),
    (("0", "0", "0"), ".0000"),
    ((".716", ".787", ".913"), "-.0101"),
    ((".9", ".1", ".95"), "2.5911"),
    ((".6", ".7", "-.8"), "2.7072"),
]


class Failure(Exception):
    pass


def wait_for(what: str, probe: Callable[[], object], timeout: float = 5.0):
    """Polls `probe` until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(0.03)


@dataclasses.dataclass(frozen=True)
class Win:
    id: int
    title: str
    x: int
    y: int
    width: int
    height: int

    @property
    def size(self) -> tuple[int, int]:
        return (self.width, self.height)


class Display:
    """A private Xvfb display with openbox running on it."""

    def __init__(self, workdir: str):
        self.workdir = workdir
        self.xvfb: subprocess.Popen | None = None
        self.wm: subprocess.Popen | None = None
        self.env: dict[str, str] = {}

    def __enter__(self) -> "Display":
        # -displayfd lets Xvfb pick a free display number and tell us which.
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.workdir, "xvfb.log"), "w"))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                raise Failure("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise Failure("Xvfb exited before it was ready")
            number += chunk
        os.close(read_end)

        runtime = os.path.join(self.workdir, "runtime")
        os.mkdir(runtime, 0o700)
        config = os.path.join(self.workdir, "config")
        os.mkdir(config)
        env = {k: v for k, v in os.environ.items()
               if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY")}
        env.update(DISPLAY=f":{number.decode().strip()}", QT_QPA_PLATFORM="xcb",
                   XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=config)
        if "ASAN_OPTIONS" in env:
            # In a sanitizer build: the X keymap library that Qt's xcb platform
            # loads reads an unterminated buffer with strndup, which strict
            # string checks take for an overflow of the program's.
            env["ASAN_OPTIONS"] += ":strict_string_checks=0"
        self.env = env

        # An empty XDG_CONFIG_HOME gives openbox its stock bindings (Alt+F4 closes).
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(self.workdir, "openbox.log"), "w"))
        wait_for("the window manager",
                 lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                 timeout=15)
        return self

    def __exit__(self, *exc) -> None:
        for proc in (self.wm, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()

    def run(self, *args: str, input: str | None = None, check: bool = False) -> str:
        result = subprocess.run(args, env=self.env, input=input, capture_output=True,
                                text=True, timeout=15)
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    # --- Input -------------------------------------------------------------------

    def key(self, *keys: str) -> None:
        self.run("xdotool", "key", *keys, check=True)

    def type(self, text: str) -> None:
        self.run("xdotool", "type", "--delay", "15", "--", text, check=True)

    def click_at(self, x: int, y: int) -> None:
        # No --sync: it waits for the pointer to move, forever when it is there already.
        self.run("xdotool", "mousemove", str(x), str(y), "click", "1", check=True)

    def activate(self, win: Win) -> None:
        self.run("xdotool", "windowactivate", "--sync", str(win.id))
        wait_for(f"'{win.title}' to become active", lambda: self.active_window() == win.id)

    def active_window(self) -> int | None:
        out = self.run("xdotool", "getactivewindow").strip()
        return int(out) if out.isdigit() else None

    # --- Clipboard ------------------------------------------------------------------

    def set_clipboard(self, text: str) -> None:
        # xclip stays in the background to serve the text until someone else
        # owns the clipboard; it must not hold our pipes open.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], env=self.env, input=text,
                       text=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=15, check=True)
        wait_for("the clipboard to take our text", lambda: self.clipboard() == text)

    def clipboard(self) -> str:
        return self.run("xclip", "-o", "-selection", "clipboard")

    # --- Windows ----------------------------------------------------------------------

    def window(self, wid: int) -> Win | None:
        info = self.run("xwininfo", "-id", str(wid))
        if "IsViewable" not in info:
            return None
        title = re.search(r'Window id: \S+ (?:"(.*)"|\(has no name\))', info)
        fields = {k: int(v) for k, v in re.findall(
            r"(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s+(-?\d+)", info)}
        return Win(wid, (title.group(1) or "") if title else "",
                   fields["Absolute upper-left X"], fields["Absolute upper-left Y"],
                   fields["Width"], fields["Height"])


class App:
    """One run of the program on the display."""

    def __init__(self, display: Display, binary: str):
        self.d = display
        self.log = tempfile.TemporaryFile(mode="w+", dir=display.workdir)
        self.proc = subprocess.Popen([binary], env=display.env, stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=subprocess.STDOUT)

    def close(self) -> None:
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def output(self) -> str:
        self.log.seek(0)
        return self.log.read()

    # --- Windows ----------------------------------------------------------------------

    def windows(self) -> list[Win]:
        out = self.d.run("xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid))
        wins = [self.d.window(int(w)) for w in out.split()]
        return [w for w in wins if w is not None]

    def find(self, title: str, size: tuple[int, int] | None = None) -> list[Win]:
        return [w for w in self.windows()
                if w.title == title and (size is None or w.size == size)]

    def wait_window(self, title: str, size: tuple[int, int] | None = None,
                    timeout: float = 5.0) -> Win:
        what = f"the window '{title}'" + (f" of {size[0]}x{size[1]}" if size else "")
        return wait_for(what, lambda: next(iter(self.find(title, size)), None), timeout)

    def wait_gone(self, title: str, size: tuple[int, int] | None = None,
                  timeout: float = 5.0) -> None:
        wait_for(f"the window '{title}' to go", lambda: not self.find(title, size), timeout)

    def about(self, timeout: float = 5.0) -> Win:
        return self.wait_window(APP_NAME, ABOUT_SIZE, timeout)

    def main(self, timeout: float = 5.0) -> Win:
        win = self.wait_window(MAIN_TITLE, timeout=timeout)
        if win.width != MAIN_CONTENT[0] or win.height <= MAIN_CONTENT[1]:
            raise Failure(f"main window is {win.width}x{win.height}: expected a "
                          f"{MAIN_CONTENT[0]}x{MAIN_CONTENT[1]} content area below a menu bar")
        return win

    def message_box(self) -> Win:
        """The message box: titled with the program's name, and not the About window."""
        def probe():
            boxes = [w for w in self.windows() if w.title == APP_NAME and w.size != ABOUT_SIZE]
            return boxes[0] if boxes else None
        return wait_for("a message box", probe)

    def open_main(self) -> Win:
        """Waits for the About window and hands over to the main window with a key."""
        self.d.activate(self.about())
        self.d.key("space")
        self.wait_gone(APP_NAME, ABOUT_SIZE)
        win = self.main()
        self.d.activate(win)
        return win

    # --- The main window ------------------------------------------------------------------

    def click(self, win: Win, at: tuple[int, int]) -> None:
        """Clicks at a place in the window's content area, below any menu bar."""
        content_height = MAIN_CONTENT[1] if win.title == MAIN_TITLE else win.height
        menu_bar = win.height - content_height
        self.d.click_at(win.x + at[0], win.y + menu_bar + at[1])

    def copy_focused(self) -> str:
        """Selects all in the focused field and copies it; returns what was copied.
        The field must not be empty (copying nothing leaves the clipboard alone)."""
        sentinel = f"<nothing copied {time.monotonic_ns()}>"
        self.d.set_clipboard(sentinel)
        self.d.key("ctrl+a")
        self.d.key("ctrl+c")
        return wait_for("the copied text", lambda: (lambda t: t if t != sentinel else None)(
            self.d.clipboard()), timeout=3)

    def read(self, win: Win, at: tuple[int, int]) -> str:
        self.click(win, at)
        return self.copy_focused()

    def enter(self, win: Win, values: tuple[str, str, str]) -> None:
        """Clears the window, then types the three values, moving on with Tab."""
        self.click(win, CLEAR)
        for i, value in enumerate(values):
            if i:
                self.d.key("Tab")
            if value:
                self.d.type(value)

    def compute(self, win: Win, values: tuple[str, str, str]) -> str:
        self.enter(win, values)
        self.click(win, COMPUTE)
        return self.read(win, RD)

    # --- The end of the run -------------------------------------------------------------------

    def expect_exit_zero(self, how: str, timeout: float = 5.0) -> None:
        try:
            code = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program still runs {timeout:g} s after {how}") from None
        if code != 0:
            raise Failure(f"exit status {code} after {how}; output:\n{self.output()}")


def expect(what: str, actual, expected) -> None:
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


# --- The cases -----------------------------------------------------------------------------

CASES: list[tuple[str, Callable[[App], None]]] = []


def case(fn: Callable[[App], None]) -> Callable[[App], None]:
    CASES.append((fn.__name__, fn))
    return fn


@case
def about_window_hands_over_after_its_timer(app: App) -> None:
    app.about()
    shown = time.monotonic()
    expect("main windows while the About window shows", app.find(MAIN_TITLE), [])
    app.main(timeout=10)
    waited = time.monotonic() - shown
    if not 3.0 <= waited <= 7.0:
        raise Failure(f"the main window came {waited:.1f} s after the About window, not ~4 s")
    app.wait_gone(APP_NAME, ABOUT_SIZE)


@case
def about_window_hands_over_on_a_key_and_on_a_click(app: App) -> None:
    started = time.monotonic()
    app.open_main()
    if time.monotonic() - started > 3.0:
        raise Failure("the key did not hand over before the timer would have")
    # The small logo shows the About window again; a click in it hands over.
    main = app.main()
    app.click(main, LOGO)
    about = app.about()
    app.d.activate(about)
    app.click(about, (250, 100))
    app.wait_gone(APP_NAME, ABOUT_SIZE)
    app.d.activate(app.main())
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q in the main window")


@case
def worked_values(app: App) -> None:
    main = app.open_main()
    for values, result in WORKED_VALUES:
        expect(f"result of {' '.join(values)}", app.compute(main, values), result)
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q in the result field")


@case
def fields_take_only_their_keys(app: App) -> None:
    main = app.open_main()
    app.click(main, CLEAR)
    app.d.type("a1-b.2x3")
    app.d.key("Tab")
    app.d.type("1234567890")
    app.d.key("Tab")
    app.d.type("-.5e")
    app.d.key("BackSpace", "7")
    expect("RxxFld after 'a1-b.2x3'", app.read(main, RXX), "1.23")
    expect("RyyFld after ten digits", app.read(main, RYY), "123456")
    expect("RxyFld after '-.5e', BackSpace, '7'", app.read(main, RXY), "-.7")
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q in RxyFld")


def _message_then_focus(app: App, main: Win, values: tuple[str, str, str], dismiss: str,
                        field: int) -> None:
    """Compute brings a message box; once it is dismissed a typed digit lands in `field`."""
    app.enter(main, values)
    app.click(main, COMPUTE)
    box = app.message_box()
    wait_for("the message box to take the keyboard", lambda: app.d.active_window() == box.id)
    app.d.key(dismiss)
    app.wait_gone(APP_NAME)
    wait_for("the main window to become active again",
             lambda: app.d.active_window() == main.id)
    app.d.type("9")
    typed = values[field] + "9"
    expect("the focused field after the message, with a typed 9", app.copy_focused(), typed)
    for i, place in enumerate((RXX, RYY, RXY)):
        expected = typed if i == field else values[i]
        if expected:
            expect(f"field {i + 1} after the message", app.read(main, place), expected)


@case
def missing_and_out_of_range_values(app: App) -> None:
    main = app.open_main()
    _message_then_focus(app, main, ("", "", ""), "Return", 0)
    _message_then_focus(app, main, (".5", "", ".4"), "Return", 1)
    _message_then_focus(app, main, (".5", ".3", ""), "space", 2)
    _message_then_focus(app, main, ("1.5", ".3", ".4"), "space", 0)
    _message_then_focus(app, main, (".5", ".3", "-1.5"), "Return", 2)
    # The window is still fully usable.
    expect("result after the messages", app.compute(main, (".5", ".3", ".4")), ".4346")
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q after the messages")


@case
def clear_empties_the_fields_and_hides_the_result(app: App) -> None:
    main = app.open_main()
    expect("result", app.compute(main, (".5", ".3", ".4")), ".4346")
    app.click(main, CLEAR)
    # The focus is in RxxFld, and it is empty: a typed digit is all it holds.
    app.d.type("7")
    expect("RxxFld after Clear and a typed 7", app.read(main, RXX), "7")
    for place, digit in ((RYY, "1"), (RXY, "2")):
        app.click(main, place)
        app.d.type(digit)
        expect("a field after Clear and a typed digit", app.copy_focused(), digit)
    # Where the result was, a click finds nothing to focus: the copy still
    # comes from RxyFld.
    expect("copy after a click where the result was", app.read(main, RD), "2")
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q after Clear")


@case
def help_window_is_one_at_a_time(app: App) -> None:
    main = app.open_main()
    app.click(main, HELP)
    help_win = app.wait_window(HELP_TITLE)
    expect("help window size", help_win.size, HELP_SIZE)
    app.d.activate(main)
    app.click(main, HELP)
    # A round trip through the main window: once the copy arrives, the
    # second click has been handled too.
    app.d.activate(main)
    app.click(main, RXX)
    app.d.type("5")
    expect("RxxFld", app.copy_focused(), "5")
    expect("help windows after two clicks", len(app.find(HELP_TITLE)), 1)

    help_win = app.wait_window(HELP_TITLE)
    app.d.activate(help_win)
    app.d.key("alt+F4")
    app.wait_gone(HELP_TITLE)
    if app.proc.poll() is not None:
        raise Failure(f"closing the help window ended the program (status {app.proc.returncode})")
    app.d.activate(main)
    app.click(main, HELP)
    help_win = app.wait_window(HELP_TITLE)
    expect("help windows after closing one and clicking again", len(app.find(HELP_TITLE)), 1)
    app.d.activate(help_win)
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q in the help window")
    if app.find(HELP_TITLE) or app.find(MAIN_TITLE):
        raise Failure("windows are still on screen after the program ended")


@case
def ctrl_q_in_the_about_window(app: App) -> None:
    app.d.activate(app.about())
    app.d.key("ctrl+q")
    app.expect_exit_zero("Ctrl+Q in the About window")


@case
def closing_the_main_window_with_help_open_ends_the_run(app: App) -> None:
    main = app.open_main()
    app.click(main, HELP)
    app.wait_window(HELP_TITLE)
    app.d.activate(main)
    app.d.key("alt+F4")
    app.expect_exit_zero("closing the main window with the help window open")


# --- Running ------------------------------------------------------------------------------


def run_cases(binary: str, selected: list[tuple[str, Callable[[App], None]]]) -> int:
    failures = 0
    with tempfile.TemporaryDirectory(prefix="tamsavik-e2e-") as workdir, \
            Display(workdir) as display:
        print(f"display {display.env['DISPLAY']}", flush=True)
        for name, fn in selected:
            started = time.monotonic()
            app = App(display, binary)
            try:
                fn(app)
                verdict = "ok"
            except (Failure, subprocess.SubprocessError) as failure:
                failures += 1
                verdict = f"FAILED: {failure}"
                windows = ", ".join(f"'{w.title}' {w.width}x{w.height}" for w in app.windows())
                verdict += f"\n    windows on screen: {windows or 'none'}"
                output = app.output().strip()
                if output:
                    verdict += "\n    program output:\n      " + output.replace("\n", "\n      ")
            finally:
                app.close()
            print(f"{name} ({time.monotonic() - started:.1f} s): {verdict}", flush=True)
    return failures


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--binary", required=True, help="the program to test")
    parser.add_argument("-k", dest="pattern", default="", help="run the cases whose name has this")
    parser.add_argument("--list", action="store_true", help="list the cases and stop")
    args = parser.parse_args()

    selected = [(n, f) for n, f in CASES if args.pattern in n]
    if args.list:
        print("\n".join(n for n, _ in selected))
        return 0
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if missing:
        print(f"skipped: {', '.join(missing)} not installed (scripts/deps.sh installs them)")
        return SKIP
    if not os.access(args.binary, os.X_OK):
        print(f"no program at {args.binary}")
        return 1

    started = time.monotonic()
    failures = run_cases(os.path.abspath(args.binary), selected)
    print(f"{len(selected)} cases, {failures} failed, {time.monotonic() - started:.1f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
