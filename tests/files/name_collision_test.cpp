// The hidden working file's random name meeting a file already there, on a
// file system that cannot make a file without a name (O_TMPFILE is refused
// here, as some network and FAT file systems do): the writer tries a new
// name, leaves the other file alone, and gives up with a message after many
// tries. The creation calls are caught on their way to the C library
// (linked with --wrap=open), and a file of the name about to be tried is
// really made first.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "sets_support/run_export.h"
#include "files_support/temp_folder.h"
#include "generation/problem_generator.h"

extern "C" int __real_open(const char* path, int flags, ...);

namespace {

const std::string kOthersFile = "another program's file\n";
std::vector<std::string> triedNames;
int collisionsToMake = 0;

}  // namespace

extern "C" int __wrap_open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0) {
    va_list arguments;
    va_start(arguments, flags);
    mode = static_cast<mode_t>(va_arg(arguments, int));
    va_end(arguments);
  }
  if ((flags & O_TMPFILE) == O_TMPFILE) {
    errno = EOPNOTSUPP;
    return -1;
  }
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.starts_with(".numbrook-") && (flags & O_EXCL) != 0) {
    triedNames.push_back(path);
    if (collisionsToMake > 0) {
      --collisionsToMake;
      const int other = __real_open(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
      if (other >= 0) {
        if (write(other, kOthersFile.data(), kOthersFile.size()) < 0) {}
        close(other);
      }
    }
  }
  return __real_open(path, flags, mode);
}

namespace numbrook::testing {
namespace {

struct CollisionCase {
  int collisions;
  bool written;
};

class NameCollision : public ::testing::TestWithParam<CollisionCase> {};

TEST_P(NameCollision, NewNameIsTriedAndTheOtherFileKept) {
  const CollisionCase c = GetParam();
  TempFolder folder;
  RunRequest request;
  request.count = 12;
  request.format = FileFormat::Text;
  const GenerationSettings settings = SetUpRun(request);
  SeededRandom random(3);
  ProblemTable table;
  ASSERT_TRUE(GenerateProblems(settings, random, Progress{}, table));

  triedNames.clear();
  collisionsToMake = c.collisions;
  const std::filesystem::path file = folder.path() / "sheet.TXT";
  const ExportResult result = RunExport(settings, table, Progress{}, file);
  collisionsToMake = 0;

  EXPECT_EQ(result.outcome == ExportOutcome::Written, c.written) << result.error;
  EXPECT_EQ(std::filesystem::exists(file), c.written);
  const std::size_t tries = c.written ? static_cast<std::size_t>(c.collisions) + 1 : triedNames.size();
  ASSERT_EQ(triedNames.size(), tries);
  EXPECT_EQ(std::set<std::string>(triedNames.begin(), triedNames.end()).size(), tries) << "a name tried twice";
  for (std::size_t i = 0; i < tries; ++i) {
    const bool collided = static_cast<int>(i) < c.collisions;
    if (collided) {
      EXPECT_EQ(ReadBytes(triedNames[i]), kOthersFile) << triedNames[i];
    } else {
      EXPECT_FALSE(std::filesystem::exists(triedNames[i])) << "working file left: " << triedNames[i];
    }
  }
  if (!c.written) {
    EXPECT_EQ(result.outcome, ExportOutcome::Failed);
    EXPECT_NE(result.error.find(file.string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("文件已存在"), std::string::npos) << result.error;
  }
}

// Every try colliding is a folder that someone fills as fast as names are
// drawn: the writer gives up, naming the file, instead of trying forever.
INSTANTIATE_TEST_SUITE_P(Collisions, NameCollision,
                         ::testing::Values(CollisionCase{0, true}, CollisionCase{1, true}, CollisionCase{7, true},
                                           CollisionCase{99, true}, CollisionCase{1000, false}));

}  // namespace
}  // namespace numbrook::testing
