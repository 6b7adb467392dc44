#pragma once
// The ids of every text the program shows, each with the role its text plays.
// This list is the one place that says which ids a language file must hold:
// the language-file test checks every file in data/language against it.
// Texts are looked up with shell::GetText.

#include <span>

namespace shell {

inline constexpr int kTextIds[] = {
    // Application and main window
    1,  // main window title
    2,  // footer line and link to the web site; About window line; settings page line above the links
    3,  // settings page link to the web site
    5,  // tooltip of a window's close button
    6,  // tooltip of the minimize button
    7,  // tooltip of the maximize button
    11,  // tooltip of the settings button; caption of the buttons that open the key-combination and repeat panels
    12,  // tray menu item that quits the program
    15,  // device list caption of a mouse's firmware version
    16,  // About window caption of the firmware version, "%s: v%s.%s"
    17,  // caption of the software version, "%s: v%s"
    // Message boxes and dialogs
    20,  // only button of a message box
    21,  // text of the save-wait dialog (an id of the product's choosing)
    22,  // confirm button of the key capture dialog
    23,  // first button of a two-button message box
    25,  // second button of a two-button message box
    26,  // import button and menu item
    27,  // export button and menu item
    30,  // delete macro button
    // Shortcuts (button functions) also used as words
    31,  // Ctrl+C function; the copy word of macro names
    32,  // Ctrl+V function
    36,  // Ctrl+X function
    // Message boxes and dialogs
    38,  // confirm button of the key-combination and repeat panels
    39,  // insert event button
    // Connection state and profiles
    50,  // device state: no mouse linked
    51,  // device state: linked by cable
    52,  // device state: linked through the 2.4 GHz receiver
    56,  // home page text when no supported mouse is listed
    57,  // message when an action needs a linked mouse
    61,  // the profile word: names the initial profiles ("%s 1") and shows profile names
    // Tabs
    71,  // home tab
    72,  // button assignment tab
    73,  // DPI tab
    74,  // macro tab
    75,  // lighting tab
    76,  // performance tab; caption of the device area of the settings page
    85,  // tooltip of the device list's previous button
    86,  // tooltip of the device list's next button
    // Button names for the model descriptions (ids of the product's choosing)
    90,  // left button
    91,  // right button
    92,  // middle (wheel) button
    93,  // forward side button
    94,  // back side button
    95,  // DPI button
    96,  // extra side button 3 (front)
    97,  // extra side button 4 (rear)
    // Button assignment page
    100,  // caption of the button list
    101,  // caption of the function area
    102,  // reset all buttons
    104,  // tooltip: reset the selected button
    105,  // caption of the mouse-button functions
    106,  // function: left click
    107,  // function: right click
    108,  // function: middle click
    109,  // function: forward
    110,  // function: back
    112,  // function: primary click
    113,  // function: all buttons
    114,  // function: scroll up
    115,  // function: scroll down
    116,  // caption of the media functions
    117,  // function: volume up
    118,  // function: volume down
    119,  // function: mute
    120,  // function: media player
    121,  // function: play/pause
    122,  // function: previous track
    123,  // function: next track
    124,  // function: stop
    125,  // caption of the macro functions
    126,  // caption of the system functions
    127,  // function: brightness up
    128,  // function: brightness down
    129,  // function: calculator
    130,  // function: file manager
    131,  // function: browser home
    132,  // function: email
    133,  // function: show desktop (Win+D)
    134,  // function: task view (Win+Tab)
    139,  // function, caption and button: disable the button
    140,  // caption of the DPI functions
    141,  // function: DPI cycle
    150,  // caption of the special functions
    151,  // special function 1
    152,  // special function 3
    153,  // special function 4
    154,  // special function 5
    155,  // special function 6
    160,  // caption of the key-combination function and panel
    162,  // hint of the key capture field
    170,  // question before restoring button defaults
    171,  // title of the restore question
    175,  // message: the left button keeps its function
    177,  // title of the left-button message
    180,  // function: double click
    181,  // special function 2
    182,  // repeat function: caption, panel title and description
    183,  // tooltip of the panels' close buttons
    185,  // repeat panel: number of clicks
    186,  // repeat panel: interval between clicks
    187,  // repeat panel: unit of the interval
    188,  // key page: a macro too long for the mouse cannot be assigned
    // DPI and performance page
    250,  // page caption
    251,  // caption of the DPI stages
    252,  // help of the DPI stages
    253,  // tooltip and question title: restore the DPI defaults
    254,  // button: send the DPI stages again
    255,  // caption of the report rate
    256,  // help of the report rate
    257,  // tooltip: restore the report rate default
    258,  // question: restore the DPI defaults
    260,  // caption of the number of stages
    // Lighting page
    265,  // page caption
    266,  // caption of the light effect
    267,  // caption of the lighting reset
    268,  // tooltip: restore the lighting defaults
    269,  // brightness label
    270,  // speed label
    271,  // caption of the effect's colours
    272,  // caption of the preset colours
    275,  // question: restore the lighting defaults
    276,  // title of the lighting question
    278,  // brightness value caption, "%s: 50%%"
    279,  // speed value caption, "%s: %d"
    280,  // light mode 1
    281,  // light mode 2
    282,  // light mode 3
    283,  // light mode 4
    284,  // light mode 5
    285,  // light mode 6
    286,  // light mode 9
    287,  // light mode 0
    // Macro page
    350,  // caption of the macro list
    351,  // default-name word of new macros ("%s 1")
    352,  // caption of the macro events
    353,  // new macro button
    355,  // caption of the recording options; title of the event-limit message
    357,  // delete event button
    358,  // start recording button; title of the no-macro message
    359,  // stop recording button
    360,  // caption of the delay options
    361,  // delay option: none
    362,  // delay option: recorded
    363,  // delay option: fixed
    364,  // caption of the playback options
    365,  // playback: repeat while held
    366,  // playback: repeat until pressed again
    367,  // playback: a number of times
    368,  // title of the full-macro message
    385,  // hint of the event editor's key field
    386,  // message: the macro is full
    387,  // message: no macro selected
    388,  // event column: number
    389,  // event column: kind
    390,  // event column: event
    391,  // event editor: kind caption
    392,  // event editor: value caption
    393,  // event kind: mouse button
    394,  // event kind: key
    395,  // event kind: delay
    397,  // insert menu: keystroke
    398,  // insert menu: delay
    400,  // event menu: move to top
    401,  // event menu: move up
    402,  // event menu: move down
    403,  // event menu: move to bottom
    404,  // clear all events button
    415,  // insert menu: left click
    416,  // insert menu: middle click
    417,  // insert menu: right click
    // DPI and performance page
    501,  // caption of the lift-off distance
    502,  // help of the lift-off distance
    503,  // caption of the sensor options; first line of their help
    505,  // sensor help: angle snapping
    506,  // sensor help: angle snapping advice
    507,  // sensor help: motion sync
    508,  // sensor help: motion sync effect
    509,  // sensor help: ripple control
    511,  // sensor help: when changes apply
    512,  // sensor help: advice
    515,  // sensor option: angle snapping
    516,  // sensor option: ripple control
    517,  // sensor option: motion sync
    525,  // caption of the button response time
    531,  // caption of the sleep time
    532,  // caption of the power options
    533,  // power option: movement wakes the mouse
    534,  // power option: close-light
    535,  // caption of the system mouse settings
    536,  // button: open the system mouse settings
    537,  // unit of the sleep times, "1 %s"
    538,  // tooltip of the system mouse settings button when the desktop has no such program
    // Settings page and firmware
    551,  // firmware version caption, "%s: V%s.%s"; title of the update messages
    552,  // caption of the online update line
    558,  // check-for-updates button
    570,  // title of the factory reset question
    571,  // question: factory reset
    576,  // title of information messages
    578,  // firmware update caption and button
    580,  // update state: nothing newer
    582,  // newer firmware version caption, "%s: V%s.%s"
    583,  // question after the newer version
    590,  // message: the desktop has no file dialog (no portal)
    591,  // question before an exchange file replaces an existing one, "%s" the file name
    596,  // firmware update in progress
    600,  // caption of the language choice
    603,  // caption of the start options
    604,  // start with the system
    605,  // start minimized
    607,  // caption of the close options
    608,  // close option: hide in the tray
    609,  // close option: exit
    611,  // factory reset button
    612,  // software update button
    613,  // tray menu: About
    614,  // caption word of the demo on simulated mice
    615,  // link to the feedback page
    616,  // link to the questions page
    // The launcher's entry and the software centre's listing (generated at build time)
    990,  // generic name of the program, "Gaming Mouse Settings"
    991,  // one-line description of the program; the software centre's summary
    992,  // search keywords, separated and ended by ';'
};

// Ids the non-visual code asks for by name.
inline constexpr int kTextProfileWord = 61;
inline constexpr int kTextCustomMacroWord = 351;
inline constexpr int kTextCopyWord = 31;
inline constexpr int kTextSoftwareVersion = 17;
// The texts of the launcher's entry and the software centre's listing, which
// the build reads from the language files (packaging/): beyond the window's
// own ids.
inline constexpr int kTextLauncherGenericName = 990;
inline constexpr int kTextLauncherComment = 991;
inline constexpr int kTextLauncherKeywords = 992;

inline constexpr std::span<const int> TextIds() { return kTextIds; }

}  // namespace shell
