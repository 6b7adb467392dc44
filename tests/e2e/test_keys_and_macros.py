#!/usr/bin/env python3
"""The key page gives a button another function and the mouse takes it; the
macro page records keys pressed on the keyboard, and the recorded macro,
put on a button, reaches the mouse as its slot entry and its event stream."""

import orvane_e2e as e2e
import steps

FN_DPI, FN_MACRO = 5, 4          # key record types
DPI_UP = 1                       # the DPI selector's "DPI +"
DPI_UP_SLOT = (0x50, 0x02, 0x00)  # its entry in the mouse's key slot table


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


if __name__ == "__main__":
    e2e.main(globals())
