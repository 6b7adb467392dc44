#!/usr/bin/env python3
"""The program's window on a real X server: the demo maps it, a second start
brings up a first one started hidden, and the public quit message ends it."""

import orvane_e2e as e2e
import steps


def test_demo_maps_its_window_where_the_control_tree_says(s):
    tree = steps.start_demo(s)
    wins = e2e.windows(s, steps.TITLE)
    e2e.check(len(wins) == 1, f"one window \"{steps.TITLE}\", found {wins}")
    e2e.check(tree.title == steps.TITLE and tree.window["visible"] == "1", f"window line {tree.window}")
    x, y, w, h = e2e.geometry(s, wins[0])
    e2e.check((w, h) == (int(tree.window["w"]), int(tree.window["h"])) == (1300, 788),
              f"X says {w}x{h}, the tree {tree.window['w']}x{tree.window['h']}")
    e2e.check((x, y) == (int(tree.window["x"]), int(tree.window["y"])), f"X says {x},{y}, the tree {tree.window}")
    # Without a window manager the window is placed by the program itself:
    # in the middle of the screen.
    e2e.check(abs(x + w // 2 - s.width // 2) <= 1 and abs(y + h // 2 - s.height // 2) <= 1,
              f"window at {x},{y} is not centred on {s.width}x{s.height}")
    # The simulated mice are found a moment later: the list shows, the
    # "no mouse" notice does not.
    home = steps.home_with_mouse(s)
    e2e.check(not any(c.shown for c in home.find_all(path="49/59")), "the \"no mouse\" notice is hidden")
    e2e.screenshot(s, "home")


def test_second_start_brings_up_the_hidden_first_one(s):
    first = s.start("--simulate", "-hide")
    tree = e2e.wait_for_tree(s, what="the hidden instance to answer --inspect")
    e2e.check(tree.window["visible"] == "0", f"started hidden, the tree says {tree.window}")
    e2e.check(e2e.windows(s, steps.TITLE) == [], "no window is mapped before the second start")

    second = s.run("--simulate")
    e2e.check(second.returncode == 0, f"the second start ends with 0, not {second.returncode}: {second.stderr}")
    e2e.wait_until(lambda: e2e.windows(s, steps.TITLE), "the first instance's window to map")
    e2e.check(first.poll() is None, "the first instance keeps running")
    e2e.wait_for_tree(s, lambda t: t.window["visible"] == "1", "the tree to report the window visible")
    e2e.check(len(e2e.windows(s, steps.TITLE)) == 1, "still exactly one window")
    e2e.screenshot(s, "shown-by-second-start")


def test_posted_quit_message_ends_the_program_and_its_window(s):
    steps.start_demo(s)
    first = s.procs[0]
    # Any other lParam is ignored: the program keeps running. The control
    # tree is put together on the window thread after the posted message,
    # so an answer means the message has been handled.
    ignored = s.run("--post", "1691", "0", "1")
    e2e.check(ignored.returncode == 0, f"--post ends with 0: {ignored.stderr}")
    e2e.wait_for_tree(s, what="the program, still answering after the ignored request")
    e2e.check(first.poll() is None, "1691 without 610 does not quit")

    quit_ = s.run("--post", "1691", "0", "610")
    e2e.check(quit_.returncode == 0, f"--post ends with 0: {quit_.stderr}")
    e2e.wait_until(lambda: first.poll() is not None, "the program to end")
    e2e.check(first.returncode == 0, f"the program ends with 0, not {first.returncode}")
    e2e.check(e2e.windows(s, steps.TITLE, visible=False) == [], "its window is gone")
    e2e.check(s.run("--inspect").returncode == 1, "no instance answers any more")


if __name__ == "__main__":
    e2e.main(globals())
