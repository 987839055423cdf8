#!/usr/bin/env bash
# Installs the Debian packages rackgen needs to build, run and test, and only those
# that are missing. As root it installs them; otherwise it prints the command to run.
set -eu

packages=(
  g++ cmake make pkg-config
  freeglut3-dev libgl-dev libx11-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils x11-apps imagemagick tmux
  locales
  libcairo2-dev fonts-urw-base35 python3-ezdxf librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

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
