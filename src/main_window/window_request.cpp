#include "main_window/window_request.h"

#include <optional>

#include "main_window/numeric_fields.h"

namespace numbrook {
namespace {

OperationKinds OperationsOf(const ControlState& c) {
  OperationKinds kinds = OperationKinds::None;
  if (c.checkA) kinds = kinds | OperationKinds::Addition;
  if (c.checkS) kinds = kinds | OperationKinds::Subtraction;
  if (c.checkAS) kinds = kinds | OperationKinds::Mixed;
  if (c.checkM && OffersTimesTables(c)) kinds = kinds | OperationKinds::Multiplication;
  if (c.checkD && OffersTimesTables(c)) kinds = kinds | OperationKinds::Division;
  return kinds;
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
  request.blank = c.option3;
  // What does not apply stays as numbrook-sheet leaves it without the option.
  if (OffersTablesRange(c)) request.tables = {c.tablesFrom, c.tablesTo};
  if (OffersRemainders(c)) request.remainders = c.option4;
  request.noTrivial = c.checkTrivial;
  request.count = FieldValue(NumericField::ProblemCount, c.text1);
  request.perLine = FieldValue(NumericField::PerRow, c.text2, request.terms);
  request.format = c.option2;
  request.columnForm = c.checkExp;
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
