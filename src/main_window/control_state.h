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
  Brackets option5 = RunRequest{}.brackets;      // 不带括号, 带括号, 都有
  bool checkSteps = RunRequest{}.steps;          // 脱式
};

// Whether the controls that belong to a PDF (two-sided printing, large
// type) are offered.
inline bool OffersPdfControls(const ControlState& controls) { return controls.option2 == FileFormat::Pdf; }

// Choosing the term count in Combo1: the per-line count becomes 4 for two
// terms and 3 for three (2 with working lines), the problem count returns
// to its start-up value, and a two-term run has neither the third blank nor
// mixed problems.
void ChooseTermCount(ControlState& controls, int combo1Index);

// Whether the controls that belong to three terms (the third blank, mixed
// problems) are offered.
inline bool OffersThreeTermControls(const ControlState& controls) { return controls.combo1Index == 1; }

// The operations ticked, as a run takes them (mixing aside).
OperationKinds TickedOperations(const ControlState& controls);

// The tables apply to multiplication and division, the remainder choice to
// a division of two terms only.
inline bool OffersTablesRange(const ControlState& c) { return c.checkM || c.checkD; }
inline bool OffersRemainders(const ControlState& c) { return !OffersThreeTermControls(c) && c.checkD; }

// Brackets apply to three terms whose operations make a textbook's bracket.
inline bool OffersBrackets(const ControlState& c) {
  return OffersThreeTermControls(c) && AdmitsBrackets(TickedOperations(c));
}

// Three terms with 乘法 or 除法, or with brackets, are two-step problems:
// they ask for the result and have no column form, nor mixing of their own.
inline bool MakesTwoSteps(const ControlState& c) {
  return ChoosesTwoSteps(OffersThreeTermControls(c) ? 3 : 2, TickedOperations(c),
                         OffersBrackets(c) ? c.option5 : Brackets::Never);
}

// Working lines (脱式) apply to three-term problems that ask for the result.
inline bool OffersSteps(const ControlState& c) {
  return OffersThreeTermControls(c) && (MakesTwoSteps(c) || c.option3 == BlankPlace::Result);
}
inline bool AsksForSteps(const ControlState& c) { return OffersSteps(c) && c.checkSteps; }

// The column form, where the working lines are not written instead.
inline bool OffersColumnForm(const ControlState& c) { return !MakesTwoSteps(c) && !AsksForSteps(c); }

// The choices that make problems two steps, or working lines: a blank
// other than the result goes to the result; ticking or clearing the
// working lines sets the per-line count to theirs, or to the term count's.
void ChooseTwoStepControls(ControlState& controls);
void ChooseSteps(ControlState& controls, bool steps);

// Choosing one end of the tables' range: the other end follows when the
// range would run backwards.
void ChooseTablesFrom(ControlState& controls, int from);
void ChooseTablesTo(ControlState& controls, int to);

}  // namespace numbrook
