#pragma once

#include "main_window/control_state.h"
#include "sheet/sheet_texts.h"
#include "widgets/window_table.h"

namespace numbrook {

// The settings window, one row per control. A new control is a new row: its
// frame, its place, its caption and its place in the Tab order.
inline constexpr ControlRow kMainWindowTable[] = {
    // kind                     name            parent      left top width height caption            tab     spoken
    {ControlKind::Window,       "frmMain2",     "",           0,   0, 500, 454, "Numbrook",          kNoTab},
    {ControlKind::Frame,        "Frame1",       "frmMain2",  16,   4, 468,  39, "类型",              kNoTab},
    {ControlKind::DropDown,     "Combo1",       "Frame1",    44,  12,  87,  20, "",                  24},
    {ControlKind::CheckBox,     "CheckA",       "Frame1",   136,  16,  45,  13, "加法",              28},
    {ControlKind::CheckBox,     "CheckS",       "Frame1",   192,  16,  45,  17, "减法",              29},
    {ControlKind::CheckBox,     "CheckAS",      "Frame1",   244,  16,  69,  17, "混合运算",          30},
    {ControlKind::CheckBox,     "CheckM",       "Frame1",   320,  16,  70,  17, "乘法(&M)",          37},
    {ControlKind::CheckBox,     "CheckD",       "Frame1",   394,  16,  70,  17, "除法(&V)",          38},
    {ControlKind::Frame,        "Frame4",       "frmMain2",  16,  46, 468,  39, "方式",              kNoTab},
    {ControlKind::OptionButton, "Option3_0",    "Frame4",     6,  12,  73,  25, kBlankModeCaptions[0].data(), 18},
    {ControlKind::OptionButton, "Option3_1",    "Frame4",    62,  12,  69,  25, kBlankModeCaptions[1].data(), 19},
    {ControlKind::OptionButton, "Option3_2",    "Frame4",   130,  12,  75,  25, kBlankModeCaptions[2].data(), 20},
    {ControlKind::OptionButton, "Option3_3",    "Frame4",   200,  12,  69,  25, kBlankModeCaptions[3].data(), 25},
    {ControlKind::OptionButton, "Option3_4",    "Frame4",   268,  12,  45,  25, kBlankModeCaptions[4].data(), 21},
    {ControlKind::Frame,        "Frame3",       "frmMain2",  16,  87, 468,  91, "",                  kNoTab},
    {ControlKind::Label,        "Label1",       "Frame3",    16,  16,  60,  12, "出题数量：",        kNoTab},
    {ControlKind::NumberField,  "Text1",        "Frame3",    76,  10,  49,  25, "",                  1,      "出题数量"},
    {ControlKind::Label,        "Label5",       "Frame3",   128,  16,  12,  12, "题",                kNoTab},
    {ControlKind::Label,        "Label3",       "Frame3",   166,  16,  36,  12, "每行：",            kNoTab},
    {ControlKind::NumberField,  "Text2",        "Frame3",   202,  10,  49,  25, "",                  2,      "每行"},
    {ControlKind::Label,        "Label4",       "Frame3",   252,  16,  16,  14, "题",                kNoTab},
    {ControlKind::CheckBox,     "CheckNewPage", "Frame3",   268,  12,  49,  21, "新页",              32},
    {ControlKind::Label,        "Label6",       "Frame3",    16,  42,  60,  12, "出题范围：",        kNoTab},
    {ControlKind::NumberField,  "Text3",        "Frame3",    76,  36,  49,  25, "",                  3,      "加法范围"},
    {ControlKind::Label,        "Label7",       "Frame3",   128,  42,  48,  12, "以内加法",          kNoTab},
    {ControlKind::NumberField,  "Text4",        "Frame3",   202,  36,  49,  25, "",                  4,      "减法范围"},
    {ControlKind::Label,        "Label8",       "Frame3",   252,  42,  52,  14, "以内减法",          kNoTab},
    {ControlKind::CheckBox,     "CheckAdd",     "Frame3",    76,  64, 105,  21, "包含进位加法",      23},
    {ControlKind::CheckBox,     "CheckSub",     "Frame3",   202,  64, 101,  21, "包含退位减法",      22},
    {ControlKind::Frame,        "Frame2",       "frmMain2",  16, 180, 468,  39, "导出",              kNoTab},
    // The three formats side by side, then the column form, which any of them prints.
    {ControlKind::OptionButton, "Option2_0",    "Frame2",    46,  10,  69,  25, "文本文件",          27},
    {ControlKind::OptionButton, "Option2_1",    "Frame2",   122,  10,  77,  25, "Excel文件",         26},
    {ControlKind::OptionButton, "Option2_2",    "Frame2",   204,  10,  90,  25, "PDF文件(&P)",       33},
    {ControlKind::CheckBox,     "CheckExp",     "Frame2",   330,  14,  69,  17, "导出竖式",          31},
    {ControlKind::PushButton,   "CmdOK",        "frmMain2",  44, 223,  69,  29, "开始(&Y)",          5},
    {ControlKind::PushButton,   "CmdAbout",     "frmMain2", 145, 223,  69,  29, "关于(&B)",          6},
    {ControlKind::PushButton,   "CmdExit",      "frmMain2", 246, 223,  69,  29, "退出(&X)",          7},
    // A class set: how many sheets, each with its answer key or not, and
    // whether a problem may stand twice on one sheet.
    {ControlKind::Frame,        "Frame5",       "frmMain2",  16, 258, 468,  39, "套题",              kNoTab},
    {ControlKind::Label,        "Label9",       "Frame5",    16,  16,  60,  12, "份数(&N)：",        kNoTab},
    {ControlKind::NumberField,  "Text5",        "Frame5",    76,  10,  49,  25, "",                  34,     "份数"},
    {ControlKind::Label,        "Label10",      "Frame5",   128,  16,  12,  12, "份",                kNoTab},
    {ControlKind::CheckBox,     "CheckKey",     "Frame5",   166,  14,  85,  17, "附答案(&K)",        35},
    {ControlKind::CheckBox,     "CheckDistinct","Frame5",   256,  14, 101,  17, "题目不重复(&D)",    36},
    // Which multiplications and divisions: the tables they come from and
    // whether a division leaves a remainder.
    {ControlKind::Frame,        "Frame6",       "frmMain2",  16, 300, 300,  65, "乘除法",            kNoTab},
    {ControlKind::Label,        "Label11",      "Frame6",    12,  18,  84,  12, "乘法口诀(&T)：",    kNoTab},
    {ControlKind::DropDown,     "Combo2",       "Frame6",    98,  13,  42,  22, "",                  39,     "乘法口诀从"},
    {ControlKind::Label,        "Label12",      "Frame6",   146,  18,  12,  12, "到",                kNoTab},
    {ControlKind::DropDown,     "Combo3",       "Frame6",   164,  13,  42,  22, "",                  40,     "乘法口诀到"},
    {ControlKind::Label,        "Label13",      "Frame6",    12,  44,  36,  12, "除法：",            kNoTab},
    {ControlKind::OptionButton, "Option4_0",    "Frame6",    48,  39,  88,  22, "不带余数(&E)",      41},
    {ControlKind::OptionButton, "Option4_1",    "Frame6",   140,  39,  76,  22, "带余数(&R)",        42},
    {ControlKind::OptionButton, "Option4_2",    "Frame6",   220,  39,  66,  22, "都有(&A)",          43},
    // How hard: no problem that is too easy, whatever the operation.
    {ControlKind::Frame,        "Frame7",       "frmMain2", 322, 300, 162,  65, "难度",              kNoTab},
    {ControlKind::CheckBox,     "CheckTrivial", "Frame7",    12,  28, 118,  17, "不出简单题(&S)",    44},
    // How a PDF prints: each pupil's sheet from an odd page, large type.
    {ControlKind::Frame,        "Frame8",       "frmMain2",  16, 368, 468,  39, "打印",              kNoTab},
    {ControlKind::CheckBox,     "CheckTwoSided","Frame8",    16,  14, 101,  17, "双面打印(&U)",      45,     "双面打印"},
    {ControlKind::CheckBox,     "CheckLarge",   "Frame8",   166,  14,  85,  17, "大字号(&L)",        46,     "大字号"},
    // Three terms as two steps: brackets where they change the order of
    // work, and lines under each problem to write its working on.
    {ControlKind::Frame,        "Frame9",       "frmMain2",  16, 410, 468,  39, "两步计算",          kNoTab},
    {ControlKind::Label,        "Label14",      "Frame9",    16,  17,  36,  12, "括号：",            kNoTab},
    {ControlKind::OptionButton, "Option5_0",    "Frame9",    52,  10,  92,  25, "不带括号(&G)",      47},
    {ControlKind::OptionButton, "Option5_1",    "Frame9",   148,  10,  80,  25, "带括号(&H)",        48},
    {ControlKind::OptionButton, "Option5_2",    "Frame9",   232,  10,  66,  25, "都有(&J)",          49,     "括号都有"},
    {ControlKind::CheckBox,     "CheckSteps",   "Frame9",   322,  14, 118,  17, "脱式计算(&W)",      50,     "脱式计算"},
};

}  // namespace numbrook
