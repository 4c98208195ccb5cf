#include "main_window/window_request.h"

#include <optional>

#include "main_window/numeric_fields.h"

namespace numbrook {
namespace {

// Mixing belongs to three terms read from left to right.
OperationKinds OperationsOf(const ControlState& c) {
  const OperationKinds kinds = TickedOperations(c);
  return c.checkAS && !MakesTwoSteps(c) ? kinds | OperationKinds::Mixed : kinds;
}

}  // namespace

RunRequest RequestFromControls(const ControlState& c) {
  RunRequest request;
  request.terms = OffersThreeTermControls(c) ? 3 : 2;
  request.operations = OperationsOf(c);
  request.addRange = FieldValue(NumericField::AddRange, c.text3);
  request.subRange = FieldValue(NumericField::SubRange, c.text4);
  request.carrying = c.checkAdd;
  request.borrowing = c.checkSub;
  request.blank = MakesTwoSteps(c) ? BlankPlace::Result : c.option3;
  if (OffersBrackets(c)) request.brackets = c.option5;
  request.steps = AsksForSteps(c);
  // What does not apply stays as numbrook-sheet leaves it without the option.
  if (OffersTablesRange(c)) request.tables = {c.tablesFrom, c.tablesTo};
  if (OffersRemainders(c)) request.remainders = c.option4;
  request.noTrivial = c.checkTrivial;
  request.count = FieldValue(NumericField::ProblemCount, c.text1);
  request.perLine = FieldValue(NumericField::PerRow, c.text2, request.terms, request.steps);
  request.format = c.option2;
  request.columnForm = c.checkExp && OffersColumnForm(c);
  request.numberEachPage = c.checkNewPage;
  // As numbrook-sheet, only a PDF prints on both sides or large.
  request.twoSided = OffersPdfControls(c) && c.checkTwoSided;
  request.largeType = OffersPdfControls(c) && c.checkLarge;
  return request;
}

SetRequest SetRequestFromControls(const ControlState& c) {
  SetRequest set;
  set.run = RequestFromControls(c);
  set.sheets = FieldValue(NumericField::SheetCount, c.text5);
  set.answers = c.checkKey;
  set.distinct = c.checkDistinct;
  return set;
}

}  // namespace numbrook
