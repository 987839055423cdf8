#!/usr/bin/env bash
# install_test.sh BUILD_DIR VERSION WORK_DIR
# Installs the build into a temporary prefix and checks what a user gets: the
# program, its man page, desktop entry, icon and bash completion; then packs the
# Debian package, unpacks it and runs lintian on it. Exit 77 when a tool is missing.
set -u
build=$1 version=$2 work=$3

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }

for tool in cmake man desktop-file-validate; do
  command -v "$tool" >/dev/null || skip "no $tool (scripts/install-deps.sh installs it)"
done

rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }

for f in bin/rackgen share/man/man1/rackgen.1 share/applications/rackgen.desktop \
         share/icons/hicolor/scalable/apps/rackgen.svg share/bash-completion/completions/rackgen \
         share/doc/rackgen/copyright; do
  [ -s "$prefix/$f" ] || fail "$f not installed"
done
grep -q '<svg ' "$prefix/share/icons/hicolor/scalable/apps/rackgen.svg" || fail "the icon is no SVG"

# The installed program.
rackgen=$prefix/bin/rackgen
[ "$("$rackgen" --version | head -1)" = "rackgen $version" ] ||
  fail "--version prints '$("$rackgen" --version | head -1)', not 'rackgen $version'"
"$rackgen" --version | grep -q '^MIT License' || fail "--version does not name the licence"
help=$("$rackgen" --help) || fail "--help"
grep -q -- '--render FILE' <<<"$help" || fail "--help lacks --render"
(cd "$work" && "$rackgen" -z 8 --render scene3.png --scene 3 --step 80) || fail "--render"
[ "$(head -c 4 "$work/scene3.png" | tail -c 3)" = PNG ] || fail "--render wrote no PNG"

# The man page renders without a warning, with every section.
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/rackgen.1" >"$work/man.txt" 2>"$work/man.err" || fail "man -l"
[ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "man -l wrote to standard error"; }
grep -q "rackgen $version" "$work/man.txt" || fail "the man page is not of version $version"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' FILES EXAMPLES; do
  grep -q "^$section" "$work/man.txt" || fail "the man page has no $section"
done
# Every option --help names is in the man page and in the completion.
options=$(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
[ -n "$options" ] || fail "no options in --help"
for o in $options; do
  grep -q -- "^ *${o}\b" <(sed 's/, /\n/g' "$work/man.txt") || fail "the man page does not describe $o"
done

out=$(desktop-file-validate "$prefix/share/applications/rackgen.desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"

# The completion: --ren becomes --render; -- offers every long option; a file name after --render;
# the hands after --hand.
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _rackgen; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$prefix/share/bash-completion/completions/rackgen" "$@"
}
[ "$(complete_words rackgen -z 8 --ren)" = --render ] || fail "--ren completes to '$(complete_words rackgen -z 8 --ren)'"
offered=$(complete_words rackgen --)
for o in $options; do
  grep -qx -- "$o" <<<"$offered" || fail "the completion does not offer $o"
done
[ "$(cd "$work" && complete_words rackgen -z 8 --render scene3.p)" = scene3.png ] || fail "no file name after --render"
[ "$(complete_words rackgen -z 8 --helix-angle 20 --hand "" | tr '\n' ' ')" = "left right " ] || fail "no hands after --hand"

# The Debian package, from the same build.
for tool in cpack dpkg-deb dpkg-shlibdeps file lintian; do
  command -v "$tool" >/dev/null || skip "no $tool: the package is not checked (scripts/install-deps.sh installs it)"
done
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
deb=$(ls "$work"/deb/rackgen_"$version"_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no rackgen_${version}_ARCH.deb"
contents=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c"
for f in usr/bin/rackgen usr/share/man/man1/rackgen.1.gz usr/share/doc/rackgen/copyright \
         usr/share/applications/rackgen.desktop usr/share/bash-completion/completions/rackgen; do
  grep -q " \./$f\$" <<<"$contents" || fail "the package lacks $f"
done
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
[ "$("$work/root/usr/bin/rackgen" --version | head -1)" = "rackgen $version" ] || fail "the packaged rackgen's --version"
grep -q '^License: Expat' "$work/root/usr/share/doc/rackgen/copyright" || fail "the package's copyright names no MIT licence"
dpkg-deb -f "$deb" Maintainer | grep -q '^rackgen developers' || fail "the package's maintainer is not rackgen developers"
lintian "$deb" >"$work/lintian.txt" 2>&1
cat "$work/lintian.txt"
! grep -q '^E:' "$work/lintian.txt" || fail "lintian reports errors"
echo "install test passed"
