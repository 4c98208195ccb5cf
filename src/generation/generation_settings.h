#pragma once

#include <string>

#include "generation/control_state.h"

namespace numbrook {

enum OperationKindValue { kAdditionOnly = 0, kSubtractionOnly = 1, kAddAndSubtract = 2, kMixed = 3 };

// What a run reads from the window at Start, clamped to the values the
// generators and writers can rely on. The export reads it too.
struct GenerationSettings {
  int TermCount = 2;        // 2 or 3
  int MinTerm = 1;          // lower bound of most draws
  int AddRange = 20;        // 1..99
  int SubRange = 10;        // 1..99
  int ProblemCount = 100;   // 1..1000
  int PerRow = 4;           // 1..10
  int BlankMode = kBlankCompute;
  int OperationKind = kAdditionOnly;
  std::string KindText;
  std::string Description;
  int ExportFormat = kExportExcel;
  int DigitWidth = 2;       // digits of the wider range: 1 or 2
  float TermWidth = 2.7f;   // spreadsheet column width of a term
  int ColsPerProblem = 9;   // spreadsheet columns per problem slot
  std::string HeaderLine1;  // name, date and time fields
  std::string HeaderLine2;  // self-rating line
  // The check boxes that generation and export consult problem by problem;
  // the window keeps them locked for the whole run.
  bool AdditionChecked = true;  // CheckA
  bool SubtractionChecked = false;  // CheckS
  bool CarryAllowed = true;     // CheckAdd
  bool BorrowAllowed = true;    // CheckSub
  bool VerticalForm = false;    // CheckExp
  bool NumberEachPage = true;   // CheckNewPage
};

// A run's settings, and the controls as the run takes them: a two-term run
// is never a mixed run, so CheckAS is cleared there for the window to show.
struct RunSetUp {
  GenerationSettings settings;
  ControlState corrected;
};

// Reads and clamps the settings of a run from the controls.
RunSetUp SetUpRun(const ControlState& controls);

// How many decimal digits a non-negative value has.
int DecimalDigits(int value);

// The operator and range phrase of a run, as the worksheet and file name use it.
std::string KindTextFor(int operationKind);

}  // namespace numbrook
