# Shared by scripts/run and scripts/test: installs the Debian packages that
# are missing, then configures and builds Numbrook into build/.
# Sourced, not run: the caller sets -euo pipefail.

NUMBROOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NUMBROOK_BUILD="$NUMBROOK_ROOT/build"

BUILD_PACKAGES=(cmake make g++ qt6-base-dev libxlsxwriter-dev)

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
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_numbrook() {
  if [ ! -f "$NUMBROOK_BUILD/CMakeCache.txt" ]; then
    cmake -S "$NUMBROOK_ROOT" -B "$NUMBROOK_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$NUMBROOK_BUILD" -j2
}
