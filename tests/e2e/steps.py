"""What a user does in the program, one function per step, for the scripts
to combine. Each step waits for its own effect and returns the control tree
it ends with, so the next step starts from what the screen shows."""

import orvane_e2e as e2e

TITLE = "Orvane (simulated)"
DEVICE_LIST = "49/57"
# Tab id -> the page container it shows.
TAB_PAGES = {1: 49, 2: 50, 3: 52, 4: 53, 5: 54, 7: 55}


def start_demo(s, *args):
    """Starts the program with the simulated mice and waits for its window
    (unless started hidden) and its control tree."""
    s.start("--simulate", *args)
    if "-hide" not in args:
        e2e.wait_until(lambda: e2e.windows(s, TITLE), f"the window \"{TITLE}\" to map")
    return e2e.wait_for_tree(s, what="the program to answer --inspect")


def home_with_mouse(s):
    """The home page once the simulated mouse is listed."""
    return e2e.wait_for_tree(
        s, lambda t: any(c.shown for c in t.find_all(path=DEVICE_LIST)), "the home page to list a mouse")


def pick_mouse(s):
    """Clicks the mouse on the home page; the tabs come up."""
    tree = home_with_mouse(s)
    e2e.click(s, tree.find(path=DEVICE_LIST))
    return e2e.wait_for_tree(s, lambda t: t.find_all(cls="MTabCtrl", shown=True) != [], "the tabs to show")


def open_tab(s, tab_id, tree=None):
    """Clicks a tab; its page shows and the others do not."""
    tree = tree or e2e.inspect(s)
    e2e.click_tab(s, tree, tab_id)
    page = str(TAB_PAGES[tab_id])

    def shown(t):
        pages = {p: t.find_all(path=str(p))[0].shown for p in TAB_PAGES.values() if t.find_all(path=str(p))}
        return pages.get(int(page)) and sum(pages.values()) == 1

    return e2e.wait_for_tree(s, shown, f"tab {tab_id} to show page {page}")


def mouse_database(s):
    """The settings database of the picked model (the one beside _data.db)."""
    e2e.wait_until(lambda: [d for d in e2e.databases(s) if d != "_data.db"], "the model's settings database")
    return [d for d in e2e.databases(s) if d != "_data.db"][0]


def press_dpi_button(s):
    """The demo's stand-in for the DPI button on the mouse: SIGUSR1 makes each
    simulated mouse step to its next stage and report it."""
    import signal
    s.procs[0].send_signal(signal.SIGUSR1)


def settled_profile(s, db, profile=1, quiet=1.0, timeout=15):
    """Waits until the program has stopped writing the profile's settings
    (the reading of the mouse after a pick ends a moment after the tabs
    show): the rows stay the same for `quiet` seconds. Returns them."""
    import time
    sql = "SELECT key, value FROM t_configdata WHERE profile = ? ORDER BY key"
    state = {"rows": None, "since": time.monotonic()}

    def quiet_now():
        rows = e2e.query(s, db, sql, (profile,))
        if rows != state["rows"]:
            state.update(rows=rows, since=time.monotonic())
        return bool(rows) and time.monotonic() - state["since"] >= quiet

    e2e.wait_until(quiet_now, f"profile {profile}'s settings to settle", timeout)
    return dict(state["rows"])


PREVIOUS, NEXT = "49/60", "49/61"


def step_mouse(s, arrow):
    """Clicks an arrow beside the home page's mouse; returns the index of the
    mouse shown once it has changed."""
    tree = e2e.inspect(s)
    before = tree.find(path=DEVICE_LIST).selected()
    e2e.click(s, tree.find(path=arrow))
    tree = e2e.wait_for_tree(s, lambda t: t.find(path=DEVICE_LIST).selected() != before, "another mouse to show")
    return tree.find(path=DEVICE_LIST).selected()
