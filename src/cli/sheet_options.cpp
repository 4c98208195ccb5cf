#include "cli/sheet_options.h"

#include <stdexcept>

#include "generation/numeric_fields.h"

namespace numbrook {
namespace {

[[noreturn]] void Refuse(const std::string& message) { throw std::invalid_argument(message); }

// A field value as a teacher types it: plain decimal digits that the field
// would keep when the focus leaves it.
std::string FieldValue(const std::string& option, const std::string& value, NumericField field) {
  const bool digits = !value.empty() && value.size() <= 6 && value.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || !IsAcceptedFieldText(field, value)) {
    const NumericFieldRule& rule = RuleOf(field);
    const int highest = static_cast<int>(rule.limitIncluded ? rule.limit : rule.limit - 1);
    Refuse(option + " takes a whole number from 1 to " + std::to_string(highest) + ", not '" + value + "'");
  }
  return value;
}

int BlankModeOf(const std::string& value) {
  static const char* kNames[] = {"compute", "first", "second", "third", "random"};
  for (int i = 0; i < 5; ++i) {
    if (value == kNames[i]) return i;
  }
  Refuse("--blank takes compute, first, second, third or random, not '" + value + "'");
}

}  // namespace

const char* SheetUsage() {
  return "Usage: numbrook-sheet [options]\n"
         "Makes an arithmetic drill worksheet and prints where it was written.\n"
         "\n"
         "  --terms 2|3          two or three terms per problem (default 2)\n"
         "  --add, --no-add      additions (on by default)\n"
         "  --sub                subtractions\n"
         "  --mixed              additions and subtractions within a problem (three terms)\n"
         "  --blank MODE         compute, first, second, third (three terms) or random\n"
         "  --count N            problems, 1 to 1000 (default 100)\n"
         "  --per-row N          problems per line, 1 to 10 (default 4, or 3 for three terms)\n"
         "  --add-range N        additions within N, 1 to 99 (default 20)\n"
         "  --sub-range N        subtractions within N, 1 to 99 (default 10)\n"
         "  --no-carry           no carrying in additions\n"
         "  --no-borrow          no borrowing in subtractions\n"
         "  --vertical           repeat every problem in column form\n"
         "  --no-new-page        number the problems through all pages\n"
         "  --format text|excel  a GBK text file or a spreadsheet (default excel)\n"
         "  --seed N             a fixed seed: the same command writes the same sheet\n"
         "  --output PATH        write there instead of the temporary folder\n"
         "  --open               open the sheet with the desktop's program\n"
         "  --help, --version\n";
}

SheetOptions ParseSheetOptions(const std::vector<std::string>& arguments) {
  SheetOptions options;
  ControlState& c = options.controls;
  std::optional<std::string> perRow;
  bool mixed = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= arguments.size()) Refuse(option + " needs a value");
      return arguments[++i];
    };
    if (option == "--help") options.help = true;
    else if (option == "--version") options.version = true;
    else if (option == "--terms") {
      const std::string terms = value();
      if (terms != "2" && terms != "3") Refuse("--terms takes 2 or 3, not '" + terms + "'");
      c.combo1Index = terms == "3" ? 1 : 0;
    }
    else if (option == "--add") c.checkA = true;
    else if (option == "--no-add") c.checkA = false;
    else if (option == "--sub") c.checkS = true;
    else if (option == "--mixed") mixed = true;
    else if (option == "--blank") c.option3Index = BlankModeOf(value());
    else if (option == "--count") c.text1 = FieldValue(option, value(), NumericField::ProblemCount);
    else if (option == "--per-row") perRow = FieldValue(option, value(), NumericField::PerRow);
    else if (option == "--add-range") c.text3 = FieldValue(option, value(), NumericField::AddRange);
    else if (option == "--sub-range") c.text4 = FieldValue(option, value(), NumericField::SubRange);
    else if (option == "--no-carry") c.checkAdd = false;
    else if (option == "--no-borrow") c.checkSub = false;
    else if (option == "--vertical") c.checkExp = true;
    else if (option == "--no-new-page") c.checkNewPage = false;
    else if (option == "--format") {
      const std::string format = value();
      if (format != "text" && format != "excel") Refuse("--format takes text or excel, not '" + format + "'");
      c.option2Index = format == "text" ? kExportText : kExportExcel;
    }
    else if (option == "--seed") {
      const std::string seed = value();
      if (seed.empty() || seed.size() > 19 || seed.find_first_not_of("0123456789") != std::string::npos) {
        Refuse("--seed takes a whole number, not '" + seed + "'");
      }
      options.seed = std::stoull(seed);
    }
    else if (option == "--output") options.output = value();
    else if (option == "--open") options.open = true;
    else Refuse("unknown option '" + option + "'");
  }

  const bool threeTerms = c.combo1Index == 1;
  // The window offers the third blank and the mixed box only for three terms,
  // and sets the problems per line when the term count is chosen.
  if (!threeTerms && c.option3Index == kBlankThird) Refuse("--blank third needs --terms 3");
  if (!threeTerms && mixed) Refuse("--mixed needs --terms 3");
  c.checkAS = mixed;
  c.text2 = perRow.value_or(threeTerms ? "3" : "4");
  return options;
}

}  // namespace numbrook
