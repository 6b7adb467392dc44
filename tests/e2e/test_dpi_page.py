#!/usr/bin/env python3
"""The DPI page and the performance page change what the profile keeps and
what the simulated mouse holds."""

import orvane_e2e as e2e
import steps

DPI_TAB, PERFORMANCE_TAB = 3, 7


def test_a_typed_stage_value_goes_into_the_profile_and_the_mouse(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    profile = steps.settled_profile(s, db)
    stage = 3
    before = int(profile[f"dpi_group{stage}_value"])
    # A value on the sensor's 50 DPI grid, below its 10000 DPI step, that no
    # stage holds yet: the page keeps it as typed.
    wanted = 3150
    e2e.check(before != wanted, f"stage {stage} holds {wanted} already")
    steps.open_tab(s, DPI_TAB)
    steps.type_dpi_stage(s, stage, wanted)
    e2e.wait_until(lambda: e2e.config_value(s, db, 1, f"dpi_group{stage}_value") == str(wanted),
                   f"dpi_group{stage}_value = {wanted} in the profile")
    e2e.check(e2e.config_value(s, db, 1, "dpi_index") == str(stage), "the edited stage is the current one")

    def mouse_has_it():
        raw = steps.mouse_setting(s, "dpi_raw")
        return raw is not None and raw[stage] * 50 == wanted and steps.mouse_setting(s, "dpi_index") == [stage]

    e2e.wait_until(mouse_has_it, f"the mouse to hold {wanted} DPI at stage {stage}, and use it")
    raw = steps.mouse_setting(s, "dpi_raw")
    for other in range(6):
        value = int(profile[f"dpi_group{other}_value"])
        if other != stage and value <= 10000:
            e2e.check(raw[other] * 50 == value, f"stage {other} of the mouse changed: {raw}")
    e2e.screenshot(s, "dpi-page")


def test_an_emptied_stage_value_keeps_the_stage(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    profile = steps.settled_profile(s, db)
    steps.open_tab(s, DPI_TAB)
    steps.type_dpi_stage(s, 2, "")
    e2e.wait_until(lambda: e2e.config_value(s, db, 1, "dpi_index") == "2", "stage 2 to be the current one")
    after = steps.settled_profile(s, db)
    e2e.check(after["dpi_group2_value"] == profile["dpi_group2_value"],
              f"stage 2 became {after['dpi_group2_value']}, was {profile['dpi_group2_value']}")


def test_the_1000hz_card_sets_both_report_rates_and_the_mouse(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    profile = steps.settled_profile(s, db)
    thousand = 1  # the code the mouse and the profile keep for 1000 Hz
    e2e.check(profile["report_rate"] != str(thousand), "the mouse starts at 1000 Hz already")
    steps.open_tab(s, PERFORMANCE_TAB)
    steps.pick_report_rate(s, "1000Hz")
    for name in ("report_rate", "report_rate_wireless"):
        e2e.wait_until(lambda: e2e.config_value(s, db, 1, name) == str(thousand), f"{name} = {thousand}")
    e2e.wait_until(lambda: steps.mouse_setting(s, "report_rate") == [thousand], "the mouse to report at 1000 Hz")
    e2e.screenshot(s, "performance-page")


if __name__ == "__main__":
    e2e.main(globals())
