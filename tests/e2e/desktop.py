"""A real X desktop for end-to-end tests: Xvfb with a light window manager, the program under
test, the real mouse and keyboard through xdotool, and screenshots read back as pixels."""

import os
import re
import subprocess
import tempfile
import time


class Desktop:
    def __init__(self, program, width=1024, height=768, artifacts=None):
        self.program = program
        self.width, self.height = width, height
        self.artifacts = artifacts or os.environ.get("E2E_ARTIFACTS", tempfile.mkdtemp())
        os.makedirs(self.artifacts, exist_ok=True)
        self.xvfb = self.wm = self.app = None

    # -- lifecycle ------------------------------------------------------------------------
    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        self.env = dict(os.environ, DISPLAY=f":{number}", DBUS_SESSION_BUS_ADDRESS="disabled:")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        return self

    def start(self, extra_env=None):
        env = dict(self.env, **(extra_env or {}))
        self.log = open(os.path.join(self.artifacts, "program.log"), "w")
        self.app = subprocess.Popen([self.program], env=env, stdout=self.log,
                                    stderr=subprocess.STDOUT)
        return self.app

    def __exit__(self, *exc):
        for p in (self.app, self.wm, self.xvfb):
            if p and p.poll() is None:
                p.kill()
                p.wait()
        return False

    def expect_exit(self, how, timeout=30):
        """Waits for the program to end with 0; if it does not, keeps a screenshot of why."""
        try:
            code = self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            active = self.xdotool("getactivewindow", "getwindowname", check=False)
            self.screenshot("still-running")
            raise AssertionError(f"{how} did not end the program within {timeout} s "
                                 f"(active window: {active!r})")
        assert code == 0, f"{how} ended the program with {code}"

    # -- windows --------------------------------------------------------------------------
    def xdotool(self, *args, check=True):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                           timeout=30)
        if check and r.returncode != 0:
            raise AssertionError(f"xdotool {' '.join(args)} failed: {r.stderr.strip()}")
        return r.stdout.strip()

    def visible_windows(self, title):
        out = self.xdotool("search", "--onlyvisible", "--name", f"^{re.escape(title)}$", check=False)
        return [w for w in out.split() if w]

    def wait_window(self, title, timeout=10.0, visible=True):
        deadline = time.time() + timeout
        while time.time() < deadline:
            shown = self.visible_windows(title)
            if bool(shown) == visible:
                return shown[0] if shown else None
            if self.app and self.app.poll() is not None:
                raise AssertionError(f"the program ended (code {self.app.returncode}) "
                                     f"while waiting for {title!r}")
            time.sleep(0.1)
        state = "appear" if visible else "disappear"
        raise AssertionError(f"window {title!r} did not {state} within {timeout} s")

    def geometry(self, window):
        """Position and size of a window's client area on the screen."""
        # xwininfo reports the absolute position; xdotool's counts the frame twice.
        out = subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True,
                             text=True, check=True, timeout=30).stdout
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", out).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))

    # -- input ----------------------------------------------------------------------------
    def move(self, x, y, settle=0.4):
        self.xdotool("mousemove", str(x), str(y))
        time.sleep(settle)

    def click(self, x, y, settle=0.4):
        self.xdotool("mousemove", str(x), str(y), "click", "1")
        time.sleep(settle)

    def activate(self, window, attempts=10):
        """Makes `window` the active one and checks that it stays so for a moment: a slow
        program (a sanitized build on a busy machine) may take the focus for a window it showed
        earlier only after the window manager gave it to another one."""
        for _ in range(attempts):
            self.xdotool("windowactivate", "--sync", window, check=False)
            time.sleep(0.3)
            if self.xdotool("getactivewindow", check=False) == window:
                return
        raise AssertionError(f"window {window} did not stay active")

    def menu(self, window, *keys):
        """Chooses a menu command of `window` from the keyboard."""
        self.activate(window)
        for k in keys:
            self.key(k)

    def close_box(self, window):
        """Clicks the close box at the right end of the window manager's title bar."""
        out = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], env=self.env,
                             capture_output=True, text=True, check=True, timeout=30).stdout
        left, right, top, bottom = (int(v) for v in re.findall(r"\d+", out.split("=")[1]))
        x, y, w, h = self.geometry(window)
        self.click(x + w + right - 10, y - top // 2)

    def key(self, *keys, settle=0.4):
        self.xdotool("key", *keys)
        time.sleep(settle)

    # -- pixels ---------------------------------------------------------------------------
    def screenshot(self, name):
        path = os.path.join(self.artifacts, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True, timeout=30)
        return Screenshot(path)


class Screenshot:
    def __init__(self, path):
        self.path = path
        ppm = subprocess.run(["convert", path, "ppm:-"], capture_output=True, check=True).stdout
        fields, offset = [], 0
        while len(fields) < 4:
            while ppm[offset:offset + 1].isspace():
                offset += 1
            end = offset
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[offset:end])
            offset = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[offset + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def find_white_row(self, x, y_from, y_to):
        """The first row in [y_from, y_to) whose pixel at column x is pure white."""
        for y in range(y_from, y_to):
            if self.pixel(x, y) == (255, 255, 255):
                return y
        raise AssertionError(f"no white pixel in column {x} between rows {y_from} and {y_to}")


def board_origin(desktop, shot, main_window):
    """Screen position of the card photograph: the board image centres itself using the
    window's outer size, which adds the constant frame (8), caption (19) and menu bar (19)."""
    x, y, w, h = desktop.geometry(main_window)
    client_top = shot.find_white_row(x + w - 5, y, y + 80)  # below the menu bar
    client_h = y + h - client_top
    left = x + (w + 8 - 600) // 2
    top = client_top + (client_h + 8 + 19 + 19 - 425) // 2
    return left, top
