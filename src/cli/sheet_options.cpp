#include "cli/sheet_options.h"

#include <getopt.h>

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
  return "Usage: numbrook-sheet [OPTION]...\n"
         "Makes an arithmetic drill worksheet and prints where it was written.\n"
         "\n"
         "Problems:\n"
         "      --terms=2|3        two or three terms per problem (default 2)\n"
         "      --add, --no-add    additions (on by default)\n"
         "      --sub              subtractions\n"
         "      --mixed            additions and subtractions within a problem (three terms)\n"
         "      --blank=MODE       compute, first, second, third (three terms) or random\n"
         "      --count=N          problems, 1 to 1000 (default 100)\n"
         "      --per-row=N        problems per line, 1 to 10 (default 4, or 3 for three terms)\n"
         "      --add-range=N      additions within N, 1 to 99 (default 20)\n"
         "      --sub-range=N      subtractions within N, 1 to 99 (default 10)\n"
         "      --no-carry         no carrying in additions\n"
         "      --no-borrow        no borrowing in subtractions\n"
         "\n"
         "Worksheet:\n"
         "      --format=text|excel  a GBK text file or a spreadsheet (default excel)\n"
         "      --vertical         repeat every problem in column form\n"
         "      --no-new-page      number the problems through all pages\n"
         "      --seed=N           a fixed seed: the same command writes the same sheet\n"
         "  -o, --output=PATH      write there instead of the temporary folder\n"
         "      --open             open the sheet with the desktop's program\n"
         "\n"
         "Class sets:\n"
         "      --answers          also write each sheet's answer key (...答案.XLS)\n"
         "      --sheets=N         N different sheets, 1 to 1000, numbered -01, -02...;\n"
         "                         sheet k uses seed S+k-1 with --seed=S\n"
         "      --distinct         no problem twice on a sheet\n"
         "\n"
         "  -h, --help             show this help and exit\n"
         "  -V, --version          show the version and exit\n"
         "\n"
         "Exit status: 0 when the sheet was written, 1 when it could not be,\n"
         "2 when the options are wrong.\n";
}

namespace {

// getopt_long's codes for the options that have no short form.
enum LongOnly {
  kTerms = 256, kAdd, kNoAdd, kSub, kMixed, kBlank, kCount, kPerRow, kAddRange, kSubRange,
  kNoCarry, kNoBorrow, kVertical, kNoNewPage, kFormat, kSeed, kOpen, kAnswers, kSheets, kDistinct
};

constexpr option kLongOptions[] = {
    {"terms", required_argument, nullptr, kTerms},         {"add", no_argument, nullptr, kAdd},
    {"no-add", no_argument, nullptr, kNoAdd},              {"sub", no_argument, nullptr, kSub},
    {"mixed", no_argument, nullptr, kMixed},               {"blank", required_argument, nullptr, kBlank},
    {"count", required_argument, nullptr, kCount},         {"per-row", required_argument, nullptr, kPerRow},
    {"add-range", required_argument, nullptr, kAddRange},  {"sub-range", required_argument, nullptr, kSubRange},
    {"no-carry", no_argument, nullptr, kNoCarry},          {"no-borrow", no_argument, nullptr, kNoBorrow},
    {"vertical", no_argument, nullptr, kVertical},         {"no-new-page", no_argument, nullptr, kNoNewPage},
    {"format", required_argument, nullptr, kFormat},       {"seed", required_argument, nullptr, kSeed},
    {"output", required_argument, nullptr, 'o'},           {"open", no_argument, nullptr, kOpen},
    {"answers", no_argument, nullptr, kAnswers},           {"sheets", required_argument, nullptr, kSheets},
    {"distinct", no_argument, nullptr, kDistinct},
    {"help", no_argument, nullptr, 'h'},                   {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0}};
constexpr const char* kShortOptions = ":ho:V";

// The option as the user wrote it, for messages: "--count" or "-o".
std::string NameOf(int code) {
  for (const option& o : kLongOptions) {
    if (o.name != nullptr && o.val == code) return std::string("--") + o.name;
  }
  return std::string("-") + static_cast<char>(code);
}

std::uint64_t SeedOf(const std::string& seed) {
  if (seed.empty() || seed.size() > 19 || seed.find_first_not_of("0123456789") != std::string::npos) {
    Refuse("--seed takes a whole number, not '" + seed + "'");
  }
  return std::stoull(seed);
}

}  // namespace

SheetOptions ParseSheetOptions(const std::vector<std::string>& arguments) {
  // getopt_long wants a writable argv with the program name first.
  std::vector<std::string> words{"numbrook-sheet"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  SheetOptions options;
  ControlState& c = options.controls;
  // The term count resets the counts, as in the window; given counts win.
  int termsIndex = 0;
  std::optional<std::string> count, perRow;
  bool mixed = false;
  optind = 0;  // restart the scan: the parser may run more than once in a process
  opterr = 0;  // our messages, not getopt's
  for (int code; (code = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
    const std::string value = optarg != nullptr ? optarg : "";
    switch (code) {
      case 'h': options.help = true; break;
      case 'V': options.version = true; break;
      case kTerms:
        if (value != "2" && value != "3") Refuse("--terms takes 2 or 3, not '" + value + "'");
        termsIndex = value == "3" ? 1 : 0;
        break;
      case kAdd: c.checkA = true; break;
      case kNoAdd: c.checkA = false; break;
      case kSub: c.checkS = true; break;
      case kMixed: mixed = true; break;
      case kBlank: c.option3Index = BlankModeOf(value); break;
      case kCount: count = FieldValue("--count", value, NumericField::ProblemCount); break;
      case kPerRow: perRow = FieldValue("--per-row", value, NumericField::PerRow); break;
      case kAddRange: c.text3 = FieldValue("--add-range", value, NumericField::AddRange); break;
      case kSubRange: c.text4 = FieldValue("--sub-range", value, NumericField::SubRange); break;
      case kNoCarry: c.checkAdd = false; break;
      case kNoBorrow: c.checkSub = false; break;
      case kVertical: c.checkExp = true; break;
      case kNoNewPage: c.checkNewPage = false; break;
      case kFormat:
        if (value != "text" && value != "excel") Refuse("--format takes text or excel, not '" + value + "'");
        c.option2Index = value == "text" ? kExportText : kExportExcel;
        break;
      case kSeed: options.seed = SeedOf(value); break;
      case 'o':
        if (value.empty()) Refuse("--output needs a file name");
        options.output = value;
        break;
      case kOpen: options.open = true; break;
      case kAnswers: options.answers = true; break;
      case kDistinct: options.distinct = true; break;
      case kSheets: {
        const bool digits = !value.empty() && value.size() <= 4 && value.find_first_not_of("0123456789") == std::string::npos;
        const int count = digits ? std::stoi(value) : 0;
        if (count < 1 || count > 1000) Refuse("--sheets takes a whole number from 1 to 1000, not '" + value + "'");
        options.sheets = count;
        break;
      }
      case ':': Refuse(std::string(argv[optind - 1]) + " needs a value");  // the word as written
      default: {
        // An unknown long option leaves optopt at 0; the word itself is the
        // last one getopt read. A known one given a value it takes none of
        // ("--vertical=1") lands here too.
        const std::string word = optopt != 0 && optopt < 256 ? std::string("-") + static_cast<char>(optopt)
                                                             : std::string(argv[optind - 1]);
        if (optopt >= 256) Refuse(NameOf(optopt) + " takes no value");
        Refuse("unknown option '" + word + "'");
      }
    }
  }
  if (optind < argc) Refuse(std::string("unexpected argument '") + argv[optind] + "'");

  // What the window does not offer with two terms is refused, not dropped.
  const int blank = c.option3Index;
  ChooseTermCount(c, termsIndex);
  if (!OffersThreeTermControls(c) && blank == kBlankThird) Refuse("--blank third needs --terms 3");
  if (!OffersThreeTermControls(c) && mixed) Refuse("--mixed needs --terms 3");
  c.checkAS = mixed;
  if (count) c.text1 = *count;
  if (perRow) c.text2 = *perRow;
  return options;
}

}  // namespace numbrook
