#include "SkinManifest.h"

// Index
//   1. Main window, caption and tabs
//   2. Panels and frames of the pages
//   3. Buttons and fields
//   4. Device controls
//   5. Dialogs

namespace skin {

namespace {

// Four-frame strips run normal, hover, pressed, disabled; eight-frame check
// boxes and radio buttons the same four unchecked, then checked; the tab
// icons normal, hover, selected.
constexpr SkinImageEntry kImages[] = {
    // --- 1. Main window, caption and tabs ------------------------------------------
    {L"main_bkg.png", 1, 0, 0, "window background, nine-grid"},
    {L"img_area_caption.png", 1, 0, 0, "caption and footer bands, panel captions"},
    {L"logo.png", 1, 260, 40, "logo of the caption, the about window and the save wait"},
    {L"sysbtn_close.png", 4, 30, 30, "close button"},
    {L"sysbtn_min.png", 4, 30, 30, "minimise button"},
    {L"sysbtn_setting.png", 4, 30, 30, "settings button"},
    {L"sysbtn_maximize.png", 4, 30, 30, "maximise button"},
    {L"sysbtn_restore.png", 4, 30, 30, "maximise button while maximised"},
    {L"img_tab_bkg.png", 1, 70, 420, "tab strip background"},
    {L"img_tabitem_bkg.png", 4, 70, 70, "tab item (pressed frame = selected)"},
    {L"icon\\tab_home.png", 3, 32, 32, "home tab"},
    {L"icon\\tab_mousekey.png", 3, 32, 32, "key assignment tab"},
    {L"icon\\tab_mousedpi.png", 3, 32, 32, "DPI tab"},
    {L"icon\\tab_macro.png", 3, 32, 32, "macro tab"},
    {L"icon\\tab_light.png", 3, 32, 32, "lighting tab"},
    {L"icon\\tab_mouseset.png", 3, 32, 32, "performance tab"},
    {L"icon\\icon_arrow_up.png", 4, 16, 16, "profile button icon"},
    {L"img_area.png", 1, 0, 0, "connection-state label"},
    // The window and tray icon: a PNG named after the program, since icons
    // are plain images on this platform.
    {L"orvane.png", 1, 64, 64, "window and tray icon"},

    // --- 2. Panels and frames of the pages --------------------------------------------
    // Four-border nine-grid with borders 10, 50, 260, 10: the caption band
    // and its right-hand 260 pixels stay unscaled.
    {L"img_area_bkg.png", 1, 320, 100, "page frame"},
    {L"img_area_content.png", 1, 0, 0, "content frame, nine-grid 10"},
    {L"img_area2.png", 1, 0, 0, "side frame, nine-grid 30"},
    {L"img_area3.png", 1, 0, 0, "empty device list"},
    {L"img_eventcaption.png", 1, 0, 0, "column captions of the event list"},
    {L"img_list_bkg.png", 2, 60, 36, "list rows: normal, selected or hovered"},
    {L"img_combobox_bkg.png", 1, 0, 0, "drop-down list background"},
    {L"img_scroll_v.png", 4, 8, 40, "scroll bar thumb"},

    // --- 3. Buttons and fields ------------------------------------------------------------
    {L"img_button.png", 4, 120, 36, "push button, nine-grid 8"},
    {L"img_button2.png", 4, 80, 32, "modifier toggle (pressed frame = selected)"},
    {L"btn_close.png", 4, 24, 24, "panel close button"},
    {L"btn_reset.png", 4, 24, 24, "reset button"},
    {L"btn_more.png", 4, 24, 24, "edit icon of the macro list"},
    {L"img_btn_pre.png", 4, 24, 24, "previous device"},
    {L"img_btn_next.png", 4, 24, 24, "next device"},
    {L"img_recorditem_up.png", 4, 24, 24, "move event up"},
    {L"img_recorditem_down.png", 4, 24, 24, "move event down"},
    {L"img_return.png", 4, 32, 32, "back from the settings page"},
    {L"img_help.png", 1, 20, 20, "help button"},
    {L"img_edit.png", 4, 60, 30, "edit field, nine-grid 4"},
    // Borders 4, 4, 35 and 4: the arrow lives in the right 35 pixels.
    {L"img_combobox.png", 4, 120, 30, "combo box"},
    {L"btn_checkbox.png", 8, 18, 18, "check box"},
    {L"btn_radiobox.png", 8, 18, 18, "radio button"},
    {L"icon\\icon_rec.png", 4, 16, 16, "record button icon"},
    {L"icon\\icon_stop_rec.png", 4, 16, 16, "record button icon while recording"},
    {L"icon//icon_windows.png", 1, 32, 32, "system mouse settings"},

    // --- 4. Device controls ---------------------------------------------------------------
    {L"area_device.png", 1, 0, 0, "device list card"},
    // The gauge: fill drawn from (4, 4), as wide as the level says.
    {L"icon\\icon_battery_bkg.png", 1, 42, 22, "battery gauge outline"},
    {L"icon\\icon_batteryvalue.png", 1, 30, 14, "battery level strip"},
    {L"icon\\icon_charge.png", 1, 12, 18, "charging mark"},
    {L"icon\\icon_devmode.png", 2, 24, 24, "connection mode of the listed device: wired, wireless"},
    {L"img_palette_thumb.png", 1, 14, 14, "colour palette thumb"},
    // Event icons in pairs (normal, selected): other events, keys,
    // mouse buttons, delays.
    {L"icon\\icon_list.png", 8, 20, 20, "event icons"},
    {L"img_key_bkg.png", 2, 66, 26, "button label box: normal, hovered or selected"},
    {L"img_dpi_bar.png", 4, 16, 13, "DPI slider thumb"},
    {L"img_slider_bar.png", 4, 20, 20, "brightness and speed slider thumb"},

    // --- 5. Dialogs -------------------------------------------------------------------------
    {L"bk_prompt.png", 1, 0, 0, "message box background, nine-grid 30"},
    {L"img_upgrade_bkg.png", 1, 0, 0, "firmware update tip (alpha)"},
};

}  // namespace

std::span<const SkinImageEntry> SkinManifest() { return kImages; }

}  // namespace skin
