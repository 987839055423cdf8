#!/usr/bin/env bash
# Makes the README's scene pictures and gear drawings with rackgen's own
# --render and --gear: no window and no X server needed.
#   scripts/readme-pictures.sh [BUILD_DIR]   (default: build)
set -eu

build=${1:-build}
rackgen=$build/rackgen
out=docs/screens
[ -x "$rackgen" ] || { echo "no $rackgen: build it first (make build)" >&2; exit 1; }
mkdir -p "$out"

# render Z X FILE SCENE STEP ZOOM
render() {
  "$rackgen" --teeth "$1" --shift "$2" --render "$out/$3" --scene "$4" --step "$5" --zoom "$6"
}

# Scenes 1 and 2 stop at the end of their curve: a step past it shows the last.
render 20 0 scene1_addendum_involute_z20.svg 1 1000 0
render 20 0 scene2_dedendum_involute_z20.svg 2 1000 0
render 8 0 scene3_undercut_z8.svg 3 80 0
# Hundreds of trace racks: as pixels, a vector file would hold every one of them.
render 8 0 scene4_rack_rolling_z8.png 4 300 15
render 10 0.5 scene5_rack_gear_meshing_z10_x05.png 5 150 18
render 10 0.5 scene6_one_tooth_z10_x05.svg 6 0 0
render 10 0.5 scene7_whole_gear_z10_x05.svg 7 0 18
"$rackgen" --teeth 12 --shift 0.6 --mate 24 --mate-shift 0.36 --render "$out/scene8_gears_in_mesh_z12_24.svg" --scene 8 --step 25 --zoom 12

"$rackgen" --teeth 8 --shift 0.3 --gear "$out/gear_z8_x03.svg" --module 2

# The page on a desktop screen and on a phone: screenshots the page's test
# takes in headless Chromium (make test, or ctest -R web_page_test).
shots=$build/test-artifacts/web_page_test
for screen in desktop phone; do
  if [ -f "$shots/screen_$screen.png" ]; then cp "$shots/screen_$screen.png" "$out/web_$screen.png"
  else echo "no $shots/screen_$screen.png: run the page's test first" >&2; fi
done
echo "pictures written to $out/"
