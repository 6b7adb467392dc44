#!/usr/bin/env python3
"""The home page's arrows step through the mice; picking the mouse opens the
tabs; each tab shows its page."""

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


def test_arrows_step_through_the_simulated_mice_each_its_own_way_round(s):
    steps.start_demo(s)
    home = steps.home_with_mouse(s)
    first = home.find(path=steps.DEVICE_LIST).selected()
    # The demo lists one mouse per catalogue model (three); the arrows wrap.
    shown = [first]
    for _ in range(3):
        shown.append(steps.step_mouse(s, steps.NEXT))
    e2e.check(shown[-1] == first and len(set(shown[:-1])) == 3, f"next showed {shown}")
    back = [first]
    for _ in range(3):
        back.append(steps.step_mouse(s, steps.PREVIOUS))
    e2e.check(back == [shown[0]] + list(reversed(shown[1:-1])) + [first],
              f"previous showed {back}, next {shown}: previous walks the other way")


if __name__ == "__main__":
    e2e.main(globals())
