#!/usr/bin/env bash
# Installs the Debian packages rackgen needs to build, run and test, and only those
# that are missing. As root it installs them; otherwise it prints the command to run.
#   install-deps.sh             everything: program, tests, benchmarks
#   install-deps.sh --program   only what building and running the program needs
#   install-deps.sh --package   that and what `make deb` needs to build the Debian package
set -eu

program_only=no
package=no
[ "${1:-}" = "--program" ] && program_only=yes
[ "${1:-}" = "--package" ] && program_only=yes && package=yes

packages=(
  g++ cmake make pkg-config
  freeglut3-dev libgl-dev libx11-dev
  libcairo2-dev fonts-urw-base35 fonts-ipafont-gothic
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
  # Optional: the STEP writer (step/), built only where OpenCASCADE is found.
  libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev libocct-data-exchange-dev
)
# The Debian package: dpkg-shlibdeps (dpkg-dev) finds its dependencies in the programs
# file(1) finds. The install test reads the man page (man-db), checks the desktop
# entry (desktop-file-utils) and the package (lintian), and completes (bash-completion).
if [ "$program_only" = no ] || [ "$package" = yes ]; then
  packages+=(dpkg-dev file)
fi
if [ "$program_only" = no ]; then
  packages+=(
    man-db desktop-file-utils lintian bash-completion
    libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils x11-apps imagemagick tmux
    locales
    python3-ezdxf python3-shapely python3-numpy librsvg2-bin ffmpeg poppler-utils
    admesh
    emscripten nodejs chromium fonts-ipafont-gothic
    occt-draw libocct-draw-dev
  )
  # occt-draw reads the STEP files back in their test; libocct-draw-dev gives it
  # the unversioned plugin libraries its pload opens.
  # poppler-utils (pdfinfo, pdftotext) reads the gear data sheet back; admesh checks the solids' meshes.
  # librsvg2-bin (rsvg-convert) also draws the web page's app icons in `make web`.
  # Debian's nodejs comes without npm; other builds of nodejs (NodeSource) carry
  # their own and conflict with Debian's npm package.
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The web page's tests speak to Chromium and check the page through three npm packages, pinned in
# tests/web/package-lock.json; installed again only when the lock has changed.
install_web_test_modules() {
  [ "$program_only" = yes ] && return 0
  local dir
  dir="$(dirname "$0")/../tests/web"
  if [ ! -f "$dir/node_modules/.package-lock.json" ] || [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error) ||
      echo "npm ci in tests/web failed: the web page's test will be skipped" >&2
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  install_web_test_modules
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "rackgen needs these Debian packages: ${missing[*]}" >&2
  echo "install them with:  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have no package lists yet; refresh them once if the install cannot find a package.
if ! apt-get install -y --no-install-recommends "${missing[@]}"; then
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
install_web_test_modules
