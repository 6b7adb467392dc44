#!/usr/bin/env python3
"""The key page gives a button another function and the mouse takes it; the
macro page records keys pressed on the keyboard, and the recorded macro,
put on a button, reaches the mouse as its slot entry and its event stream."""

import orvane_e2e as e2e
import steps

FN_DPI, FN_MACRO = 5, 4          # key record types
DPI_UP = 1                       # the DPI selector's "DPI +"
DPI_UP_SLOT = (0x50, 0x02, 0x00)  # its entry in the mouse's key slot table
FN_MOUSE_BUTTON = 1


def new_records(s, db, before):
    known = {(r["key_code"], r["macro_type"], r["macro_value"]) for r in before}
    return [r for r in steps.key_record(s, db) if (r["key_code"], r["macro_type"], r["macro_value"]) not in known]


def test_dpi_up_on_a_button_is_stored_and_reaches_the_mouse(s):
    steps.start_demo(s)
    tree = steps.pick_mouse(s)
    db = steps.mouse_database(s)
    steps.settled_profile(s, db)
    tree = steps.open_tab(s, 2, tree)
    before = steps.key_record(s, db)
    # The fourth row: not the button the page comes up with, nor the left
    # button (which keeps its click).
    tree, name = steps.select_key_row(s, 3, tree)
    e2e.check(name != "" and name != tree.find(path=steps.KEY_LIST).text, f"the function column names {name!r}")
    tree = steps.pick_from_combo(s, steps.DPI_BOX, DPI_UP, tree)
    e2e.check(tree.find(path=steps.DPI_BOX).text == "DPI +", f"the DPI selector shows {tree.find(path=steps.DPI_BOX)}")
    e2e.check(tree.find(path=steps.DPI_BOX).state == "checked" and tree.find(path=steps.MOUSE_BOX).state == "unchecked",
              "the DPI selector is the marked one")
    e2e.screenshot(s, "keys")

    e2e.wait_until(lambda: new_records(s, db, before), "the button's new key record")
    added = new_records(s, db, before)
    e2e.check(len(added) == 1, f"one record added: {added}")
    record = added[0]
    e2e.check((record["macro_type"], record["macro_value"], record["macro_desc"]) == (FN_DPI, DPI_UP, "DPI +"),
              f"the record holds DPI +: {record}")
    code = record["key_code"]
    e2e.check(code not in (0, 1), f"the fourth row's button is not the left or right button: {code}")
    _, mouse, others = steps.mouse_holding(s, lambda m: m["key_slots"][code] == DPI_UP_SLOT,
                                           f"one mouse to hold DPI + in slot {code}")
    # Only the chosen button of the picked mouse changed.
    e2e.check(len(others) == 2, f"the demo's other two mice are in the file: {len(others)}")
    e2e.check(all(mouse["key_slots"][k] == others[0]["key_slots"][k] for k in range(len(mouse["key_slots"]))
                  if k != code), "the picked mouse's other slots are unchanged")


# Macro rows (t_macrorecord.type) and what the mouse's stream makes of them.
DELAY, KEY_DOWN, KEY_UP = 1, 2, 3
WIRE_KEY_DOWN, WIRE_KEY_UP = 0x30, 0xB0
KEYS = [("a", ord("A"), 0x04), ("b", ord("B"), 0x05), ("c", ord("C"), 0x06)]  # keysym, virtual key, usage
MACRO_SLOT, PLAY_TIMES_MODE = 0xA0, 0x20  # a macro's slot entry: A0, key code | mode, count


def expected_stream(events):
    """The mouse's macro events for stored rows: each key row becomes one
    event whose delay is the sum of the delay rows after it (1 ms when none)."""
    wire = []
    for kind, value, _, _ in events:
        if kind == DELAY:
            e2e.check(wire != [], "a delay before the first key")
            code, delay, data = wire[-1]
            wire[-1] = (code, value if delay is None else min(delay + value, 65535), data)
        else:
            usage = {vk: usage for _, vk, usage in KEYS}[value]
            wire.append((WIRE_KEY_DOWN if kind == KEY_DOWN else WIRE_KEY_UP, None, usage))
    return [(code, 1 if delay is None else delay, data) for code, delay, data in wire]


def test_three_recorded_keys_become_a_macro_the_mouse_plays_from_a_button(s):
    steps.start_demo(s)
    tree = steps.pick_mouse(s)
    db = steps.mouse_database(s)
    steps.settled_profile(s, db)
    tree = steps.open_tab(s, 4, tree)
    tree, _ = steps.new_macro(s, tree)
    made = steps.macros(s, db)
    e2e.check(len(made) == 1, f"one macro after New: {made}")
    macro_id = made[0][0]
    tree = steps.record_keys(s, [k for k, _, _ in KEYS], tree)
    e2e.screenshot(s, "macros")

    e2e.wait_until(lambda: steps.macro_events(s, db, macro_id), "the recorded events in the database")
    events = steps.macro_events(s, db, macro_id)
    keys = [(kind, value) for kind, value, _, _ in events if kind != DELAY]
    e2e.check(keys == [(edge, vk) for _, vk, _ in KEYS for edge in (KEY_DOWN, KEY_UP)],
              f"each key pressed and released in order: {events}")
    e2e.check(all(value > 0 for kind, value, _, _ in events if kind == DELAY), f"delays are positive: {events}")
    e2e.check([desc[-1] for kind, _, _, desc in events if kind != DELAY] == ["A", "A", "B", "B", "C", "C"],
              f"the rows name the keys: {events}")

    tree = steps.open_tab(s, 2, tree)
    tree, name = steps.select_key_row(s, 4, tree)
    macro_box = tree.find(path=steps.MACRO_BOX)
    e2e.check(macro_box.text == made[0][1], f"the macro selector offers {made[0][1]!r}: {macro_box}")
    before = steps.key_record(s, db)
    tree = steps.pick_from_combo(s, steps.MACRO_BOX, 0, tree)
    e2e.wait_until(lambda: new_records(s, db, before), "the button's macro record")
    added = new_records(s, db, before)
    e2e.check(len(added) == 1 and (added[0]["macro_type"], added[0]["macro_value"]) == (FN_MACRO, macro_id),
              f"the button plays the macro: {added}")
    code = added[0]["key_code"]
    e2e.check(code not in (0, 1), f"the fifth row's button is not the left or right button: {code}")
    slot = (MACRO_SLOT, code | PLAY_TIMES_MODE, 1)  # played once, as a new macro is
    _, mouse, others = steps.mouse_holding(
        s, lambda m: m["key_slots"][code] == slot and code in m["macros"], f"one mouse to hold the macro on {code}")
    e2e.check(mouse["macros"][code] == expected_stream(events),
              f"the mouse's stream {mouse['macros'][code]} for the rows {events}")
    e2e.check(all(not m["macros"] for m in others), "the other mice hold no macro")
    e2e.screenshot(s, "keys")


def test_an_exported_profile_imported_again_gives_the_button_back_its_function(s):
    import os
    steps.start_demo(s)
    tree = steps.pick_mouse(s)
    db = steps.mouse_database(s)
    steps.settled_profile(s, db)
    tree = steps.open_tab(s, 2, tree)
    before = steps.key_record(s, db)
    tree, _ = steps.select_key_row(s, 3, tree)
    tree = steps.pick_from_combo(s, steps.DPI_BOX, DPI_UP, tree)
    e2e.wait_until(lambda: new_records(s, db, before), "the button's new key record")
    code = new_records(s, db, before)[0]["key_code"]
    kind = steps.mouse_holding(s, lambda m: m["key_slots"][code] == DPI_UP_SLOT, f"DPI + in slot {code}")[0]

    def slot():
        return steps.mice_slots(s)[kind]["key_slots"][code]

    # The command line hands the export to the running window.
    path = os.path.join(s.tmp, "home", "exported profile.xml")
    done = s.run("--export-profile", path)
    e2e.check(done.returncode == 0, f"--export-profile ended with {done.returncode}: {done.stdout}{done.stderr}")
    e2e.check(os.path.exists(path), f"no file at {path}")
    e2e.check(steps.profile_file_keys(path).get(code) == (FN_DPI, DPI_UP, "DPI +"),
              f"the file holds DPI + for {code}: {steps.profile_file_keys(path)}")

    # The button gets another function; the import gives DPI + back. The
    # mouse-button selector stands above the saving notice, which covers
    # the DPI selector for two seconds.
    tree = steps.pick_from_combo(s, steps.MOUSE_BOX, 0)
    e2e.check(tree.find(path=steps.DPI_BOX).state == "unchecked", "the DPI selector is no longer the marked one")
    e2e.wait_until(lambda: [r["macro_type"] for r in steps.key_record(s, db, code)] == [FN_MOUSE_BUTTON],
                   "a mouse-button function stored for the button")
    e2e.wait_until(lambda: slot()[0] == 0x20, f"a mouse-button entry in slot {code}")
    done = s.run("--import-profile", path)
    e2e.check(done.returncode == 0, f"--import-profile ended with {done.returncode}: {done.stdout}{done.stderr}")
    e2e.wait_until(lambda: [(r["macro_type"], r["macro_value"]) for r in steps.key_record(s, db, code)]
                   == [(FN_DPI, DPI_UP)], "the imported DPI + in the store")
    e2e.wait_until(lambda: slot() == DPI_UP_SLOT, f"the import to write DPI + to slot {code}")
    # The page shows what the store holds: the button, selected again, has
    # the DPI selector marked with the imported function.
    tree, _ = steps.select_key_row(s, 3)
    box = tree.find(path=steps.DPI_BOX)
    e2e.check((box.state, box.text) == ("checked", "DPI +"), f"the page shows the import: {box}")
    e2e.screenshot(s, "imported")


if __name__ == "__main__":
    e2e.main(globals())
