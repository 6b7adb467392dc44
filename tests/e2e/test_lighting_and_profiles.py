#!/usr/bin/env python3
"""The lighting page's effect list, the profile dialog and the settings
page's language list, driven as a user does, checked in the databases, the
simulated mouse and the control tree."""

import orvane_e2e as e2e
import steps

LIGHT_TAB = 5
DPI_TAB = 3
LANGUAGE_COMBO = "56/279"
SIMPLIFIED_CHINESE = 2052  # the language list's first row


def light_modes(s, db, profile=1):
    """The profile's light effects in the order the effect list shows them,
    and the mode the profile marks as current."""
    rows = e2e.query(s, db, "SELECT mode, status FROM t_light_data WHERE profile = ? ORDER BY light_id", (profile,))
    return [mode for mode, _ in rows], [mode for mode, status in rows if status == 1]


def test_an_effect_picked_in_the_list_becomes_the_profiles_and_the_mouses_light_mode(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    steps.settled_profile(s, db)
    modes, current = light_modes(s, db)
    row = 2
    e2e.check(len(modes) > row and current != [modes[row]], f"effects {modes}, current {current}")
    wanted = modes[row]
    tree = steps.open_tab(s, LIGHT_TAB)
    combo = tree.find(cls="MComboBox", shown=True)
    before = combo.text
    steps.pick_combo_item(s, combo, row)
    tree = e2e.wait_for_tree(s, lambda t: t.find(path=combo.path).selected() == row, f"row {row} to be chosen")
    e2e.check(tree.find(path=combo.path).text != before, "the list still shows the effect it showed")
    e2e.wait_until(lambda: light_modes(s, db)[1] == [wanted], f"mode {wanted} to be the profile's only current one")
    e2e.wait_until(lambda: (steps.mouse_setting(s, "light") or [None])[0] == wanted,
                   f"the mouse to light in mode {wanted}")
    e2e.screenshot(s, "lighting-page")


def test_the_profile_dialog_switches_the_current_profile(s):
    steps.start_demo(s)
    steps.pick_mouse(s)
    db = steps.mouse_database(s)
    steps.settled_profile(s, db)
    e2e.check(steps.current_profile(s, db) == 1, "profile 1 is not the current one at the start")
    before = e2e.inspect(s).find(id=steps.PROFILE_BUTTON).text
    steps.switch_profile(s, 1)
    e2e.wait_until(lambda: steps.current_profile(s, db) == 2, "profile 2 to be the current one")
    names = dict(e2e.query(s, db, "SELECT profile, name FROM t_profile_data"))
    tree = e2e.wait_for_tree(s, lambda t: t.find(id=steps.PROFILE_BUTTON).text == names[2],
                             f"the profile button to show \"{names[2]}\"")
    e2e.check(tree.find(id=steps.PROFILE_BUTTON).text != before, "the button shows the profile it showed")
    # And back: the dialog lists the profiles in their order.
    steps.switch_profile(s, 0)
    e2e.wait_until(lambda: steps.current_profile(s, db) == 1, "profile 1 to be the current one again")
    e2e.screenshot(s, "profile-switched")


def test_the_language_list_changes_the_windows_texts_and_the_stored_language(s):
    steps.start_demo(s)
    tree = steps.pick_mouse(s)
    dpi_captions = lambda t: [c.text for c in t.find_all(path=str(steps.TAB_PAGES[DPI_TAB]) + "/111")]
    dpi_caption = dpi_captions(tree)
    e2e.check(dpi_caption and dpi_caption[0], f"the DPI page has no caption: {dpi_caption}")
    tree = steps.open_settings(s)
    combo = tree.find(path=LANGUAGE_COMBO)
    e2e.check(combo.text == "English", f"the language list shows {combo.text!r}")
    steps.pick_combo_item(s, combo, 0)
    tree = e2e.wait_for_tree(s, lambda t: t.find(path=LANGUAGE_COMBO).selected() == 0, "the first language")
    e2e.wait_until(lambda: steps.user_value(s, "LCID") == str(SIMPLIFIED_CHINESE), "the language to be stored")
    tree = e2e.wait_for_tree(s, lambda t: dpi_captions(t) != dpi_caption, "the DPI page's caption to change")
    caption = dpi_captions(tree)[0]
    e2e.check(any("\u4e00" <= ch <= "\u9fff" for ch in caption), f"the caption is not Chinese: {caption!r}")
    e2e.check(tree.find(path=LANGUAGE_COMBO).text == "简体中文", "the list shows another language")
    # The default profile name is re-formed in the new language.
    button = tree.find(id=steps.PROFILE_BUTTON).text
    e2e.check(button.endswith(" 1") and any("\u4e00" <= ch <= "\u9fff" for ch in button),
              f"the profile button shows {button!r}")
    e2e.screenshot(s, "settings-chinese")


if __name__ == "__main__":
    e2e.main(globals())
