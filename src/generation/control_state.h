#pragma once

#include <array>
#include <string>
#include <string_view>

namespace numbrook {

// The texts of the main window's list and option captions. The run quotes
// them in the worksheet description, so the window and the core share them.
inline constexpr std::array<std::string_view, 2> kTermCountItems = {"二个数", "三个数"};
inline constexpr std::array<std::string_view, 5> kBlankModeCaptions = {
    "计算题", "第一填空", "第二填空", "第三填空", "随机"};

enum BlankModeIndex { kBlankCompute = 0, kBlankFirst = 1, kBlankSecond = 2, kBlankThird = 3, kBlankRandom = 4 };
enum ExportFormatIndex { kExportText = 0, kExportExcel = 1, kExportPdf = 2 };

// The state of every main-window control that a run reads, as a plain value.
// The defaults are the window's start-up values, so a front end without a
// window (the command line) starts from the same settings a teacher sees.
struct ControlState {
  int combo1Index = 0;         // Combo1: 0 "二个数", 1 "三个数"
  bool checkA = true;          // 加法
  bool checkS = false;         // 减法
  bool checkAS = false;        // 混合运算
  int option3Index = kBlankCompute;
  std::string text1 = "100";   // 出题数量
  std::string text2 = "4";     // 每行
  std::string text3 = "20";    // 以内加法
  std::string text4 = "10";    // 以内减法
  bool checkAdd = true;        // 包含进位加法
  bool checkSub = true;        // 包含退位减法
  int option2Index = kExportExcel;
  bool checkExp = false;       // 导出竖式
  bool checkNewPage = true;    // 新页
};

// Choosing the term count in Combo1: the per-line count becomes 4 for two
// terms and 3 for three, the problem count returns to its start-up value,
// and a two-term run has neither the third blank nor mixed problems.
void ChooseTermCount(ControlState& controls, int combo1Index);

// Whether the controls that belong to three terms (the third blank, mixed
// problems) are offered.
inline bool OffersThreeTermControls(const ControlState& controls) { return controls.combo1Index == 1; }

}  // namespace numbrook
