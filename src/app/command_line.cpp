#include "app/command_line.h"

#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "program_identity.h"

namespace numbrook {
namespace {

constexpr const char* kUsage =
    "Usage: numbrook [QT-OPTION]...\n"
    "Opens Numbrook's settings window, which makes arithmetic drill worksheets\n"
    "for primary-school pupils and opens them with the desktop's program.\n"
    "\n"
    "  -h, --help       show this help and exit\n"
    "  -V, --version    show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are passed on to Qt.\n"
    "To make worksheets without a window, use numbrook-sheet (see numbrook-sheet --help).\n";

constexpr const char* kNoDisplay =
    "numbrook: Numbrook's window needs a graphical desktop, and none can be reached here%s.\n"
    "To make a worksheet without a window, use numbrook-sheet, for example:\n"
    "  numbrook-sheet --format text\n"
    "See 'numbrook-sheet --help' for its options.\n";

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A display, or a platform that Qt was told to use instead of one.
bool HasDisplay(int argc, char** argv) {
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
  }
  return false;
}

QtMessageHandler qtHandler = nullptr;

void FatalToMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg && message.contains("platform plugin")) {
    std::fprintf(stderr, kNoDisplay, "");
    std::fflush(stderr);
    _exit(1);
  }
  if (qtHandler != nullptr) qtHandler(type, context, message);
}

}  // namespace

std::optional<int> HandleCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-V") == 0) {
      std::printf("numbrook %s\n", kVersionText);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
  }
  if (!HasDisplay(argc, argv)) {
    std::fprintf(stderr, kNoDisplay, " (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    return 1;
  }
  return std::nullopt;
}

void ExplainMissingDisplayOnFatal() { qtHandler = qInstallMessageHandler(FatalToMessage); }

}  // namespace numbrook
