#pragma once

// A private X server (Xvfb) with a window manager (openbox) for tests and
// benchmarks that need what a real X server shows. Both are killed when the
// session ends.
#include <string>
#include <vector>
#include <sys/types.h>

namespace numbrook::testing {

class XSession {
 public:
  // Starts Xvfb on a display number that no other server holds (no socket,
  // no lock file), then openbox on it.
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // ":N", or empty when no server runs; then Missing() says why.
  const std::string& DisplayName() const { return display_; }
  const std::string& Missing() const { return missing_; }

  // The pointer that the server shows now, as XFixes reports it: its name
  // ("left_ptr", "watch", "xterm", ...; empty for an unnamed one) and its
  // image, pixel for pixel.
  struct Pointer {
    std::string name;
    std::vector<unsigned long> pixels;
    bool operator==(const Pointer&) const = default;
  };
  Pointer PointerShown();

  // Types Alt and a letter on the server's keyboard, as a person would, to
  // whichever window has the focus.
  void PressAltWith(char letter);

 private:
  void WaitForWindowManager() const;

  std::string display_, missing_;
  pid_t server_ = -1, manager_ = -1;
  void* connection_ = nullptr;  // for reading the pointer
};

}  // namespace numbrook::testing
