#!/usr/bin/env python3
"""The on-screen DPI message: a press of the mouse's DPI button maps it at
the bottom right of the screen (there is no panel under Xvfb, so the work
area is the screen), and it unmaps again a moment after the last press."""

import time

import orvane_e2e as e2e
import steps

MESSAGE = "DPIMsgDlg"  # the message window's title
WIDTH, HEIGHT, MARGIN = 300, 130, 2


def test_dpi_button_maps_the_message_at_the_bottom_right_and_it_unmaps(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    steps.settled_profile(s, steps.mouse_database(s))
    main = e2e.windows(s, steps.TITLE)
    if not e2e.windows(s, MESSAGE, visible=False):
        raise e2e.Skipped(f"the program creates no \"{MESSAGE}\" window: the DPI message is not in the window yet")
    e2e.check(e2e.windows(s, MESSAGE) == [], "the message is not shown before the button is pressed")

    steps.press_dpi_button(s)
    e2e.wait_until(lambda: e2e.windows(s, MESSAGE), "the DPI message to map", timeout=5)
    shown = e2e.windows(s, MESSAGE)[0]
    e2e.screenshot(s, "dpi-message")
    geometry = e2e.geometry(s, shown)
    expected = (s.width - WIDTH - MARGIN, s.height - HEIGHT - MARGIN, WIDTH, HEIGHT)
    e2e.check(geometry == expected, f"the message sits at {geometry}, not {expected}")
    e2e.check(e2e.windows(s, steps.TITLE) == main, "the main window stays mapped")

    # A second press while it shows keeps the one message up.
    steps.press_dpi_button(s)
    e2e.check(len(e2e.windows(s, MESSAGE)) == 1, "one message")
    started = time.monotonic()
    e2e.wait_until(lambda: not e2e.windows(s, MESSAGE), "the DPI message to unmap", timeout=10)
    e2e.check(time.monotonic() - started > 0.5, "the message stays up a moment after the last press")


if __name__ == "__main__":
    e2e.main(globals())
