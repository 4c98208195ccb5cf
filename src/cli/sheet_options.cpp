#include "cli/sheet_options.h"

#include <getopt.h>

#include <stdexcept>
#include <string_view>

#include "generation/settings_table.h"

namespace numbrook {
namespace {

[[noreturn]] void Refuse(const std::string& message) { throw std::invalid_argument(message); }

std::string Quote(const std::string& text) { return "“" + text + "”"; }

// A whole number written as decimal digits, within the setting's limits.
int WholeNumber(NumberSettingId id, const std::string& value) {
  const NumberSetting& setting = SettingOf(id);
  const bool digits = !value.empty() && value.size() <= 6 && value.find_first_not_of("0123456789") == std::string::npos;
  const int number = digits ? std::stoi(value) : setting.lowest - 1;
  if (number < setting.lowest || number > setting.highest) {
    Refuse("--" + std::string(setting.option) + " 应为 " + std::to_string(setting.lowest) + " 到 " +
           std::to_string(setting.highest) + " 的整数，而不是" + Quote(value));
  }
  return number;
}

// One of a few named values, by its position in the list.
template <std::size_t N>
int OneOf(const char* option, const std::array<const char*, N>& names, const std::string& value) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == names[i]) return static_cast<int>(i);
  }
  std::string list;
  for (std::size_t i = 0; i < N; ++i) list += (i == 0 ? "" : i + 1 == N ? " 或 " : "、") + std::string(names[i]);
  Refuse(std::string(option) + " 应为 " + list + "，而不是" + Quote(value));
}

// The names of the choices, in the order of their enums.
constexpr std::array<const char*, 5> kBlankNames = {"compute", "first", "second", "third", "random"};
constexpr std::array<const char*, 3> kFormatNames = {"text", "excel", "pdf"};
constexpr std::array<const char*, 2> kEncodingNames = {"utf-8", "gbk"};
constexpr std::array<const char*, 2> kTermNames = {"2", "3"};
constexpr std::array<const char*, 3> kRemainderNames = {"never", "always", "mixed"};
constexpr std::array<const char*, 3> kBracketNames = {"never", "always", "mixed"};

// --tables=LO-HI: two whole numbers within the tables' limits, LO not above HI.
TablesRange TablesOf(const std::string& value) {
  const TablesSetting& s = kTablesSetting;
  const std::size_t dash = value.find('-');
  const auto number = [](const std::string& digits) {
    const bool valid = !digits.empty() && digits.size() <= 2 && digits.find_first_not_of("0123456789") == std::string::npos;
    return valid ? std::stoi(digits) : -1;
  };
  const int from = dash == std::string::npos ? -1 : number(value.substr(0, dash));
  const int to = dash == std::string::npos ? -1 : number(value.substr(dash + 1));
  if (from < s.lowest || to > s.highest || from > to) {
    Refuse("--" + std::string(s.option) + " 应为 LO-HI，两个 " + std::to_string(s.lowest) + " 到 " +
           std::to_string(s.highest) + " 的整数且 LO 不大于 HI（如 2-9），而不是" + Quote(value));
  }
  return {from, to};
}

std::uint64_t SeedOf(const std::string& seed) {
  // Every 64-bit seed a sheet can show, up to 18446744073709551615.
  if (seed.empty() || seed.size() > 20 || seed.find_first_not_of("0123456789") != std::string::npos) {
    Refuse("--seed 应为 0 到 18446744073709551615 的整数，而不是" + Quote(seed));
  }
  try {
    return std::stoull(seed);
  } catch (const std::out_of_range&) {
    Refuse("--seed 最大为 18446744073709551615，而不是" + Quote(seed));
  }
}

// getopt_long's codes for the options that have no short form.
enum LongOnly {
  kTerms = 256, kAdd, kNoAdd, kSub, kMixed, kBlank, kCount, kPerRow, kAddRange, kSubRange,
  kNoCarry, kNoBorrow, kVertical, kNoNewPage, kFormat, kSeed, kOpen, kAnswers, kSheets, kDistinct,
  kEncoding, kTwoSided, kLarge, kMul, kDiv, kTables, kRemainder, kNoTrivial, kBrackets, kSteps
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
    {"two-sided", no_argument, nullptr, kTwoSided},        {"large", no_argument, nullptr, kLarge},
    {"mul", no_argument, nullptr, kMul},                   {"div", no_argument, nullptr, kDiv},
    {"tables", required_argument, nullptr, kTables},       {"remainder", required_argument, nullptr, kRemainder},
    {"no-trivial", no_argument, nullptr, kNoTrivial},      {"brackets", required_argument, nullptr, kBrackets},
    {"steps", no_argument, nullptr, kSteps},
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
      for (std::size_t i = 0; i < fits.size(); ++i) list += (i == 0 ? "" : i + 1 == fits.size() ? " 或 " : "、") + fits[i];
      Refuse("选项" + Quote(word) + "有歧义，可能是 " + list);
    }
  }
  Refuse("未知的选项" + Quote(word));
}

// "题目数量，1 到 1000（默认 100）": the meaning with the setting's limits and start-up value.
std::string NumberMeaning(NumberSettingId id, const std::string& meaning, const std::string& moreDefault = "") {
  const NumberSetting& s = SettingOf(id);
  return meaning + "，" + std::to_string(s.lowest) + " 到 " + std::to_string(s.highest) + "（默认 " +
         std::to_string(s.startUp) + moreDefault + "）";
}

}  // namespace

const std::string& SheetUsage() {
  struct Line {
    std::string option;
    std::string meaning;
  };
  // An empty option continues the meaning above; an empty meaning heads a group.
  static const std::string text = [] {
    const Line lines[] = {
        {"题目：", ""},
        {"    --terms=2|3", "每题两个数或三个数（默认 2）"},
        {"    --add, --no-add", "加法（默认有）"},
        {"    --sub", "减法"},
        {"    --mul", "乘法（表内乘法）"},
        {"    --div", "除法（表内除法；有余数见 --remainder）"},
        {"", "各种运算每题机会相同；三个数有乘除时为"},
        {"", "两步混合运算，先乘除后加减"},
        {"    --mixed", "一题之中加减混合（三个数）"},
        {"    --blank=MODE", "填空的位置：compute（计算题，默认）、first、"},
        {"", "second、third（三个数）或 random"},
        {"    --count=N", NumberMeaning(NumberSettingId::ProblemCount, "题目数量")},
        {"    --per-row=N", NumberMeaning(NumberSettingId::PerLine, "每行题数", "，三个数时 " + std::to_string(DefaultPerLine(3)))},
        {"    --add-range=N", NumberMeaning(NumberSettingId::AddRange, "加法在 N 以内")},
        {"    --sub-range=N", NumberMeaning(NumberSettingId::SubRange, "减法在 N 以内")},
        {"    --no-carry", "加法不进位"},
        {"    --no-borrow", "减法不退位"},
        {"    --tables=LO-HI", "乘除出自 LO 到 HI 的乘法口诀，" + std::to_string(kTablesSetting.lowest) + " 到 " +
                                   std::to_string(kTablesSetting.highest) + "（默认 " +
                                   std::to_string(kTablesSetting.startUpFrom) + "-" +
                                   std::to_string(kTablesSetting.startUpTo) + "）"},
        {"", "一题属于较大乘数的口诀"},
        {"    --remainder=MODE", "除法的余数：never（不带余数，默认）、"},
        {"", "always（带余数）或 mixed（都有）"},
        {"    --no-trivial", "不出简单题：乘数、除数、商不为 1，"},
        {"", "加减法的数和得数不为 0（两步题每一步都如此）"},
        {"    --brackets=MODE", "三个数的括号：never（不带括号，默认）、"},
        {"", "always（带括号）或 mixed（都有）；"},
        {"", "括号只加在改变运算顺序的地方"},
        {"练习纸：", ""},
        {"    --format=FORMAT", "text、excel 或 pdf（默认 excel）"},
        {"    --encoding=NAME", "文本文件的编码：utf-8 或 gbk"},
        {"", "（默认随区域设置）"},
        {"    --vertical", "每题再以竖式列出"},
        {"    --steps", "脱式计算：三个数的每题下留两行“= ____”，"},
        {"", "每行题数默认 " + std::to_string(kPerLineWithSteps)},
        {"    --no-new-page", "题号跨页连续，不在每页重新编号"},
        {"    --large", "大字号：PDF 的题目至少 20 磅，"},
        {"", "一行排不下时减少每行题数"},
        {"    --two-sided", "双面打印：PDF 套题的每份"},
        {"", "都从奇数页开始，答案不留空页"},
        {"    --seed=N", "固定的种子：同样的命令写出同样的练习纸；"},
        {"", "每份练习纸都印有自己的编号，用它可重新生成"},
        {"-o, --output=PATH", "写到 PATH，而不是当前文件夹"},
        {"    --open", "写好后用桌面的程序打开"},
        {"套题：", ""},
        {"    --answers", "同时写出每份的答案（……答案.XLS）"},
        {"    --sheets=N", NumberMeaning(NumberSettingId::SheetCount, "N 份不同的练习纸")},
        {"", "编号为 -1、-2……（10 份以上补零：-01）；"},
        {"", "PDF 时为一个文件（答案另一个）"},
        {"    --distinct", "同一份中题目不重复"},
        {"", ""},
        {"-h, --help", "显示本帮助并退出"},
        {"-V, --version", "显示版本并退出"},
    };
    constexpr std::size_t kMeaningColumn = 27;
    std::string usage =
        "用法：numbrook-sheet [选项]...\n"
        "在当前文件夹中写一份口算练习纸，并输出它的路径。--output 为文件夹时\n"
        "在其中用通常的文件名；没有扩展名的文件名加上格式的扩展名（.TXT、.XLS、.PDF）。\n";
    for (const Line& line : lines) {
      if (line.meaning.empty()) {
        usage += "\n" + line.option + (line.option.empty() ? "" : "\n");
        continue;
      }
      const std::string lead = "  " + line.option;
      usage += lead + std::string(kMeaningColumn - lead.size(), ' ') + line.meaning + "\n";
    }
    return usage +
           "\n"
           "退出状态：0 表示每份都已写好；1 表示有一份没能写好；2 表示选项有误，\n"
           "或 --distinct 给不出那么多不同的题目；3 表示都已写好，但 --open\n"
           "没能打开（原因见标准错误输出）。\n";
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
  bool tablesGiven = false;
  bool remainderGiven = false;
  bool bracketsGiven = false;
  optind = 0;  // restart the scan: the parser may run more than once in a process
  opterr = 0;  // our messages, not getopt's
  for (int code; (code = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
    const std::string value = optarg != nullptr ? optarg : "";
    switch (code) {
      case 'h': options.help = true; break;
      case 'V': options.version = true; break;
      case kTerms: r.terms = 2 + OneOf("--terms", kTermNames, value); break;
      case kAdd: r.operations = r.operations | OperationKinds::Addition; break;
      case kNoAdd:
        r.operations = static_cast<OperationKinds>(static_cast<unsigned>(r.operations) &
                                                   ~static_cast<unsigned>(OperationKinds::Addition));
        break;
      case kSub: r.operations = r.operations | OperationKinds::Subtraction; break;
      case kMul: r.operations = r.operations | OperationKinds::Multiplication; break;
      case kDiv: r.operations = r.operations | OperationKinds::Division; break;
      case kTables:
        r.tables = TablesOf(value);
        tablesGiven = true;
        break;
      case kRemainder:
        r.remainders = static_cast<Remainders>(OneOf("--remainder", kRemainderNames, value));
        remainderGiven = true;
        break;
      case kNoTrivial: r.noTrivial = true; break;
      case kBrackets:
        r.brackets = static_cast<Brackets>(OneOf("--brackets", kBracketNames, value));
        bracketsGiven = true;
        break;
      case kSteps: r.steps = true; break;
      case kMixed: mixed = true; break;
      case kBlank: r.blank = static_cast<BlankPlace>(OneOf("--blank", kBlankNames, value)); break;
      case kCount: r.count = WholeNumber(NumberSettingId::ProblemCount, value); break;
      case kPerRow: perLine = WholeNumber(NumberSettingId::PerLine, value); break;
      case kAddRange: r.addRange = WholeNumber(NumberSettingId::AddRange, value); break;
      case kSubRange: r.subRange = WholeNumber(NumberSettingId::SubRange, value); break;
      case kNoCarry: r.carrying = false; break;
      case kNoBorrow: r.borrowing = false; break;
      case kVertical: r.columnForm = true; break;
      case kLarge: r.largeType = true; break;
      case kTwoSided: r.twoSided = true; break;
      case kNoNewPage: r.numberEachPage = false; break;
      case kFormat: r.format = static_cast<FileFormat>(OneOf("--format", kFormatNames, value)); break;
      case kSeed: r.seed = SeedOf(value); break;
      case kEncoding:
        r.textEncoding = OneOf("--encoding", kEncodingNames, value) == 0 ? TextEncoding::Utf8 : TextEncoding::Gbk;
        break;
      case 'o':
        if (value.empty()) Refuse("--output 需要一个文件名");
        options.output = value;
        break;
      case kOpen: options.open = true; break;
      case kAnswers: options.answers = true; break;
      case kDistinct: options.distinct = true; break;
      case kSheets: options.sheets = WholeNumber(NumberSettingId::SheetCount, value); break;
      case ':': Refuse(std::string(argv[optind - 1]) + " 需要一个值");  // the word as written
      default:
        // An unknown or ambiguous long option leaves optopt at 0; the word
        // itself is the last one getopt read. A known one given a value it
        // takes none of ("--vertical=1") lands here too.
        if (optopt >= 256) Refuse(NameOf(optopt) + " 不带值");
        if (optopt != 0) Refuse(std::string("未知的选项“-") + static_cast<char>(optopt) + "”");
        RefuseUnknown(argv[optind - 1]);
    }
  }
  if (optind < argc) Refuse(std::string("多余的参数“") + argv[optind] + "”");

  // What the window does not offer with two terms is refused, not dropped.
  if (r.terms == 2 && r.blank == BlankPlace::Third) Refuse("--blank=third 需要 --terms=3");
  if (r.terms == 2 && mixed) Refuse("--mixed 需要 --terms=3");
  if (r.textEncoding != TextEncoding::Locale && r.format != FileFormat::Text) {
    Refuse("--encoding 只用于 --format=text");
  }
  if (r.largeType && r.format != FileFormat::Pdf) Refuse("--large 只用于 --format=pdf");
  if (r.twoSided && r.format != FileFormat::Pdf) Refuse("--two-sided 只用于 --format=pdf");
  if (!ChoosesAnOperation(r.operations)) {
    Refuse("没有选择运算：--no-add 时请给出 --sub、--mul 或 --div");
  }
  const bool times = Has(r.operations, OperationKinds::Multiplication);
  const bool division = Has(r.operations, OperationKinds::Division);
  if (tablesGiven && !times && !division) Refuse("--tables 需要 --mul 或 --div");
  if (remainderGiven && !division) Refuse("--remainder 需要 --div");
  if (r.terms == 3 && r.remainders != Remainders::Never) Refuse("--remainder 只用于二个数的除法：两步题没有余数");
  if (r.terms == 2 && bracketsGiven) Refuse("--brackets 需要 --terms=3");
  if (r.terms == 2 && r.steps) Refuse("--steps 需要 --terms=3");
  if (r.brackets != Brackets::Never && !AdmitsBrackets(r.operations)) {
    // --mixed mixes the + and − of three terms read from left to right; a
    // bracket's subtraction is chosen with --sub.
    Refuse(std::string("--brackets=") + kBracketNames[static_cast<std::size_t>(r.brackets)] +
           " 所选的运算出不了带括号的题目：需要 --sub" + (mixed ? "（--mixed 不带括号，请另给 --sub）" : "") +
           "，或加减与乘除同用，或 --mul 与 --div 同用");
  }
  // Two-step problems, and any with working lines, ask for their result in line form.
  const bool twoSteps = ChoosesTwoSteps(r.terms, r.operations, r.brackets);
  const std::string blankName = "--blank=" + std::string(kBlankNames[static_cast<std::size_t>(r.blank)]);
  if (twoSteps && r.blank != BlankPlace::Result) {
    Refuse(blankName + " 不能用于三个数的乘除或带括号的题目：这些题目只填得数（--blank=compute）");
  }
  if (r.steps && r.blank != BlankPlace::Result) Refuse("--steps 只用于计算题，不能与 " + blankName + " 同用");
  if (twoSteps && r.columnForm) Refuse("--vertical 不能用于三个数的乘除或带括号的题目；写出计算过程请用 --steps（脱式计算）");
  if (r.steps && r.columnForm) Refuse("--vertical 不能与 --steps 同用");
  if (mixed) r.operations = r.operations | OperationKinds::Mixed;
  r.perLine = perLine.value_or(DefaultPerLine(r.terms, r.steps));
  return options;
}

}  // namespace numbrook
