#pragma once

#include <string>

#include "generation/run_request.h"

namespace numbrook {

// The state of every main-window control that a run reads, as a plain value,
// with the window's start-up values.
struct ControlState {
  int combo1Index = 0;         // Combo1: 0 "二个数", 1 "三个数"
  bool checkA = true;          // 加法
  bool checkS = false;         // 减法
  bool checkAS = false;        // 混合运算
  BlankPlace option3 = BlankPlace::Result;  // the selected Option3
  std::string text1 = "100";   // 出题数量
  std::string text2 = "4";     // 每行
  std::string text3 = "20";    // 以内加法
  std::string text4 = "10";    // 以内减法
  bool checkAdd = true;        // 包含进位加法
  bool checkSub = true;        // 包含退位减法
  FileFormat option2 = FileFormat::Excel;  // the selected Option2
  bool checkExp = false;       // 导出竖式
  bool checkNewPage = true;    // 新页
  std::string text5 = "1";     // 份数
  bool checkKey = false;       // 附答案
  bool checkDistinct = false;  // 题目不重复
};

// Choosing the term count in Combo1: the per-line count becomes 4 for two
// terms and 3 for three, the problem count returns to its start-up value,
// and a two-term run has neither the third blank nor mixed problems.
void ChooseTermCount(ControlState& controls, int combo1Index);

// Whether the controls that belong to three terms (the third blank, mixed
// problems) are offered.
inline bool OffersThreeTermControls(const ControlState& controls) { return controls.combo1Index == 1; }

}  // namespace numbrook
