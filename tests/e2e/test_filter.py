"""The help window's Start (Enter) opens the filter popup pinned; ticking "Filter 1" moves the
rightmost knob of the switch drawing to the "ON" side; the Help menu brings back both windows."""

import sys

from desktop import Desktop

POPUP = "Manual Filter Selection"
HELP = "Instructions for Settings utility"


def knob_is_on(shot, popup, position):
    """Position 0 is the rightmost switch. The drawing sits at (96, 68) of the popup's client
    area; an 'on' knob fills rows 13..22 of its slot, an 'off' one rows 28..37."""
    x, y, _, _ = popup
    slot_left = 2 + (7 - position) * 12
    top_pixel = shot.pixel(x + 96 + slot_left + 5, y + 68 + 17)
    bottom_pixel = shot.pixel(x + 96 + slot_left + 5, y + 68 + 33)
    white = lambda p: min(p) > 200
    assert white(top_pixel) != white(bottom_pixel), f"no knob at position {position}"
    return white(top_pixel)


def main():
    with Desktop(sys.argv[1], artifacts=sys.argv[2] + "/filter") as d:
        d.start()
        main_window = d.wait_window("Setup")
        help_window = d.wait_window(HELP)
        d.activate(help_window)
        d.key("Return")
        d.wait_window(HELP, visible=False)
        popup = d.geometry(d.wait_window(POPUP))

        shot = d.screenshot("popup-opened")
        assert not any(knob_is_on(shot, popup, p) for p in range(8)), "a knob is on at start"

        x, y, _, _ = popup
        d.click(x + 16 + 8, y + 16 + 8)  # "Filter 1"
        shot = d.screenshot("filter-1-ticked")
        assert knob_is_on(shot, popup, 0), "Filter 1 did not move the rightmost knob to ON"
        assert not any(knob_is_on(shot, popup, p) for p in range(1, 8))

        d.menu(main_window, "alt+h", "o")  # How to use this program
        d.wait_window(HELP)
        d.menu(main_window, "alt+h", "t")  # Technical Support
        d.wait_window("Technical Support")
        d.screenshot("help-windows")
    print("1 passed, 0 failed: filter")


if __name__ == "__main__":
    main()
