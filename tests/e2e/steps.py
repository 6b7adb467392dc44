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


def mice_slots(s):
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
        mice = mice_slots(s)
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



# --- The DPI, performance and lighting pages, profiles and the language -------------

# The mouse the home page shows first (and pick_mouse picks): the catalog's
# first model, device type 1, whose sensor carries stages up to 10000 DPI as
# DPI / 50.
PICKED_MOUSE = 1


def simulated_mice(s):
    """What the simulated mice hold, from their state file in the data
    folder: {device type: {setting: [numbers]}}; {} before the first change
    (fresh mice write no file)."""
    import os
    path = os.path.join(s.data_folder(), "simulated-mice.txt")
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except OSError:
        return {}
    mice, current = {}, None
    for line in lines[1:]:
        words = line.split()
        if not words:
            continue
        if words[0] == "mouse":
            current = mice.setdefault(int(words[1]), {})
        elif words[0] == "end":
            current = None
        elif current is not None:
            current[words[0]] = [int(w) for w in words[1:]]
    return mice


def mouse_setting(s, name, device_type=PICKED_MOUSE):
    """One setting of a simulated mouse ([numbers]), or None."""
    return simulated_mice(s).get(device_type, {}).get(name)


# DPIControl's card geometry: card i starts 130 px after card i - 1; its value
# (where a click opens the value editor) spans x + 26 .. x + 91, y 51 .. 71.
DPI_CARD_PITCH, DPI_VALUE_CENTRE = 130, (58, 61)


def type_dpi_stage(s, stage, value):
    """On the DPI page: clicks the stage's value, which selects the stage and
    opens its editor with the value selected, types the new value (an empty
    one empties the field) and confirms with Return. Returns the tree once the stage is selected."""
    tree = e2e.inspect(s)
    cards = tree.find(cls="DPIControl", shown=True)
    e2e.click_at(s, cards.x + DPI_CARD_PITCH * stage + DPI_VALUE_CENTRE[0], cards.y + DPI_VALUE_CENTRE[1])
    e2e.wait_for_tree(s, lambda t: t.find(cls="DPIControl", shown=True).selected() == stage,
                      f"DPI stage {stage} to be selected")
    if str(value):
        e2e.type_text(s, str(value))
    else:
        e2e.key(s, "BackSpace")  # empties the field: the text is selected
    e2e.key(s, "Return")
    return e2e.inspect(s)


# ReporteCtrl's cards, at scale 1: card i spans x = 10 + 120 i .. 110 + 120 i.
RATE_CARD_LEFT, RATE_CARD_PITCH, RATE_CARD_WIDTH = 10, 120, 100


RATE_TITLES = ["125Hz", "250Hz", "500Hz", "1000Hz", "2000Hz", "4000Hz", "8000Hz"]


def pick_report_rate(s, title):
    """On the performance page: clicks the report-rate card with that title;
    returns the tree once it is selected."""
    index = RATE_TITLES.index(title)
    tree = e2e.inspect(s)
    rates = tree.find(cls="ReporteCtrl", shown=True)
    e2e.click_at(s, rates.x + RATE_CARD_LEFT + RATE_CARD_PITCH * index + RATE_CARD_WIDTH // 2, rates.y + rates.h // 2)
    return e2e.wait_for_tree(s, lambda t: t.find(cls="ReporteCtrl", shown=True).selected() == index,
                             f"the {title} card to be selected")


# A combo box's drop-down is a window of its own, titled "ComboWnd": rows of
# 30 px below 6 px of padding.
COMBO_WINDOW, COMBO_PADDING, COMBO_ROW = "ComboWnd", 6, 30


def pick_combo_item(s, combo, index):
    """Clicks a combo box (a Control of the tree) to open its drop-down, then
    the row index; waits until the drop-down has gone."""
    e2e.click(s, combo)
    e2e.wait_until(lambda: e2e.windows(s, COMBO_WINDOW), "the drop-down to open")
    x, y, w, _ = e2e.geometry(s, e2e.windows(s, COMBO_WINDOW)[0])
    e2e.click_at(s, x + w // 2, y + COMBO_PADDING + COMBO_ROW * index + COMBO_ROW // 2)
    e2e.wait_until(lambda: not e2e.windows(s, COMBO_WINDOW), "the drop-down to close")


PROFILE_BUTTON = 45


# The profile dialog ("ProfileDlg"): its list starts 10 px inside, rows 36 px.
PROFILE_WINDOW, PROFILE_LIST_TOP, PROFILE_ROW = "ProfileDlg", 10, 36


def switch_profile(s, row):
    """Opens the profile dialog with the profile button and clicks the
    profile on that row of its list; waits until the dialog has closed."""
    tree = e2e.inspect(s)
    e2e.click(s, tree.find(id=PROFILE_BUTTON, shown=True))
    e2e.wait_until(lambda: e2e.windows(s, PROFILE_WINDOW), "the profile dialog to open")
    x, y, w, _ = e2e.geometry(s, e2e.windows(s, PROFILE_WINDOW)[0])
    e2e.click_at(s, x + w // 2, y + PROFILE_LIST_TOP + PROFILE_ROW * row + PROFILE_ROW // 2)
    e2e.wait_until(lambda: not e2e.windows(s, PROFILE_WINDOW), "the profile dialog to close")
    return e2e.inspect(s)


def current_profile(s, db):
    """The profile the model's database marks as the current one."""
    rows = e2e.query(s, db, "SELECT profile FROM t_profile_data WHERE status = 1")
    return rows[0][0] if len(rows) == 1 else None


SETTINGS_BUTTON, SETTINGS_PAGE = 40, 56


def open_settings(s):
    """Clicks the caption's settings button; the settings page shows."""
    tree = e2e.inspect(s)
    e2e.click(s, tree.find(id=SETTINGS_BUTTON, path=str(SETTINGS_BUTTON)))
    return e2e.wait_for_tree(s, lambda t: t.find(path=str(SETTINGS_PAGE)).shown, "the settings page to show")


def user_value(s, name):
    """A per-user value of the program ($XDG_CONFIG_HOME/<name>/values)."""
    import glob
    import os
    for path in glob.glob(os.path.join(s.tmp, "config", "*", "values")):
        with open(path, encoding="utf-8") as f:
            for line in f.read().splitlines():
                if line.startswith(name + "="):
                    return line[len(name) + 1:]
    return None
