#include "cli/sheet_options.h"

#include <getopt.h>

#include <stdexcept>
#include <string_view>

namespace numbrook {
namespace {

[[noreturn]] void Refuse(const std::string& message) { throw std::invalid_argument(message); }

// A whole number written as decimal digits, from 1 to the highest.
int WholeNumber(const std::string& option, const std::string& value, int highest) {
  const bool digits = !value.empty() && value.size() <= 6 && value.find_first_not_of("0123456789") == std::string::npos;
  const int number = digits ? std::stoi(value) : 0;
  if (number < 1 || number > highest) {
    Refuse(option + " takes a whole number from 1 to " + std::to_string(highest) + ", not '" + value + "'");
  }
  return number;
}

BlankPlace BlankPlaceOf(const std::string& value) {
  static const char* kNames[] = {"compute", "first", "second", "third", "random"};
  for (int i = 0; i < 5; ++i) {
    if (value == kNames[i]) return static_cast<BlankPlace>(i);
  }
  Refuse("--blank takes compute, first, second, third or random, not '" + value + "'");
}

std::uint64_t SeedOf(const std::string& seed) {
  // Every 64-bit seed a sheet can show, up to 18446744073709551615.
  if (seed.empty() || seed.size() > 20 || seed.find_first_not_of("0123456789") != std::string::npos) {
    Refuse("--seed takes a whole number, not '" + seed + "'");
  }
  try {
    return std::stoull(seed);
  } catch (const std::out_of_range&) {
    Refuse("--seed takes a whole number up to 18446744073709551615, not '" + seed + "'");
  }
}

// getopt_long's codes for the options that have no short form.
enum LongOnly {
  kTerms = 256, kAdd, kNoAdd, kSub, kMixed, kBlank, kCount, kPerRow, kAddRange, kSubRange,
  kNoCarry, kNoBorrow, kVertical, kNoNewPage, kFormat, kSeed, kOpen, kAnswers, kSheets, kDistinct,
  kEncoding
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
    {"distinct", no_argument, nullptr, kDistinct},         {"encoding", required_argument, nullptr, kEncoding},
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

// getopt_long answers an abbreviation that fits several long options the
// same way as an unknown one; the user is told which options it fits.
[[noreturn]] void RefuseUnknown(const std::string& word) {
  if (word.starts_with("--")) {
    const std::string_view prefix = std::string_view(word).substr(2, word.find('=') - 2);
    std::vector<std::string> fits;
    for (const option& o : kLongOptions) {
      if (o.name != nullptr && std::string_view(o.name).starts_with(prefix)) fits.push_back(std::string("--") + o.name);
    }
    if (fits.size() > 1) {
      std::string list;
      for (std::size_t i = 0; i < fits.size(); ++i) list += (i == 0 ? "" : i + 1 == fits.size() ? " or " : ", ") + fits[i];
      Refuse("ambiguous option '" + word + "': it could be " + list);
    }
  }
  Refuse("unknown option '" + word + "'");
}

}  // namespace

const std::string& SheetUsage() {
  struct Line {
    const char* option;
    const char* meaning;
  };
  // An empty option continues the meaning above; an empty meaning heads a group.
  static const Line kLines[] = {
      {"Problems:", ""},
      {"    --terms=2|3", "two or three terms per problem (default 2)"},
      {"    --add, --no-add", "additions (on by default)"},
      {"    --sub", "subtractions"},
      {"    --mixed", "additions and subtractions within a problem (three terms)"},
      {"    --blank=MODE", "compute, first, second, third (three terms) or random"},
      {"    --count=N", "problems, 1 to 1000 (default 100)"},
      {"    --per-row=N", "problems per line, 1 to 10 (default 4, or 3 for three terms)"},
      {"    --add-range=N", "additions within N, 1 to 99 (default 20)"},
      {"    --sub-range=N", "subtractions within N, 1 to 99 (default 10)"},
      {"    --no-carry", "no carrying in additions"},
      {"    --no-borrow", "no borrowing in subtractions"},
      {"Worksheet:", ""},
      {"    --format=FORMAT", "text, excel or pdf (default excel)"},
      {"    --encoding=NAME", "utf-8 or gbk, the text file's encoding"},
      {"", "(default: the locale's)"},
      {"    --vertical", "repeat every problem in column form"},
      {"    --no-new-page", "number the problems through all pages"},
      {"    --seed=N", "a fixed seed: the same command writes the same sheet;"},
      {"", "every sheet shows its own (编号), which remakes it"},
      {"-o, --output=PATH", "write there instead of the current folder"},
      {"    --open", "open the sheet with the desktop's program"},
      {"Class sets:", ""},
      {"    --answers", "also write each sheet's answer key (...答案.XLS)"},
      {"    --sheets=N", "N different sheets, 1 to 1000, numbered -01, -02...;"},
      {"", "as PDF one file of N sheets (and one of N keys)"},
      {"    --distinct", "no problem twice on a sheet"},
      {"", ""},
      {"-h, --help", "show this help and exit"},
      {"-V, --version", "show the version and exit"},
  };
  static const std::string text = [] {
    constexpr std::size_t kMeaningColumn = 27;
    std::string usage =
        "Usage: numbrook-sheet [OPTION]...\n"
        "Makes an arithmetic drill worksheet in the current folder and prints\n"
        "where it was written. A folder as --output receives the usual name;\n"
        "a name without an extension gets the format's (.TXT, .XLS, .PDF).\n";
    for (const Line& line : kLines) {
      const std::string option = line.option;
      if (*line.meaning == '\0') {
        usage += "\n" + option + (option.empty() ? "" : "\n");
        continue;
      }
      const std::string lead = "  " + option;
      usage += lead + std::string(kMeaningColumn - lead.size(), ' ') + line.meaning + "\n";
    }
    return usage +
           "\n"
           "Exit status: 0 when every sheet was written; 1 when one could not be;\n"
           "2 when the options are wrong or --distinct cannot give that many\n"
           "different problems; 3 when the sheets were written but --open could not\n"
           "open one (the reason is on standard error).\n";
  }();
  return text;
}

SheetOptions ParseSheetOptions(const std::vector<std::string>& arguments) {
  // getopt_long wants a writable argv with the program name first.
  std::vector<std::string> words{"numbrook-sheet"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  SheetOptions options;
  RunRequest& r = options.request;
  std::optional<int> perLine;
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
        r.terms = value == "3" ? 3 : 2;
        break;
      case kAdd: r.operations = r.operations | OperationKinds::Addition; break;
      case kNoAdd:
        r.operations = static_cast<OperationKinds>(static_cast<unsigned>(r.operations) &
                                                   ~static_cast<unsigned>(OperationKinds::Addition));
        break;
      case kSub: r.operations = r.operations | OperationKinds::Subtraction; break;
      case kMixed: mixed = true; break;
      case kBlank: r.blank = BlankPlaceOf(value); break;
      case kCount: r.count = WholeNumber("--count", value, kMostProblems); break;
      case kPerRow: perLine = WholeNumber("--per-row", value, kMostPerLine); break;
      case kAddRange: r.addRange = WholeNumber("--add-range", value, kMostRange); break;
      case kSubRange: r.subRange = WholeNumber("--sub-range", value, kMostRange); break;
      case kNoCarry: r.carrying = false; break;
      case kNoBorrow: r.borrowing = false; break;
      case kVertical: r.columnForm = true; break;
      case kNoNewPage: r.numberEachPage = false; break;
      case kFormat:
        if (value != "text" && value != "excel" && value != "pdf") {
          Refuse("--format takes text, excel or pdf, not '" + value + "'");
        }
        r.format = value == "text" ? FileFormat::Text : value == "pdf" ? FileFormat::Pdf : FileFormat::Excel;
        break;
      case kSeed: r.seed = SeedOf(value); break;
      case kEncoding:
        if (value != "utf-8" && value != "gbk") Refuse("--encoding takes utf-8 or gbk, not '" + value + "'");
        r.textEncoding = value == "gbk" ? TextEncoding::Gbk : TextEncoding::Utf8;
        break;
      case 'o':
        if (value.empty()) Refuse("--output needs a file name");
        options.output = value;
        break;
      case kOpen: options.open = true; break;
      case kAnswers: options.answers = true; break;
      case kDistinct: options.distinct = true; break;
      case kSheets: options.sheets = WholeNumber("--sheets", value, kMostSheets); break;
      case ':': Refuse(std::string(argv[optind - 1]) + " needs a value");  // the word as written
      default:
        // An unknown or ambiguous long option leaves optopt at 0; the word
        // itself is the last one getopt read. A known one given a value it
        // takes none of ("--vertical=1") lands here too.
        if (optopt >= 256) Refuse(NameOf(optopt) + " takes no value");
        if (optopt != 0) Refuse(std::string("unknown option '-") + static_cast<char>(optopt) + "'");
        RefuseUnknown(argv[optind - 1]);
    }
  }
  if (optind < argc) Refuse(std::string("unexpected argument '") + argv[optind] + "'");

  // What the window does not offer with two terms is refused, not dropped.
  if (r.terms == 2 && r.blank == BlankPlace::Third) Refuse("--blank third needs --terms 3");
  if (r.terms == 2 && mixed) Refuse("--mixed needs --terms 3");
  if (r.textEncoding != TextEncoding::Locale && r.format != FileFormat::Text) {
    Refuse("--encoding needs --format=text");
  }
  if (mixed) r.operations = r.operations | OperationKinds::Mixed;
  r.perLine = perLine.value_or(DefaultPerLine(r.terms));
  return options;
}

}  // namespace numbrook
