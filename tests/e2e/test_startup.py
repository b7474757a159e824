"""Start-up and shut-down as a user sees them: a maximised window captioned "Setup" with the
photograph centred, the help window opening by itself, and File -> Exit or the close box ending
the program with exit code 0."""

import sys

from desktop import Desktop, board_origin


def check_window_and_photo(d):
    main = d.wait_window("Setup")
    d.wait_window("Instructions for Settings utility")  # opens by itself
    x, y, w, h = d.geometry(main)
    assert w >= d.width - 10 and h >= d.height - 80, f"not maximised: {w}x{h}"
    shot = d.screenshot("startup")
    left, top = board_origin(d, shot, main)
    # The filter switch of the photograph is red; the bracket on the left is grey metal.
    r, g, b = shot.pixel(left + 400, top + 40)
    assert r > 150 and g < 120 and b < 120, f"no red switch at the filter circle: {(r, g, b)}"
    r, g, b = shot.pixel(left + 50, top + 60)
    assert abs(r - g) < 30 and abs(g - b) < 30 and r > 120, f"no bracket: {(r, g, b)}"
    return main


def exit_through_menu():
    with Desktop(sys.argv[1], artifacts=sys.argv[2] + "/menu-exit") as d:
        d.start()
        main = check_window_and_photo(d)
        d.menu(main, "alt+f", "e")
        d.expect_exit("File -> Exit")


def exit_through_close_box():
    with Desktop(sys.argv[1], artifacts=sys.argv[2] + "/close-box") as d:
        d.start()
        main = check_window_and_photo(d)
        d.close_box(main)
        d.expect_exit("the close box")


if __name__ == "__main__":
    exit_through_menu()
    exit_through_close_box()
    print("1 passed, 0 failed: startup and exit")
