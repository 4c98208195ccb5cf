#include "main_window/window_request.h"

#include <optional>

#include "main_window/leading_number.h"

namespace numbrook {
namespace {

int FieldValue(const std::string& text, int highest, int fallback) {
  const std::optional<int> value = IntegerValueOf(text);
  if (!value || *value <= 0 || *value > highest) return fallback;
  return *value;
}

OperationKinds OperationsOf(const ControlState& c) {
  OperationKinds kinds = OperationKinds::None;
  if (c.checkA) kinds = kinds | OperationKinds::Addition;
  if (c.checkS) kinds = kinds | OperationKinds::Subtraction;
  if (c.checkAS) kinds = kinds | OperationKinds::Mixed;
  return kinds;
}

}  // namespace

RunRequest RequestFromControls(const ControlState& c) {
  const RunRequest defaults;
  RunRequest request;
  request.terms = OffersThreeTermControls(c) ? 3 : 2;
  request.operations = OperationsOf(c);
  request.addRange = FieldValue(c.text3, kMostRange, defaults.addRange);
  request.subRange = FieldValue(c.text4, kMostRange, defaults.subRange);
  request.carrying = c.checkAdd;
  request.borrowing = c.checkSub;
  request.blank = c.option3;
  request.count = FieldValue(c.text1, kMostProblems, defaults.count);
  request.perLine = FieldValue(c.text2, kMostPerLine, defaults.perLine);
  request.format = c.option2;
  request.columnForm = c.checkExp;
  request.numberEachPage = c.checkNewPage;
  return request;
}

SetRequest SetRequestFromControls(const ControlState& c) {
  SetRequest set;
  set.run = RequestFromControls(c);
  set.sheets = FieldValue(c.text5, kMostSheets, SetRequest{}.sheets);
  set.answers = c.checkKey;
  set.distinct = c.checkDistinct;
  return set;
}

}  // namespace numbrook
