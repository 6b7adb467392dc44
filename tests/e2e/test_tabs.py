#!/usr/bin/env python3
"""Picking the mouse on the home page opens the tabs; each tab shows its page."""

import orvane_e2e as e2e
import steps


def test_picking_the_mouse_opens_the_tabs_and_each_tab_its_page(s):
    home = steps.start_demo(s)
    e2e.check(home.find_all(cls="MTabCtrl", shown=True) == [], "no tabs before a mouse is picked")
    tree = steps.pick_mouse(s)
    strip = tree.find(cls="MTabCtrl", shown=True)
    e2e.check(sorted(strip.tabs()) == sorted(steps.TAB_PAGES), f"the tabs are {sorted(strip.tabs())}")
    e2e.check(not tree.find(path="49").shown, "the home page gives way to the first tab's page")
    e2e.screenshot(s, "picked")
    # Every tab once, home last: the tab strip's selection follows the click.
    for tab in [2, 3, 4, 5, 7, 1]:
        tree = steps.open_tab(s, tab, tree)
        e2e.check(tree.find(cls="MTabCtrl").selected() == list(steps.TAB_PAGES).index(tab),
                  f"tab {tab} selected: {tree.find(cls='MTabCtrl').state}")
    e2e.check(tree.find(path=steps.DEVICE_LIST).shown, "back home, the mouse is listed again")


if __name__ == "__main__":
    e2e.main(globals())
