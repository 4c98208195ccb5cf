#pragma once

#include "about/program_links.h"
#include "widgets/window_table.h"

namespace numbrook {

// Eleven blanks before the second part, which belongs on the second line.
inline constexpr const char* kDisclaimer = "希望Ovip、Tazu小朋友少看电视，多锻炼           聪明快乐,健康成长";

// The About window, one row per control, in drawing order (later rows over
// earlier ones). The links stand in the strip under the picture, one line of
// the window's font high, down to the window's edge; Tab reaches them after
// the buttons.
inline constexpr ControlRow kAboutWindowTable[] = {
    // kind                   name             parent      left top width height caption                  tab
    {ControlKind::Window,     "frmAbout",      "",           0,   0, 354, 283, "",                       kNoTab},
    {ControlKind::Picture,    "Picture",       "frmAbout",   0,   0, 353, 265, ":/numbrook/about.jpg",   kNoTab},
    {ControlKind::FixedLabel, "lblDisclaimer", "frmAbout",   8,   8, 353,  39, kDisclaimer,              kNoTab},
    {ControlKind::PushButton, "cmdOK",         "frmAbout", 264, 214,  68,  23, "确    定",               0},
    {ControlKind::PushButton, "CmdUpdate",     "frmAbout", 264, 238,  68,  23, "检查更新",               5},
    {ControlKind::Line,       "Line1_0",       "frmAbout",  -3, 263, 370,   2, "",                       kNoTab},
    {ControlKind::Link,       "lblTitle",      "frmAbout",   6, 266, 196,  17, "",                       6},
    {ControlKind::Link,       "Label1",        "frmAbout", 226, 266, 126,  17, kContactAddress,          7},
};

}  // namespace numbrook
