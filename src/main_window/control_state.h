#pragma once

#include <string>

#include "generation/run_request.h"

namespace numbrook {

// The start-up text of a number field.
inline std::string StartUpText(NumberSettingId id) { return std::to_string(SettingOf(id).startUp); }

// The state of every main-window control that a run reads, as a plain value,
// with the window's start-up values: those of the default run.
struct ControlState {
  int combo1Index = 0;         // Combo1: 0 "二个数", 1 "三个数"
  bool checkA = true;          // 加法
  bool checkS = false;         // 减法
  bool checkAS = false;        // 混合运算
  BlankPlace option3 = RunRequest{}.blank;  // the selected Option3
  std::string text1 = StartUpText(NumberSettingId::ProblemCount);  // 出题数量
  std::string text2 = StartUpText(NumberSettingId::PerLine);       // 每行
  std::string text3 = StartUpText(NumberSettingId::AddRange);      // 以内加法
  std::string text4 = StartUpText(NumberSettingId::SubRange);      // 以内减法
  bool checkAdd = RunRequest{}.carrying;      // 包含进位加法
  bool checkSub = RunRequest{}.borrowing;     // 包含退位减法
  FileFormat option2 = RunRequest{}.format;   // the selected Option2
  bool checkExp = RunRequest{}.columnForm;    // 导出竖式
  bool checkNewPage = RunRequest{}.numberEachPage;  // 新页
  std::string text5 = StartUpText(NumberSettingId::SheetCount);  // 份数
  bool checkKey = false;       // 附答案
  bool checkDistinct = false;  // 题目不重复
  bool checkTwoSided = RunRequest{}.twoSided;  // 双面打印
  bool checkLarge = RunRequest{}.largeType;    // 大字号
  bool checkM = false;         // 乘法
  bool checkD = false;         // 除法
  int tablesFrom = kTablesSetting.startUpFrom;  // Combo2: 乘法口诀 from
  int tablesTo = kTablesSetting.startUpTo;      // Combo3: to
  Remainders option4 = RunRequest{}.remainders;  // 不带余数, 带余数, 都有
  bool checkTrivial = RunRequest{}.noTrivial;    // 不出简单题
};

// Whether the controls that belong to a PDF (two-sided printing, large
// type) are offered.
inline bool OffersPdfControls(const ControlState& controls) { return controls.option2 == FileFormat::Pdf; }

// Choosing the term count in Combo1: the per-line count becomes 4 for two
// terms and 3 for three, the problem count returns to its start-up value,
// and a two-term run has neither the third blank nor mixed problems; a
// three-term run has neither multiplication nor division.
void ChooseTermCount(ControlState& controls, int combo1Index);

// Whether the controls that belong to three terms (the third blank, mixed
// problems) are offered.
inline bool OffersThreeTermControls(const ControlState& controls) { return controls.combo1Index == 1; }

// Multiplication and division are two-term problems; the tables apply to
// both, the remainder choice to division only.
inline bool OffersTimesTables(const ControlState& c) { return !OffersThreeTermControls(c); }
inline bool OffersTablesRange(const ControlState& c) { return OffersTimesTables(c) && (c.checkM || c.checkD); }
inline bool OffersRemainders(const ControlState& c) { return OffersTimesTables(c) && c.checkD; }

// Choosing one end of the tables' range: the other end follows when the
// range would run backwards.
void ChooseTablesFrom(ControlState& controls, int from);
void ChooseTablesTo(ControlState& controls, int to);

}  // namespace numbrook
