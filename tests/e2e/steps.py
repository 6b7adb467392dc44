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


# --- The key page and the macro page ------------------------------------------------

KEY_PAGE, MACRO_PAGE = 50, 53
KEY_LIST, KEY_NAME = "50/68", "50/70"
KEY_ROW_PITCH, KEY_ROW_HEIGHT = 40, 30  # MouseKeyCtrl's rows and the gap between them
MOUSE_BOX, MACRO_BOX, DPI_BOX = "50/73", "50/77", "50/81"
DROP_DOWN, DROP_ROW, DROP_PAD = "ComboWnd", 30, 6  # a combo's list window, its rows, its top padding
MICE_FILE = "simulated-mice.txt"


def select_key_row(s, row, tree=None):
    """Clicks a row of the key page's button list; the function column then
    names that button. Returns the tree and the button's name."""
    tree = tree or e2e.inspect(s)
    rows = tree.find(path=KEY_LIST)
    e2e.click_at(s, rows.x + rows.w // 2, rows.y + row * KEY_ROW_PITCH + KEY_ROW_HEIGHT // 2)
    tree = e2e.wait_for_tree(s, lambda t: t.find(path=KEY_LIST).selected() == row, f"button row {row} selected")
    return tree, tree.find(path=KEY_NAME).text


def pick_from_combo(s, combo_path, index, tree=None):
    """Opens a combo box's list (its own top-level window) and clicks the
    item at index; the list closes and the combo shows the item."""
    tree = tree or e2e.inspect(s)
    e2e.click(s, tree.find(path=combo_path))
    found = {}

    def opened():
        ids = e2e.windows(s, DROP_DOWN)
        if ids:
            found["geometry"] = e2e.geometry(s, ids[0])
        return bool(ids)

    e2e.wait_until(opened, f"the list of {combo_path} to open")
    x, y, w, h = found["geometry"]
    row_y = y + DROP_PAD + index * DROP_ROW + DROP_ROW // 2
    e2e.check(row_y < y + h, f"item {index} lies outside the list {found['geometry']}")
    e2e.click_at(s, x + w // 2, row_y)
    e2e.wait_until(lambda: not e2e.windows(s, DROP_DOWN), f"the list of {combo_path} to close")
    return e2e.inspect(s)


def key_record(s, db, key_code=None, profile=1):
    """The stored key records of a profile as dicts (one button's, or all)."""
    sql = ("SELECT key_code, macro_type, macro_value, macro_value2, macro_desc FROM t_key_macro_data"
           " WHERE profile = ? AND fn_layer = 0")
    rows = [dict(zip(("key_code", "macro_type", "macro_value", "macro_value2", "macro_desc"), r))
            for r in e2e.query(s, db, sql, (profile,))]
    return [r for r in rows if key_code is None or r["key_code"] == key_code]


def simulated_mice(s):
    """What the simulated mice hold, from the demo's state file:
    {device type: {"key_slots": [(b0, b1, b2) per slot], "macros": {key code:
    [(code, delay, data)...]}, other key: [ints]}}; {} while there is no file."""
    import os
    path = os.path.join(s.data_folder(), MICE_FILE)
    if not os.path.exists(path):
        return {}
    mice, mouse = {}, None
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for line in lines[1:]:
        words = line.split()
        if not words:
            continue
        if words[0] == "mouse":
            mouse = mice.setdefault(int(words[1]), {"macros": {}})
        elif words[0] == "end":
            mouse = None
        elif mouse is None:
            raise e2e.E2EFailure(f"{MICE_FILE}: {line!r} outside a mouse block")
        elif words[0] == "key_slots":
            b = [int(v) for v in words[1:]]
            mouse["key_slots"] = [tuple(b[i:i + 3]) for i in range(0, len(b), 3)]
        elif words[0] == "macro":
            n = int(words[2])
            v = [int(x) for x in words[3:]]
            e2e.check(len(v) == 3 * n, f"{MICE_FILE}: macro line {line!r} states {n} events")
            mouse["macros"][int(words[1])] = [tuple(v[i:i + 3]) for i in range(0, len(v), 3)]
        else:
            mouse[words[0]] = [int(x) for x in words[1:]]
    return mice


def mouse_holding(s, condition, what, timeout=10):
    """Waits until exactly one simulated mouse's state satisfies condition;
    returns (its device type, its state, the others' states)."""
    found = {}

    def one():
        mice = simulated_mice(s)
        holding = [t for t, m in mice.items() if condition(m)]
        if len(holding) == 1:
            found["mouse"] = (holding[0], mice[holding[0]], [m for t, m in mice.items() if t != holding[0]])
        return len(holding) == 1

    e2e.wait_until(one, what, timeout)
    return found["mouse"]


MACRO_LIST, NEW_MACRO, RECORD, EVENT_LIST = "53/156", "53/157", "53/172", "53/166"


def new_macro(s, tree=None):
    """Clicks "New" on the macro page; the new macro is selected. Returns
    the tree and the macro's row."""
    tree = tree or e2e.inspect(s)
    before = tree.find(path=MACRO_LIST).selected()
    e2e.click(s, tree.find(path=NEW_MACRO))
    tree = e2e.wait_for_tree(s, lambda t: t.find(path=MACRO_LIST).selected() not in (None, -1, before),
                             "the new macro to be selected")
    return tree, tree.find(path=MACRO_LIST).selected()


def record_keys(s, keys, tree=None):
    """Starts the recorder, presses the keys (X keysym names) one after the
    other, and stops it again with the same button. The keys go to the
    window under the pointer (no window manager: the focus follows it),
    which the record button keeps inside the window."""
    tree = tree or e2e.inspect(s)
    button = tree.find(path=RECORD)
    idle = button.text
    e2e.click(s, button)
    e2e.wait_for_tree(s, lambda t: t.find(path=RECORD).text != idle, "the recorder to start")
    for name in keys:
        e2e.xdotool(s, "key", name)
    e2e.click(s, button)
    return e2e.wait_for_tree(s, lambda t: t.find(path=RECORD).text == idle, "the recorder to stop")


def macro_events(s, db, macro_id):
    """A macro's stored events in order: (type, value, delay_time, desc)."""
    return e2e.query(s, db, "SELECT type, value, delay_time, desc FROM t_macrorecord WHERE macro_id = ?"
                     " ORDER BY record_index", (macro_id,))


def macros(s, db):
    return e2e.query(s, db, "SELECT macro_id, name, play_type, play_times FROM t_macro_data ORDER BY macro_id")



def profile_file_keys(path):
    """The key items of an exported profile file: {key code: (type, value, desc)}."""
    import xml.etree.ElementTree as ET
    root = ET.parse(path).getroot()
    e2e.check(root.tag == "profile", f"{path}: the root is <{root.tag}>")
    return {int(i.get("key_code")): (int(i.get("macro_type")), int(i.get("macro_value")), i.get("macro_desc"))
            for items in root.iter("keyitems") for i in items.findall("item")}
