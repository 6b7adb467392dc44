#!/usr/bin/env python3
"""The mouse's own DPI button (the demo's SIGUSR1) selects the next stage:
the program takes the mouse's report and keeps the stage in the profile."""

import orvane_e2e as e2e
import steps


def test_each_press_of_the_dpi_button_selects_the_next_stage_in_the_profile(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    profile = steps.settled_profile(s, db)
    count, stage = int(profile["dpi_count"]), int(profile["dpi_index"])
    e2e.check(count > 1, f"the mouse has {count} stages")
    # Up to the last stage. The wrap to stage 0 is not checked here yet: the
    # window compares the report with the stage its DPI page shows, and
    # without that page it takes every page to show stage 0.
    while stage + 1 < count:
        stage += 1
        steps.press_dpi_button(s)
        e2e.wait_until(lambda: e2e.config_value(s, db, 1, "dpi_index") == str(stage), f"stage {stage} stored")
    e2e.check(int(e2e.config_value(s, db, 1, "dpi_count")) == count, "the number of stages stays")


def test_the_press_after_the_last_stage_wraps_to_stage_0_and_the_dpi_page_shows_it(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    profile = steps.settled_profile(s, db)
    count, stage = int(profile["dpi_count"]), int(profile["dpi_index"])
    # The DPI page is built and showing: the window compares each report
    # with the stage this page shows.
    steps.open_tab(s, 3)
    for _ in range(count - stage):
        stage = (stage + 1) % count
        steps.press_dpi_button(s)
        e2e.wait_until(lambda: e2e.config_value(s, db, 1, "dpi_index") == str(stage), f"stage {stage} stored")
    e2e.check(stage == 0, f"the presses ended at stage {stage}")
    e2e.wait_for_tree(s, lambda t: t.find(cls="DPIControl", shown=True).selected() == 0,
                      "the DPI page to select stage 0")


if __name__ == "__main__":
    e2e.main(globals())
