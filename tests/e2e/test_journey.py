"""The whole user journey with the real mouse and keyboard: start, the help window appears,
Start opens the filter popup pinned, tick filters, Next and Previous wrap the one-circle tour,
Done, hover the connector and tour its group, the Help menu's windows, Exit. A screenshot is
kept at every stage."""

import sys

from desktop import Desktop, board_origin

FILTER = "Manual Filter Selection"
CONNECTOR = "Connector"
HELP = "Instructions for Settings utility"


def knob_on(shot, popup, position):
    x, y, _, _ = popup
    column = x + 96 + 2 + (7 - position) * 12 + 5
    return min(shot.pixel(column, y + 68 + 17)) > 200


def press(d, popup, button):
    """The popup's buttons sit 44 pixels above the bottom of its client area."""
    x, y, w, h = popup
    left = {"Previous": 6, "Next": (w - 58) // 2, "Done": w - 64}[button]
    d.click(x + left + 29, y + h - 44 + 12)


def main():
    with Desktop(sys.argv[1], artifacts=sys.argv[2] + "/journey") as d:
        d.start()
        main_window = d.wait_window("Setup")
        help_window = d.wait_window(HELP)
        d.screenshot("1-started")

        d.activate(help_window)
        d.key("Return")
        popup = d.geometry(d.wait_window(FILTER))
        d.screenshot("2-filter-popup-pinned")

        x, y, _, _ = popup
        d.click(x + 24, y + 16 + 8)        # Filter 1
        d.click(x + 24, y + 128 + 8)       # Filter 8
        shot = d.screenshot("3-filters-ticked")
        assert knob_on(shot, popup, 0) and knob_on(shot, popup, 7), "knobs 0 and 7 not on"
        assert not any(knob_on(shot, popup, p) for p in range(1, 7)), "another knob is on"

        # The settings group has one circle: Next and Previous close it and open it again.
        for button in ("Next", "Previous"):
            press(d, popup, button)
            popup = d.geometry(d.wait_window(FILTER))
            d.move(x - 200, y + 300)  # off the popup: a pinned popup stays
            assert d.visible_windows(FILTER), f"{button} did not leave the filter popup open"
        d.screenshot("4-tour-wrapped")
        press(d, popup, "Done")
        d.wait_window(FILTER, visible=False)
        d.screenshot("5-done")

        shot = d.screenshot("6-before-connector")
        left, top = board_origin(d, shot, main_window)
        d.move(left + 16 + 44, top + 80 + 124, settle=0.8)
        connector = d.geometry(d.wait_window(CONNECTOR))
        d.screenshot("7-connector-hovered")
        press(d, connector, "Next")  # one circle in the options group as well
        connector = d.geometry(d.wait_window(CONNECTOR))
        d.move(left + 300, top + 420)
        assert d.visible_windows(CONNECTOR), "Next did not pin the connector popup"
        press(d, connector, "Done")
        d.wait_window(CONNECTOR, visible=False)

        d.menu(main_window, "alt+h", "o")  # How to use this program
        d.wait_window(HELP)
        d.menu(main_window, "alt+h", "t")  # Technical Support
        d.wait_window("Technical Support")
        d.screenshot("8-help-windows")

        d.menu(main_window, "alt+f", "e")  # File -> Exit
        d.expect_exit("File -> Exit")
    print("1 passed, 0 failed: journey")


if __name__ == "__main__":
    main()
