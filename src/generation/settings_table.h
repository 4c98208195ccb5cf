#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace numbrook {

// The whole numbers a run takes.
enum class NumberSettingId { ProblemCount, PerLine, AddRange, SubRange, SheetCount };

// One whole number of a run, as every front end and document takes it: its
// option on the command line, its limits, its start-up value (the window's,
// and the command line's default) and what the window's field puts in
// place of a value outside the limits, at once and at Start alike.
struct NumberSetting {
  NumberSettingId id;
  std::string_view option;  // "count" for --count
  int lowest;
  int highest;
  int startUp;
  int replacement;
};

inline constexpr std::array<NumberSetting, 5> kNumberSettings = {{
    {NumberSettingId::ProblemCount, "count", 1, 1000, 100, 1000},
    {NumberSettingId::PerLine, "per-row", 1, 10, 4, 4},  // three terms: 3, see DefaultPerLine
    {NumberSettingId::AddRange, "add-range", 1, 99, 20, 20},
    {NumberSettingId::SubRange, "sub-range", 1, 99, 10, 10},
    {NumberSettingId::SheetCount, "sheets", 1, 1000, 1, 1},  // a slip of the hand makes one sheet, not a thousand
}};

constexpr const NumberSetting& SettingOf(NumberSettingId id) { return kNumberSettings[static_cast<std::size_t>(id)]; }

// The multiplication tables a run draws × and ÷ from, as a range LO-HI:
// its option, the limits of both ends and the start-up range.
struct TablesSetting {
  std::string_view option;  // "tables" for --tables=LO-HI
  int lowest;
  int highest;
  int startUpFrom;
  int startUpTo;
};

inline constexpr TablesSetting kTablesSetting = {"tables", 1, 9, 1, 9};

// The problems on a line when none are given, and what an invalid count of
// them becomes: fewer for the wider three-term problems, and two when each
// has lines for its working (脱式) under it.
inline constexpr int kPerLineWithSteps = 2;
constexpr int DefaultPerLine(int terms, bool steps = false) {
  if (steps) return kPerLineWithSteps;
  return terms == 3 ? 3 : SettingOf(NumberSettingId::PerLine).startUp;
}

}  // namespace numbrook
