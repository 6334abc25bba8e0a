#!/bin/bash
# scripts/run.sh [--headless] [--update-docs]
#
# Builds tavi.exe and its distribution folder (preset win64), then installs and
# uninstalls tavi under 64-bit Wine, starting tavi.exe from a copy of the
# distribution folder, in a throwaway prefix in build/win64/run/ (never in
# ~/.wine, never in the tests' session folder).
#
#   with a display   you answer the real dialogs on it;
#   without one, in CI, or with --headless
#                    the dialogs are answered automatically on a private Xvfb
#                    display, each one photographed into
#                    build/win64/run/screenshots/, and what was installed and
#                    what the uninstall left are printed and checked.
#   --update-docs    (automatic mode) also copies the screenshots into docs/.
#
# Exit code 0 on success; otherwise the reason is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

usage() { sed -n '2,16s/^# \{0,1\}//p' "$0"; }

headless=0
update_docs=0
for arg in "$@"; do
  case "$arg" in
    --headless) headless=1 ;;
    --update-docs) update_docs=1 ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run: unknown option $arg" >&2; usage >&2; exit 2 ;;
  esac
done

die() { echo "run: $*" >&2; exit 1; }

# Who answers the dialogs: a person on a display that answers, or this script.
mode=auto
if ((headless)); then
  why="--headless"
elif [[ -n "${CI:-}" ]]; then
  why="CI"
elif [[ -z "${DISPLAY:-}" ]]; then
  why="no DISPLAY"
elif ! timeout 5 xdpyinfo >/dev/null 2>&1; then
  why="display $DISPLAY does not answer"
else
  mode=user
fi
if [[ $mode == user ]] && ((update_docs)); then
  die "--update-docs needs the automatic mode: add --headless"
fi

scripts/setup.sh

build="$root/build/win64"
run="$build/run"
mkdir -p "$run"
echo "== build (preset win64)"
if ! cmake --preset win64 >"$run/configure.log" 2>&1; then
  cat "$run/configure.log"
  die "configure failed"
fi
cmake --build --preset win64 --target distribution tavi_e2e_probe tavi_wine_desktop_keeper
dist="$(sed -n 's/^TAVI_DIST_DIR:INTERNAL=//p' "$build/CMakeCache.txt")"
probe="$build/tests/e2e/tavi_e2e_probe.exe"
keeper="$build/tests/wine/tavi_wine_desktop_keeper.exe"
[[ -f "$dist/tavi.exe" ]] || die "no distribution folder with tavi.exe at '$dist'"
[[ -f "$probe" && -f "$keeper" ]] || die "the Wine helpers were not built ($probe, $keeper)"

# The session: its own prefix and display, ended on every way out.
export TAVI_WINE_DIR="$run"
# shellcheck disable=SC2317  # called by the trap
stop_session() {
  "$root/tests/wine/wine-session" stop >/dev/null 2>&1 ||
    echo "run: could not stop the Wine session in $run" >&2
}
trap stop_session EXIT
trap 'echo "run: interrupted" >&2; exit 130' INT
trap 'exit 143' TERM

if [[ $mode == user ]]; then
  echo "== Wine on your display $DISPLAY: you answer the dialogs"
  export TAVI_WINE_DISPLAY="$DISPLAY"
  # Wine runs with the session's own HOME; it must still find the display's key.
  if [[ -z "${XAUTHORITY:-}" && -f "$HOME/.Xauthority" ]]; then
    export XAUTHORITY="$HOME/.Xauthority"
  fi
else
  echo "== Wine on a private Xvfb display ($why): the dialogs are answered automatically"
  unset TAVI_WINE_DISPLAY
fi
tests/wine/wine-session start "$keeper"

args=(--mode "$mode" --dist "$dist" --probe "$probe")
if ((update_docs)); then args+=(--docs "$root/docs"); fi
status=0
python3 scripts/run_walkthrough.py "${args[@]}" || status=$?
if ((status == 0)); then
  echo "run: done in $SECONDS s"
else
  echo "run: failed after $SECONDS s (Wine's log: $run/session.log)" >&2
fi
exit "$status"
