"""The program as a user installs it: `cmake --install` into a scratch root puts the program, its
menu entry and its icons where a desktop looks for them, and the installed program, started the
way its menu entry starts it, shows the program icon on its windows at normal and at double
pixel density.

    test_install.py CMAKE BUILD_DIR ARTIFACTS
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from desktop import Desktop

DESKTOP_ID = "tarvo-settings"
MAIN_TITLE = "Setup"
HELP_TITLE = "Instructions for Settings utility"

# Where a freedesktop menu and icon theme look, relative to the prefix, with the icon's size.
ICONS = [
    ("share/icons/hicolor/32x32/apps/" + DESKTOP_ID + ".png", 32),
    ("share/icons/hicolor/256x256/apps/" + DESKTOP_ID + ".png", 256),
    ("share/icons/hicolor/scalable/apps/" + DESKTOP_ID + ".svg", None),
]
ENTRY = "share/applications/" + DESKTOP_ID + ".desktop"
EXACT_KEYS = {
    "Type": "Application",
    "Name": "Settings",
    "Icon": DESKTOP_ID,
    "Terminal": "false",
}


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=120, **kwargs)


# -- the installed files ------------------------------------------------------------------
def install(cmake, build, root):
    prefix = os.path.join(root, "usr")
    r = run(cmake, "--install", build, "--prefix", prefix)
    assert r.returncode == 0, f"cmake --install failed:\n{r.stdout}{r.stderr}"
    outside = [p for p in os.listdir(root) if p != "usr"]
    assert not outside, f"installed outside the prefix: {outside}"
    # Build-only artefacts (static libraries, headers, test programs) have no place on a desk.
    for folder in ("lib", "include"):
        assert not os.path.exists(os.path.join(prefix, folder)), f"installed usr/{folder}"
    return prefix


def check_binary(prefix):
    program = os.path.join(prefix, "bin", "Settings")
    assert os.access(program, os.X_OK), "bin/Settings is not installed as an executable"
    dynamic = run("readelf", "-d", program).stdout
    found = re.findall(r"\((RPATH|RUNPATH)\)\s+(.*)", dynamic)
    assert not found, f"the installed program carries a library search path: {found}"


def desktop_entry(path):
    keys, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]":
                key, _, value = line.partition("=")
                keys[key.strip()] = value.strip()
    return keys


def check_entry(prefix):
    path = os.path.join(prefix, ENTRY)
    assert os.path.isfile(path), f"no menu entry {ENTRY}"
    r = run("desktop-file-validate", path)
    assert r.returncode == 0 and not r.stdout.strip(), f"invalid menu entry:\n{r.stdout}{r.stderr}"
    keys = desktop_entry(path)
    for key, value in EXACT_KEYS.items():
        assert keys.get(key) == value, f"{key}={keys.get(key)!r}, expected {value!r}"
    categories = keys.get("Categories", "").split(";")
    assert {"Settings", "HardwareSettings"} <= set(categories), f"Categories: {categories}"
    comment = keys.get("Comment", "")
    assert "Tarvo-K8" in comment and "Tarvo-M8" in comment, f"Comment: {comment!r}"
    # The menu runs Exec through the PATH; here the scratch root's bin stands for /usr/bin.
    command = keys.get("Exec", "").split()
    assert command, "no Exec"
    program = os.path.join(prefix, "bin", command[0])
    assert os.access(program, os.X_OK), f"Exec={keys['Exec']!r} names no installed program"
    return program, keys


def check_icons(prefix):
    for relative, size in ICONS:
        path = os.path.join(prefix, relative)
        assert os.path.isfile(path), f"no icon {relative}"
        if size is None:
            root = ElementTree.parse(path).getroot()
            assert root.tag == "{http://www.w3.org/2000/svg}svg", f"{relative} is not SVG"
            box = [float(v) for v in root.get("viewBox", "").split()]
            assert len(box) == 4 and box[2] == box[3], f"{relative}: viewBox {box} not square"
            continue
        found = run("identify", "-format", "%m %w %h", path).stdout.strip()
        assert found == f"PNG {size} {size}", f"{relative}: {found!r}, expected a {size}px PNG"


# -- the running program ------------------------------------------------------------------
def png_pixels(path, size):
    """ARGB values of a PNG drawn at `size` pixels, as _NET_WM_ICON holds them."""
    rgba = subprocess.run(["convert", path, "-resize", f"{size}x{size}", "-depth", "8", "rgba:-"],
                          capture_output=True, check=True, timeout=30).stdout
    return [rgba[i + 3] << 24 | rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]
            for i in range(0, len(rgba), 4)]


def window_icons(d, window):
    """The images of a window's _NET_WM_ICON by size."""
    out = run("xprop", "-id", window, "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON",
              env=d.env).stdout
    assert "=" in out, f"window {window} carries no icon: {out.strip()}"
    values = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()]
    icons = {}
    while len(values) >= 2:
        w, h = values[0], values[1]
        icons[(w, h)] = values[2:2 + w * h]
        values = values[2 + w * h:]
    return icons


def difference(shown, expected):
    """Mean difference of two ARGB images in 0..255, colours weighted by their opacity: the
    colour of a transparent pixel means nothing, and scalers differ a little at edges."""
    total = 0
    for a, b in zip(shown, expected):
        alpha_a, alpha_b = a >> 24, b >> 24
        total += abs(alpha_a - alpha_b)
        for shift in (0, 8, 16):
            total += abs((a >> shift & 255) * alpha_a - (b >> shift & 255) * alpha_b) // 255
    return total / (4 * len(expected))


def check_window_icon(d, window, scale, prefix):
    """The window shows the program icon at 32 points: 32 pixels, or more on a denser screen."""
    size = 32 * scale
    icons = window_icons(d, window)
    assert (size, size) in icons, f"no {size}x{size} image in the window icon: {sorted(icons)}"
    # The nearest installed size stands for what the program carries in itself.
    source = min((s for _, s in ICONS if s and s >= size), default=256)
    png = os.path.join(prefix, f"share/icons/hicolor/{source}x{source}/apps/{DESKTOP_ID}.png")
    off = difference(icons[(size, size)], png_pixels(png, size))
    assert off < 8, f"the window's {size}x{size} icon is not the program icon (off by {off:.1f})"


def check_wm_class(d, window, entry):
    # Desktops match a window to its menu entry (and so to its icon) through the class.
    out = run("xprop", "-id", window, "WM_CLASS", env=d.env).stdout
    classes = re.findall(r'"([^"]*)"', out)
    assert classes and classes[-1] == entry.get("StartupWMClass"), \
        f"WM_CLASS {classes} does not match StartupWMClass={entry.get('StartupWMClass')!r}"


def start_installed(prefix, program, entry, artifacts, name, scale):
    """Starts the installed program at a pixel density, checks its two windows and keeps a
    screenshot; returns the help window's size."""
    width, height = 1024 * scale, 768 * scale
    with Desktop(program, width=width, height=height, artifacts=artifacts) as d:
        d.start({"QT_SCALE_FACTOR": str(scale)} if scale != 1 else {})
        main = d.wait_window(MAIN_TITLE)
        help_window = d.wait_window(HELP_TITLE)  # opens by itself
        _, _, w, h = d.geometry(main)
        assert w >= width - 10 and h >= height - 120, f"not maximised: {w}x{h} on {width}x{height}"
        d.screenshot(name)
        for window in (main, help_window):
            check_window_icon(d, window, scale, prefix)
        check_wm_class(d, main, entry)
        return d.geometry(help_window)[2:]


def main():
    cmake, build, artifacts = sys.argv[1], sys.argv[2], sys.argv[3] + "/install"
    for tool in ("desktop-file-validate", "readelf", "identify", "xprop"):
        assert shutil.which(tool), f"{tool} is missing: run scripts/install-deps.sh"
    with tempfile.TemporaryDirectory() as root:
        prefix = install(cmake, build, root)
        check_binary(prefix)
        program, entry = check_entry(prefix)
        check_icons(prefix)
        normal = start_installed(prefix, program, entry, artifacts, "installed", 1)
        double = start_installed(prefix, program, entry, artifacts + "-scale2",
                                 "installed-scale2", 2)
        # At double density the help window keeps its layout at twice the pixels.
        assert all(abs(b - 2 * a) <= 4 for a, b in zip(normal, double)), \
            f"help window {double[0]}x{double[1]} at scale 2, {normal[0]}x{normal[1]} at scale 1"
    print("1 passed, 0 failed: install, menu entry, icons and window icon")


if __name__ == "__main__":
    main()
