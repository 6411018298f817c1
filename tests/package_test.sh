#!/usr/bin/env bash
# The program as a player gets it, from a build folder:
#   package_test.sh install BUILD VERSION   cmake --install into a temporary DESTDIR: the layout,
#                                           a headless game from there without --data, --version,
#                                           the desktop entry, the metainfo and the manual page
#   package_test.sh deb BUILD               cpack -G DEB: computed Depends, the files, a headless
#                                           game from the unpacked package, lintian's errors
# A tool that is not installed skips its check with a message (scripts/install-deps.sh installs
# them all).
set -euo pipefail
mode=$1 build=$(cd "$2" && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/gh02-package.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
skip() { echo "SKIP: $* is not installed"; }
have() { command -v "$1" >/dev/null; }

# A new game from the title, headless, with nothing of the user's read or written; its state at
# frame 110 must show the demo's first field. $1: the program; the rest: more environment.
play() {
  local program=$1 out=$tmp/play
  shift
  rm -rf "$out" && mkdir -p "$out"
  printf '10 shift down\n12 shift up\n' >"$out/keys.txt"
  if ! env HOME="$out" XDG_CONFIG_HOME="$out" XDG_DATA_HOME="$out" XDG_STATE_HOME="$out" "$@" \
    "$program" --headless --frames 120 --input "$out/keys.txt" --save-dir "$out/saves" \
    --dump-state 110:"$out/dump.json" >"$out/stdout" 2>"$out/stderr"; then
    fail "$program did not play:"
    cat "$out/stderr"
    return
  fi
  if ! have jq; then
    skip jq
    return
  fi
  local got
  got=$(jq -r '[.g_FieldName, .g_FieldScriptName, (.g_Characters | length > 0)] | join(" ")' \
    "$out/dump.json")
  [[ $got == "baske0 test true" ]] || fail "$program: the new game's state is \"$got\""
}

case $mode in
install)
  version=$3
  root=$tmp/root
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log"
  usr=$root/usr
  for f in games/gh02 share/gh02/SCR/test.qd share/gh02/Datas/Title.qd \
    share/applications/org.gh02.gh02.desktop share/metainfo/org.gh02.gh02.metainfo.xml \
    share/icons/hicolor/{48x48,128x128,256x256}/apps/gh02.png \
    share/icons/hicolor/scalable/apps/gh02.svg share/man/man6/gh02.6.gz \
    share/doc/gh02/README.md share/doc/gh02/docs/settings.md share/doc/gh02/copyright \
    share/doc/gh02/changelog.gz; do
    [[ -f $usr/$f ]] || fail "not installed: $f"
  done
  # The data is what the content builder made, and nothing else of the build's game folder.
  manifest=$build/tools/contentgen/content_manifest.txt
  (cd "$usr/share/gh02" && find . -type f | sed 's|^\./||' | sort) >"$tmp/installed.txt"
  sort "$manifest" | diff - "$tmp/installed.txt" >/dev/null ||
    fail "share/gh02 differs from the content manifest"

  # Found under ../share/gh02 from the program, with no other place to look.
  play "$usr/games/gh02" XDG_DATA_DIRS="$tmp/nowhere"
  # Found in $XDG_DATA_DIRS by a program that has none beside it; and none at all is said with
  # every place looked in.
  mkdir -p "$tmp/lone/bin" && cp "$usr/games/gh02" "$tmp/lone/bin/"
  play "$tmp/lone/bin/gh02" XDG_DATA_DIRS="$tmp/nowhere:$usr/share"
  code=0
  XDG_DATA_DIRS="$tmp/nowhere" "$tmp/lone/bin/gh02" --headless --frames 2 2>"$tmp/said" || code=$?
  expected="no game data in $tmp/lone/bin, $tmp/lone/share/gh02 or $tmp/nowhere/gh02"
  [[ $code == 1 ]] && grep -qF "$expected" "$tmp/said" ||
    fail "without data: exit $code, \"$(cat "$tmp/said")\""

  said=$("$usr/games/gh02" --version)
  [[ $said == "gh02 $version" || $said == "gh02 $version (git "*")" ]] ||
    fail "--version says \"$said\""

  if have desktop-file-validate; then
    desktop-file-validate "$usr/share/applications/org.gh02.gh02.desktop" ||
      fail "desktop-file-validate"
  else skip desktop-file-validate; fi
  if have appstreamcli; then
    appstreamcli validate --no-net --pedantic "$usr/share/metainfo/org.gh02.gh02.metainfo.xml" ||
      fail "appstreamcli validate"
  else skip appstreamcli; fi

  # The manual page renders without warnings and lists every option --help does.
  if have man; then
    page=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$usr/share/man/man6/gh02.6.gz" 2>"$tmp/warn")
    [[ ! -s $tmp/warn ]] && grep -q "^NAME" <<<"$page" ||
      fail "man -l: $(cat "$tmp/warn")"
    for option in $("$usr/games/gh02" --help | grep -oE '^ +(-h,)?--[a-z-]+' | sed 's/.*--/--/'); do
      grep -qe "$option" <<<"$page" || fail "the manual page does not list $option"
    done
  else skip man; fi
  ;;

deb)
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" ||
    { cat "$tmp/cpack.log"; exit 1; }
  deb=$(echo "$tmp"/pkg/gh02_*.deb)
  info=$(dpkg-deb -I "$deb")
  echo "$info" | grep -E '^ (Package|Version|Depends|Installed-Size):'
  # Depends: the libraries the program links, as dpkg-shlibdeps found them, with versions.
  depends=$(grep '^ Depends:' <<<"$info")
  for lib in libc6 libstdc++6 libsdl2-2.0-0 libopenal1 libsndfile1 libfreetype6 libfontconfig1; do
    [[ $depends == *" $lib (>= "* ]] || fail "Depends has no $lib (>= ...)"
  done
  dpkg-deb -x "$deb" "$tmp/unpacked"
  play "$tmp/unpacked/usr/games/gh02" XDG_DATA_DIRS="$tmp/nowhere"
  if have lintian; then
    # Errors and warnings fail; the informational tags a debugging build draws (no fortified
    # calls, no immediate binding) are shown.
    lintian --tag-display-limit 0 --display-info "$deb" 2>/dev/null | tee "$tmp/lintian.log" || true
    ! grep -qE '^[EW]:' "$tmp/lintian.log" || fail "lintian reports errors or warnings"
  else skip lintian; fi
  ;;
*)
  echo "usage: package_test.sh install BUILD VERSION | deb BUILD"
  exit 2
  ;;
esac

if [[ $failed -ne 0 ]]; then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "1 passed, 0 failed"
