"""Hovering the real mouse over the filter circle opens its popup window, moving off closes it,
clicking the circle keeps it open."""

import sys
import time

from desktop import Desktop, board_origin

POPUP = "Manual Filter Selection"


def main():
    with Desktop(sys.argv[1], artifacts=sys.argv[2] + "/hover") as d:
        d.start()
        main_window = d.wait_window("Setup")
        d.wait_window("Instructions for Settings utility")
        shot = d.screenshot("before-hover")
        left, top = board_origin(d, shot, main_window)
        circle = (left + 369 + 36, top + 34 + 12)
        away = (left + 250, top + 400)

        d.move(*away)
        d.move(*circle, settle=0.8)
        d.wait_window(POPUP)
        d.screenshot("hovering")
        d.move(*away, settle=0.8)
        d.wait_window(POPUP, visible=False)

        # From the circle onto its popup: it stays while the mouse is on it, and closes when the
        # mouse leaves it.
        d.move(*circle, settle=0.8)
        popup = d.geometry(d.wait_window(POPUP))
        d.move(popup[0] + popup[2] // 2, popup[1] + 40, settle=0.8)
        assert d.visible_windows(POPUP), "the popup closed when the mouse moved onto it"
        d.move(popup[0] + 30, popup[1] + popup[3] - 90, settle=0.8)  # onto its memo
        assert d.visible_windows(POPUP), "the popup closed when the mouse moved onto its memo"
        d.screenshot("on-popup")
        d.move(*away, settle=0.8)
        d.wait_window(POPUP, visible=False)

        d.move(*circle, settle=0.8)
        d.wait_window(POPUP)
        d.click(*circle)
        d.move(*away, settle=0.8)
        time.sleep(0.5)
        assert d.visible_windows(POPUP), "a clicked circle's popup closed when the mouse left"
        d.screenshot("pinned")
    print("1 passed, 0 failed: hover")


if __name__ == "__main__":
    main()
