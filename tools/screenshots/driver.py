"""Drives a running Qt program as a user would: finds its windows and controls through the
accessibility interface (AT-SPI, the one screen readers use) by role and caption, clicks them
and types into them with real mouse and key events (xdotool), and photographs windows with
their frames (ImageMagick). Runs inside tools/screenshots/session.sh.

Needs Debian's python3-pyatspi, xdotool and imagemagick.
"""

import subprocess
import time

import pyatspi

TIMEOUT = 15  # seconds to wait for a window or a control to appear
PAUSE = 0.25  # after a click or keys, for the program to answer


class NotFound(RuntimeError):
    pass


def _wait(what, probe, timeout=TIMEOUT):
    end = time.time() + timeout
    while True:
        found = probe()
        if found is not None:
            return found
        if time.time() > end:
            raise NotFound(what)
        time.sleep(0.2)


def app_named(name):
    """The running application whose accessible name is `name`."""
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        return None
    return _wait(f"application {name}", probe)


def _walk(root):
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        try:
            stack.extend(reversed([child for child in node]))
        except Exception:  # a control that went away while we walked
            pass


def find_now(root, role, name=None, contains=None):
    for node in _walk(root):
        try:
            if node.getRoleName() != role:
                continue
            if name is not None and node.name != name:
                continue
            if contains is not None and contains not in node.name:
                continue
            if extents(node)[2] <= 0:
                continue  # a control that is not on screen (a closed menu's items)
            return node
        except Exception:
            continue
    return None


def find(root, role, name=None, contains=None, timeout=TIMEOUT):
    """The first control of `role` (AT-SPI role name: "push button", "text", "combo box",
    "radio button", "label", ...) named `name` (or whose name contains `contains`), waiting
    for it to appear."""
    return _wait(f"{role} {name or contains!r}", lambda: find_now(root, role, name, contains),
                 timeout)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def window(app, title, timeout=TIMEOUT):
    """The shown top-level window of `app` with this title."""
    def probe():
        for top in app:
            try:
                if top is not None and top.name == title and showing(top):
                    return top
            except Exception:
                continue
        return None
    return _wait(f"window {title!r}", probe, timeout)


def field_beside(root, caption, role="text"):
    """The enabled control of `role` nearest to the right of the label `caption`, on its row:
    for fields that carry no name of their own."""
    label = find(root, "label", caption)
    x, y, _, height = extents(label)

    def probe():
        row = []
        for node in _walk(root):
            try:
                if node.getRoleName() != role or not enabled(node):
                    continue
                nx, ny, _, nheight = extents(node)
                if nx > x and abs((ny + nheight / 2) - (y + height / 2)) < height / 2:
                    row.append((nx, node))
            except Exception:
                continue
        return min(row, key=lambda found: found[0])[1] if row else None
    return _wait(f"{role} beside {caption!r}", probe)


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def text_of(node):
    """The text a text field or a label shows."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def _xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def click(node):
    """A left click in the middle of the control."""
    x, y, width, height = extents(node)
    _xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")
    time.sleep(PAUSE)


def press(node):
    """Presses a button (a click; waits until it is enabled)."""
    _wait(f"{node.name} enabled", lambda: node if enabled(node) else None)
    click(node)


def keys(*names):
    """Key presses by X key name: "Tab", "Return", "ctrl+a", "Down"."""
    _xdotool("key", "--delay", "60", *names)
    time.sleep(PAUSE)


def type_text(text):
    """Types into the control that has the keyboard focus."""
    _xdotool("type", "--delay", "40", "--", text)
    time.sleep(PAUSE)


def fill(node, text, leave=True):
    """Clicks into a field, replaces its text by typing, and leaves it with Tab."""
    click(node)
    keys("ctrl+a", "BackSpace")
    type_text(text)
    if leave:
        keys("Tab")


def dialog(app, contains, timeout=TIMEOUT):
    """A message box or other dialog of `app` that shows a text containing `contains`."""
    def probe():
        for top in app:
            try:
                if top is None or not showing(top) or top.getRoleName() not in (
                        "dialog", "alert", "frame"):
                    continue
                if find_now(top, "label", contains=contains) is not None:
                    return top
            except Exception:
                continue
        return None
    return _wait(f"dialog showing {contains!r}", probe, timeout)


def answer(app, button, expect):
    """Answers the message box that shows `expect` with `button` ("Yes", "No", "OK")."""
    box = dialog(app, expect)
    press(find(box, "push button", button))
    return box


def pick_file(app, path, title=None):
    """Types `path` into the open file dialog and accepts it."""
    def probe():
        for top in app:
            try:
                if top is not None and top.getRoleName() == "dialog" and (
                        title is None or top.name == title) and find_now(
                            top, "label", contains="File name") is not None:
                    return top
            except Exception:
                continue
        return None
    box = _wait("file dialog", probe)
    field = find(box, "text", "File name:")
    fill(field, path, leave=False)
    keys("Return")
    return box


def _window_ids(title):
    """The X windows titled `title` that are shown."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                          capture_output=True, text=True, check=False).stdout.split()


def frame_extents(title):
    """The window manager's frame around the window titled `title`: left, right, top, bottom
    (waits until the window manager has framed it)."""
    def probe():
        for window_id in reversed(_window_ids(title)):
            out = subprocess.run(["xprop", "-id", window_id, "_NET_FRAME_EXTENTS"],
                                 capture_output=True, text=True, check=False).stdout
            if "=" in out:
                return [int(v) for v in out.split("=")[1].split(",")]
        return None
    return _wait(f"the frame of {title!r}", probe)


def move(title, x, y):
    """Moves the window titled `title` so its frame's top-left corner is at x, y."""
    left, _, top, _ = frame_extents(title)
    for window_id in _window_ids(title):
        _xdotool("windowmove", "--sync", window_id, str(x + left), str(y + top))
    time.sleep(PAUSE)


def shot(path, *windows):
    """Photographs the screen cut to the given windows with their window manager's frames
    (the union of their rectangles)."""
    left, right, top, bottom = frame_extents(windows[0].name)
    boxes = [extents(w) for w in windows]
    x0 = max(min(x for x, _, _, _ in boxes) - left, 0)
    y0 = max(min(y for _, y, _, _ in boxes) - top, 0)
    x1 = max(x + w for x, _, w, _ in boxes) + right
    y1 = max(y + h for _, y, _, h in boxes) + bottom
    time.sleep(0.5)  # let the last paint land
    subprocess.run(["import", "-silent", "-window", "root", "-crop",
                    f"{x1 - x0}x{y1 - y0}+{x0}+{y0}", "+repage", "-strip", str(path)],
                   check=True)
