# Shared by scripts/run, scripts/test and scripts/package: installs the
# Debian packages that are missing, then configures and builds Numbrook into
# build/. Sourced, not run: the caller sets -euo pipefail.

NUMBROOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NUMBROOK_BUILD="$NUMBROOK_ROOT/build"
NUMBROOK_LOG="$NUMBROOK_BUILD/build.log"

# Every date the build and the package record (rcc's resource times, cpack's
# file times) is the release's own, from the changelog's trailer, so the same
# commit gives the same bytes wherever and whenever it is built.
SOURCE_DATE_EPOCH=$(date -d "$(sed -n 's/^ -- .*>  //p' "$NUMBROOK_ROOT/resources/changelog" | head -n 1)" +%s)
export SOURCE_DATE_EPOCH

# What the two programs need to build, and to run as a teacher expects;
# complete for a minbase Debian 12 root. libxlsxwriter-dev's pkg-config file
# asks for -lz without depending on zlib1g-dev; Qt's CMake files look for
# xkbcommon. numbrook-sheet alone needs only the first group.
SHEET_BUILD_PACKAGES=(cmake make g++ pkg-config libxlsxwriter-dev libminizip-dev zlib1g-dev libcairo2-dev libpango1.0-dev)
WINDOW_BUILD_PACKAGES=(qt6-base-dev libxkbcommon-dev libcurl4-openssl-dev)
BUILD_PACKAGES=("${SHEET_BUILD_PACKAGES[@]}" "${WINDOW_BUILD_PACKAGES[@]}")
RUNTIME_PACKAGES=(fonts-noto-cjk xdg-utils xdg-user-dirs qt6-translations-l10n ca-certificates)
TEST_PACKAGES=(libgtest-dev python3-openpyxl python3-xlsxwriter locales poppler-utils
               xvfb openbox libx11-dev libxfixes-dev libxtst-dev libxcursor1 dmz-cursor-theme)
PACKAGE_PACKAGES=(dpkg-dev file)

# Says what failed, shows the log and ends the script.
fail_with_log() {
  echo "$1; the log follows ($NUMBROOK_LOG)." >&2
  tail -n 60 "$NUMBROOK_LOG" >&2
  exit 1
}

# Starts this run's log; the previous run's stays as build.log.1.
start_log() {
  mkdir -p "$NUMBROOK_BUILD"
  [ -f "$NUMBROOK_LOG" ] && mv -f "$NUMBROOK_LOG" "$NUMBROOK_LOG.1"
  : >"$NUMBROOK_LOG"
}

# Installs each named package that dpkg does not list as installed.
ensure_packages() {
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      as_root=(sudo)
    else
      echo "Numbrook needs these Debian packages: ${missing[*]}" >&2
      echo "Install them as root (apt-get install ${missing[*]}) and run this again." >&2
      exit 1
    fi
  fi
  echo "Installing Debian packages: ${missing[*]}"
  { "${as_root[@]}" apt-get update -qq &&
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  } >>"$NUMBROOK_LOG" 2>&1 || fail_with_log "Installing the packages failed"
}

# Configures build/ with the tests (BUILD_TESTING=ON), without them (OFF), or
# as it already is (KEEP, OFF when there is none yet). Without them only the
# two programs are built, and GoogleTest is not needed. The folders' own
# names are mapped out of debug info and __FILE__, so two clones in different
# places build the same bytes.
configure_numbrook() {
  local testing=$1 cache="$NUMBROOK_BUILD/CMakeCache.txt"
  if [ "$testing" = KEEP ]; then
    testing=$(sed -n 's/^BUILD_TESTING:BOOL=//p' "$cache" 2>/dev/null || true)
    testing=${testing:-OFF}
  fi
  local flags="-ffile-prefix-map=$NUMBROOK_ROOT=. -ffile-prefix-map=$NUMBROOK_BUILD=./build"
  if [ -f "$cache" ] && grep -qx "BUILD_TESTING:BOOL=$testing" "$cache" &&
     grep -qxF "CMAKE_CXX_FLAGS:STRING=$flags" "$cache"; then
    return 0
  fi
  echo "Configuring build/ (tests $( [ "$testing" = ON ] && echo included || echo left out ))"
  cmake -S "$NUMBROOK_ROOT" -B "$NUMBROOK_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags" -DBUILD_TESTING="$testing" >>"$NUMBROOK_LOG" 2>&1 ||
    fail_with_log "Configuring failed"
}

# Builds the named targets, or everything without a name.
build_numbrook() {
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  echo "Building ${*:-everything} (the log is in build/build.log)"
  cmake --build "$NUMBROOK_BUILD" -j2 "${targets[@]}" >>"$NUMBROOK_LOG" 2>&1 || fail_with_log "The build failed"
}
