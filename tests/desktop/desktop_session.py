"""What every desktop test of Voveriz shares: a real X server (Xvfb) with the openbox window
manager, a headless weston, screenshots and the text lines of the log read off them, the real
program started with a preference folder of its own, the drag source program, and the runner that
gives each test script its work folder, its logs, a session bus of its own when it asks for one,
and its exit status (0 passed, 1 failed, 77 skipped where Xvfb cannot start)."""

import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
SCREEN = (1280, 1024)

# The root view is 400 x 580; these points (window coordinates, origin top-left) come from the
# main window's layout for that size: root margin, and a strip at the top of each panel clear of
# every control.
ROOT_POINTS = [(8, 300), (392, 80), (200, 572)]
SETTINGS_PANEL_POINT = (196, 90)   # settingsPanel (16, 86, 368, 90)
FOLDER_PANEL_POINT = (196, 192)    # wfPanel (16, 188, 368, 90)
LOG_PANEL_POINT = (196, 294)       # logPanel (16, 290, 368, 274)
LOG_DROP_POINT = (200, 450)        # inside the log's scroll view
TARGET_FIELD_CENTRE = (323, 109)   # targetField (278, 96, 90, 26) in the window
CHANGE_BUTTON_CENTRE = (332, 214)  # changeOutputBtn (294, 202, 76, 24) in the window
CLEAR_BUTTON_CENTRE = (356, 307)   # clearBtn (334, 298, 44, 18) in the window

BACKGROUND = (0x11, 0x11, 0x11)
PANEL = (0x25, 0x25, 0x25)
THIRD_SWATCH = (0x0D, 0x11, 0x17)
POPOVER_FILL = (0x2A, 0x2A, 0x2A)

# The height of weston's desktop-shell panel at the top of its output.
WESTON_PANEL = 32

PLEASE_CHOOSE = "Please choose a Resized Folder first."



class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, probe, timeout=20.0, interval=0.1):
    """Polls probe() until it returns something true; that value, or a Failure after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def end(process):
    """Ends a process we started, if it still runs: asked first, killed after 5 s."""
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


STARTED = time.monotonic()


def log(text):
    print(f"[{time.monotonic() - STARTED:5.1f} s] {text}", flush=True)


class Desktop:
    """An Xvfb server on a free display with openbox running on it."""

    def __init__(self, work):
        self.work = work
        self.xvfb = None
        self.wm = None
        self.env = None
        self.display_pipe = None

    def start(self):
        os.makedirs(os.path.join(self.work, "logs"))
        if not shutil.which("Xvfb"):
            return "Xvfb is not installed"
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=open(f"{self.work}/logs/xvfb.log", "w"))
        os.close(write_end)
        # The read end stays open while the server runs: Xvfb fails when it cannot write there.
        self.display_pipe = read_end
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], max(deadline - time.monotonic(), 0))
            chunk = os.read(read_end, 32) if ready else b""
            if not chunk:
                break
            number += chunk
        number = number.decode().strip()
        if not number or self.xvfb.poll() is not None:
            self.stop()
            return "Xvfb did not start: " + open(f"{self.work}/logs/xvfb.log").read().strip()[-400:]

        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "SESSION_MANAGER", "QT_QPA_PLATFORMTHEME", "QT_SCALE_FACTOR",
                     "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR", "XAUTHORITY"):
            env.pop(name, None)
        # The user's own session bus is never the test's: the window would move their dock and
        # show them notifications. A script on a private bus keeps that one.
        if os.environ.get(PRIVATE_BUS_MARK) != "1":
            env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.update(DISPLAY=f":{number}", QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                   XDG_SESSION_TYPE="x11")
        self.env = env

        openbox = shutil.which("openbox")
        if not openbox:
            raise Failure("openbox is not installed (scripts/install-deps installs it)")
        self.wm = subprocess.Popen([openbox, "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                                   stderr=open(f"{self.work}/logs/openbox.log", "w"))
        wait_until("the window manager", lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                                      check_status=False))
        log(f"desktop: Xvfb on :{number}, openbox running")
        return None

    def stop(self):
        for process in (self.wm, self.xvfb):
            end(process)
        if self.display_pipe is not None:
            os.close(self.display_pipe)
            self.display_pipe = None

    def x(self, *args, check_status=True):
        """Runs an X client (xdotool, xprop, ...) on this display; its standard output."""
        result = subprocess.run(list(args), env=self.env, capture_output=True, text=True, timeout=30)
        if check_status and result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def visible_windows(self, title):
        out = self.x("xdotool", "search", "--onlyvisible", "--name", f"^{title}$", check_status=False)
        return [int(w) for w in out.split()]

    def geometry(self, window):
        """The client area of a window on the screen: (x, y, width, height)."""
        fields = {}
        for line in self.x("xwininfo", "-id", str(window)).splitlines():
            key, _, value = line.strip().partition(":")
            fields[key] = value.strip()
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))

    def screenshot(self, path):
        self.x("import", "-window", "root", path)
        return Screenshot(path)


class Weston:
    """A headless weston (pixman) with its own runtime folder and socket name, started with
    --debug so that weston-screenshooter may take pictures of its output."""

    SOCKET = "voveriz-test"

    def __init__(self, work):
        self.work = work
        self.process = None
        self.env = None

    def start(self):
        if not shutil.which("weston") or not shutil.which("weston-screenshooter"):
            return "weston is not installed"
        runtime = os.path.join(self.work, "wayland-runtime")
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY")}
        env.update(XDG_RUNTIME_DIR=runtime)
        self.process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", f"--socket={self.SOCKET}", "--debug",
             "--width=1024", "--height=900", "--idle-time=0"],
            env=env, stdout=subprocess.DEVNULL, stderr=open(f"{self.work}/logs/weston.log", "w"))
        listening = os.path.join(runtime, self.SOCKET)
        deadline = time.monotonic() + 15
        while not os.path.exists(listening) and self.process.poll() is None and time.monotonic() < deadline:
            time.sleep(0.1)
        if not os.path.exists(listening) or self.process.poll() is not None:
            self.stop()
            return "weston did not start: " + open(f"{self.work}/logs/weston.log").read().strip()[-400:]
        self.env = dict(env, WAYLAND_DISPLAY=self.SOCKET, QT_QPA_PLATFORM="wayland", XDG_SESSION_TYPE="wayland")
        return None

    def stop(self):
        end(self.process)

    def screenshot(self, path):
        """The compositor's whole output (weston-screenshooter writes it to its working folder)."""
        folder = tempfile.mkdtemp(dir=self.work)
        subprocess.run(["weston-screenshooter"], env=self.env, cwd=folder, capture_output=True, timeout=30)
        taken = [n for n in os.listdir(folder) if n.endswith(".png")]
        if not taken:
            return None
        shutil.move(os.path.join(folder, taken[0]), path)
        return Screenshot(path)


class Screenshot:
    def __init__(self, path):
        self.path = path

    def region(self, x, y, width, height):
        raw = subprocess.run(["convert", self.path, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                              "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        check(len(raw) == width * height * 3, f"cannot read {width}x{height}+{x}+{y} of {self.path}")
        return Region(raw, width, height)

    def pixel(self, x, y):
        return self.region(x, y, 1, 1).at(0, 0)


class Region:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])

    def row(self, y):
        return self.raw[y * self.width * 3:(y + 1) * self.width * 3]

    def where(self, color):
        return [(x, y) for y in range(self.height) for x in range(self.width) if self.at(x, y) == color]

    def bounds(self, color):
        """The smallest (x, y, width, height) holding every pixel of that color; None without one."""
        wanted = bytes(color)
        found = [i // 3 for i in range(0, len(self.raw), 3) if self.raw[i:i + 3] == wanted]
        if not found:
            return None
        xs = [i % self.width for i in found]
        ys = [i // self.width for i in found]
        return (min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)


class TextLines:
    """The lines of text in a screenshot of the log: bands of rows with light ink on the dark
    panel, each with its ink's left and right edges and its pixels."""

    def __init__(self, region, ink_threshold=110):
        self.bands = []
        start = None
        for y in range(region.height + 1):
            inked = y < region.height and any(
                max(region.at(x, y)) >= ink_threshold for x in range(region.width))
            if inked and start is None:
                start = y
            elif not inked and start is not None:
                self.bands.append(self._band(region, start, y, ink_threshold))
                start = None

    @staticmethod
    def _band(region, top, bottom, threshold):
        columns = [x for x in range(region.width)
                   if any(max(region.at(x, y)) >= threshold for y in range(top, bottom))]
        pixels = b"".join(region.row(y) for y in range(top, bottom))
        return {"top": top, "bottom": bottom, "left": min(columns), "right": max(columns), "pixels": pixels}

    def __len__(self):
        return len(self.bands)


def rgb_text(color):
    return "#%02x%02x%02x" % color


class Voveriz:
    """One run of the program with a given preference folder."""

    def __init__(self, desktop, binary, config_home, label, args=(), cwd=None):
        self.desktop = desktop
        self.label = label
        env = dict(desktop.env, XDG_CONFIG_HOME=config_home)
        self.output = open(os.path.join(desktop.work, "logs", f"voveriz-{label}.log"), "w")
        self.process = subprocess.Popen([binary, *args], env=env, cwd=cwd, stdout=self.output,
                                        stderr=subprocess.STDOUT)
        windows = wait_until(f"the Voveriz window ({label})", lambda: self._window_or_exit())
        check(len(windows) == 1, f"{len(windows)} windows titled Voveriz")
        self.window = windows[0]

    def _window_or_exit(self):
        if self.process.poll() is not None:
            raise Failure(f"voveriz ended at launch with status {self.process.returncode}")
        return self.desktop.visible_windows("Voveriz")

    def geometry(self):
        return self.desktop.geometry(self.window)

    def mapped(self):
        """Whether the window shows: false once it is unmapped or destroyed."""
        return "Map State: IsViewable" in self.desktop.x("xwininfo", "-id", str(self.window), check_status=False)

    def screen_point(self, point):
        x, y, _, _ = self.geometry()
        return (x + point[0], y + point[1])

    def activate(self):
        self.desktop.x("xdotool", "windowactivate", "--sync", str(self.window))
        wait_until("keyboard focus on Voveriz",
                   lambda: self.desktop.x("xdotool", "getwindowfocus", check_status=False).strip()
                   == str(self.window))

    def click(self, point):
        x, y = self.screen_point(point)
        self.desktop.x("xdotool", "mousemove", str(x), str(y), "click", "1")

    def keys(self, *keys):
        self.desktop.x("xdotool", "key", "--clearmodifiers", *keys)

    def log_region(self, shot):
        # The log's scroll view, less the scroller on its right.
        x, y, _, _ = self.geometry()
        return shot.region(x + 24, y + 316, 330, 240)

    def wait_for_exit(self, how):
        try:
            status = self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure(f"voveriz still runs 20 s after {how}")
        check(status == 0, f"voveriz ended with status {status} after {how}")
        self.output.close()

    def quit_with_ctrl_q(self):
        self.activate()
        self.keys("ctrl+q")
        self.wait_for_exit("Ctrl+Q")

    def close_window(self):
        # The window manager's own close key: it sends WM_DELETE_WINDOW, as its close button does.
        self.activate()
        self.keys("alt+F4")
        self.wait_for_exit("closing the window")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class DragSource:
    """The other program: offers files as text/uri-list when pressed."""

    def __init__(self, desktop, binary, files):
        self.desktop = desktop
        self.output_path = os.path.join(desktop.work, "logs", "drag-source.log")
        self.output = open(self.output_path, "w")
        self.process = subprocess.Popen([binary, *files], env=desktop.env, stdout=self.output,
                                        stderr=subprocess.STDOUT)
        windows = wait_until("the drag source window", lambda: desktop.visible_windows("Voveriz drag source"))
        self.window = windows[0]
        # Top left, away from Voveriz's window in the middle of the screen.
        desktop.x("xdotool", "windowmove", str(self.window), "20", "40")
        wait_until("the drag source in the top left corner",
                   lambda: max(desktop.geometry(self.window)[:2]) < 100, timeout=10)

    def drag_to(self, x, y, action=1):
        sx, sy, w, h = self.desktop.geometry(self.window)
        start = (sx + w // 2, sy + h // 2)
        d = self.desktop
        d.x("xdotool", "mousemove", str(start[0]), str(start[1]))
        d.x("xdotool", "mousedown", "1")
        # A person's drag: several moves on the way, the last ones over the target.
        steps = 12
        for i in range(1, steps + 1):
            px = start[0] + (x - start[0]) * i // steps
            py = start[1] + (y - start[1]) * i // steps
            d.x("xdotool", "mousemove", str(px), str(py))
            time.sleep(0.03)
        # A moment over the target, as a hand would linger, before letting go.
        for px, py in ((x + 2, y + 2), (x, y)):
            d.x("xdotool", "mousemove", str(px), str(py))
            time.sleep(0.1)
        d.x("xdotool", "mouseup", "1")
        ended = wait_until("the drag to end", lambda: self._ended())
        check(ended == f"drag ended: {action}",
              f"the drag source reports '{ended}', expected 'drag ended: {action}' (1 copied, 0 refused)")

    def _ended(self):
        with open(self.output_path) as f:
            for line in f:
                if line.startswith("drag ended:"):
                    return line.strip()
        return None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.output.close()


class SessionBus:
    """A private D-Bus session bus (dbus-daemon) in the work folder. It starts no services of its
    own, so only what a test starts answers on it. address is what DBUS_SESSION_BUS_ADDRESS takes."""

    CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""

    def __init__(self, work):
        self.work = work
        self.process = None
        self.address = None

    def start(self):
        """Starts the bus; the reason when it cannot start here."""
        if not shutil.which("dbus-daemon"):
            return "dbus-daemon is not installed"
        folder = os.path.join(self.work, "session-bus")
        os.makedirs(folder, mode=0o700)
        config = os.path.join(folder, "session.conf")
        with open(config, "w") as f:
            f.write(self.CONFIG.format(folder=folder))
        self.process = subprocess.Popen(
            ["dbus-daemon", f"--config-file={config}", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=open(f"{self.work}/logs/dbus-daemon.log", "w"), text=True)
        ready, _, _ = select.select([self.process.stdout], [], [], 15)
        self.address = self.process.stdout.readline().strip() if ready else ""
        if not self.address:
            self.kill()
            return "dbus-daemon did not start: " + open(f"{self.work}/logs/dbus-daemon.log").read().strip()[-400:]
        log("session bus: a private dbus-daemon")
        return None

    def kill(self):
        end(self.process)


def image_size(path):
    out = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True).stdout
    w, h = out.split()
    return int(w), int(h)


def resized_sizes(folder):
    return {name: image_size(os.path.join(folder, name)) for name in sorted(os.listdir(folder))}


def folder_listing(root):
    """Every file under root with its size and modification time."""
    listing = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            st = os.stat(path)
            listing[os.path.relpath(path, root)] = (st.st_size, st.st_mtime_ns)
    return listing


def read_store(config_home):
    path = os.path.join(config_home, "Voveriz", "Voveriz.json")
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        return json.load(f)


def write_store(config_home, values):
    os.makedirs(os.path.join(config_home, "Voveriz"), exist_ok=True)
    with open(os.path.join(config_home, "Voveriz", "Voveriz.json"), "w") as f:
        json.dump(values, f)


def make_image(path, width, height, color):
    subprocess.run(["convert", "-size", f"{width}x{height}", f"xc:{color}", path], check=True)



class Session:
    """A desktop for one test script: the programs it started are killed at the end. A script's
    cases are methods of a subclass; run() is its list of them."""

    def __init__(self, voveriz, drag_source, out_dir, work, picture=None):
        self.voveriz = voveriz
        self.picture = picture
        self.drag_source_binary = drag_source
        self.out_dir = out_dir
        self.work = work
        self.desktop = Desktop(work)
        self.running = []

    def launch(self, config_home, label, args=(), cwd=None):
        app = Voveriz(self.desktop, self.voveriz, config_home, label, args, cwd)
        self.running.append(app)
        # Up when the hint line of the log shows.
        wait_until("the log's first line", lambda: len(self.log_lines(app)) > 0)
        return app

    def shot(self, name):
        return self.desktop.screenshot(os.path.join(self.out_dir, name + ".png"))

    def log_lines(self, app, name="log"):
        return TextLines(app.log_region(self.shot(name)))

    def drag(self, app, files, point=LOG_DROP_POINT, action=1):
        source = DragSource(self.desktop, self.drag_source_binary, files)
        try:
            x, y = app.screen_point(point)
            source.drag_to(x, y, action)
        except Exception:
            source.stop()
            raise
        return source

    def wait_for_lines(self, app, count, what):
        lines = wait_until(f"{what} ({count} lines in the log)",
                           lambda: (lambda l: l if len(l) >= count else None)(self.log_lines(app)),
                           timeout=30, interval=0.2)
        check(len(lines) == count, f"{what}: the log shows {len(lines)} lines, expected {count}")
        return lines

    def cases(self):
        """Runs the script's cases in order; a subclass lists them here."""
        raise NotImplementedError

    def start_desktop(self):
        """Starts the X server and the window manager; the reason when they cannot start here."""
        return self.desktop.start()

    def run(self):
        try:
            reason = self.start_desktop()
            if reason:
                log(f"desktop tests skipped: {reason}")
                return SKIPPED
            self.cases()
        except Failure as failure:
            log(f"FAIL {failure}")
            log(f"screenshots and program output: {self.out_dir}")
            return 1
        finally:
            for app in self.running:
                app.kill()
            self.desktop.stop()
        log(f"desktop tests passed; screenshots in {self.out_dir}")
        return 0


PRIVATE_BUS_MARK = "VOVERIZ_DESKTOP_TEST_PRIVATE_BUS"


def main(session_class, usage, private_bus=False):
    """A test script's entry: SCRIPT VOVERIZ DRAG_SOURCE OUT_DIR [PICTURE]. With private_bus the
    script runs again inside dbus-run-session, on a session bus of its own that ends with it."""
    if len(sys.argv) not in (4, 5):
        print(usage, file=sys.stderr)
        return 2
    if private_bus and os.environ.get(PRIVATE_BUS_MARK) != "1":
        runner = shutil.which("dbus-run-session")
        if not runner:
            log("FAIL dbus-run-session is not installed (scripts/install-deps installs dbus-daemon)")
            return 1
        os.environ[PRIVATE_BUS_MARK] = "1"
        os.execv(runner, [runner, "--", sys.executable, os.path.abspath(sys.argv[0]), *sys.argv[1:]])
    voveriz, drag_source, out_dir = (os.path.abspath(a) for a in sys.argv[1:4])
    picture = os.path.abspath(sys.argv[4]) if len(sys.argv) == 5 else None
    os.makedirs(out_dir, exist_ok=True)
    work = tempfile.mkdtemp(prefix="voveriz-desktop-")
    try:
        return session_class(voveriz, drag_source, out_dir, work, picture).run()
    finally:
        # The programs' output stays beside the screenshots.
        shutil.rmtree(os.path.join(out_dir, "logs"), ignore_errors=True)
        if os.path.isdir(os.path.join(work, "logs")):
            shutil.copytree(os.path.join(work, "logs"), os.path.join(out_dir, "logs"))
        shutil.rmtree(work, ignore_errors=True)
