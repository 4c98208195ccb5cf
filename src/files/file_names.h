#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "generation/run_request.h"

namespace numbrook {

// The worksheet's path in a folder: the kind of problems,
// "题目列表", the date and the time in the user's short forms without their
// "-", "/" and ":" separators, and ".TXT", ".XLS" or ".PDF". Two runs of the same
// kind in the same second share a name; the later one replaces the file.
std::filesystem::path ComposeOutputFileName(const std::filesystem::path& tempFolder, const std::string& kindText,
                                            const std::tm& localTime, FileFormat exportFormat);

// The same in the given folder, which must exist (empty: the current
// folder, and the name alone); throws ExportError when it does not.
std::filesystem::path OutputFileNameNow(const std::filesystem::path& folder, const std::string& kindText,
                                        FileFormat exportFormat);

// The file a chosen --output names: in an existing folder (or a path ending
// in "/"), the default name inside it; a new name without an extension gets
// the format's. Throws ExportError when a folder named with "/" is missing.
std::filesystem::path ChosenOutputFileName(const std::filesystem::path& chosen, const std::string& kindText,
                                           FileFormat exportFormat);

// The answer key of a sheet: "答案" before the extension
// (…题目列表120726093015答案.XLS).
std::filesystem::path AnswerKeyName(const std::filesystem::path& sheet);

// Pupil k of a class set: the number, zero-padded to the width of the last
// one, before the extension ("口算-07.XLS" for 7 of 40).
std::filesystem::path NumberedName(const std::filesystem::path& sheet, int number, int last);

// Refuses a name given by the user that would mislead: control characters
// anywhere in it, or an extension of the other format (".txt" for a
// workbook, ".XLS" for text, in any case). Other extensions and none are
// the user's choice. Throws ExportError naming the file and the reason.
void CheckChosenName(const std::filesystem::path& file, FileFormat exportFormat);

// Refuses, before anything is written, a set whose names do not all fit
// the folder's file system (255 bytes a name on most): otherwise the first
// sheets would be named and a later key could not be. Throws ExportError
// naming the first name too long.
void CheckNameLengths(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& names);

}  // namespace numbrook
