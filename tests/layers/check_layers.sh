#!/usr/bin/env bash
# Fails when a source file includes something its layer may not see:
#   - the core is a one-way stack: a folder includes only itself and the folders
#     below it (common, model, settings, logfile, costs, analysis, reports, planning, app);
#   - the core includes nothing of the windows or of the command line;
#   - the command line includes only the core and itself;
#   - a feature window (ui/main, ui/reports, ...) never includes another feature
#     window's folder; ui/common and ui/dialogs include no feature window, and
#     ui/dialogs, the lowest, not ui/common; only ui/app, which creates and
#     wires the windows, sees them all;
#   - serial (the serial-port lister) sees only the core; the command line and
#     ui/app are the ones that use it;
#   - render (the charts and the PDF report) sees only the core; the command
#     line and the windows use it;
#   - app (the desktop program's main) sees only ui/app and the core;
#   - every folder under src/ is one of these.
set -euo pipefail
src=${1:-"$(dirname "$0")/../../src"}
cd "$src"
core_stack=(common model settings logfile costs analysis reports planning app)
shared_ui=(dialogs common)
# The place of $1 among the remaining arguments (0 first), or -1.
place() {
  local want=$1 i=0 item
  shift
  for item in "$@"; do
    [ "$item" = "$want" ] && { echo "$i"; return; }
    i=$((i + 1))
  done
  echo -1
}
rank() { place "$1" "${core_stack[@]}"; }
shared_rank() { place "$1" "${shared_ui[@]}"; }
is_shared_ui() {
  local d
  for d in "${shared_ui[@]}"; do [ "$d" = "$1" ] && return 0; done
  return 1
}
bad=0
complain() { echo "$1:$2: includes \"$3\" ($4)"; bad=1; }
while IFS= read -r file; do
  IFS=/ read -r top sub _ <<<"$file"
  while IFS=: read -r line inc; do
    IFS=/ read -r itop isub _ <<<"$inc"
    case "$top" in
      core)
        case "$itop" in
          core)
            local_rank=$(rank "$sub"); inc_rank=$(rank "$isub")
            if [ "$local_rank" -lt 0 ] || [ "$inc_rank" -lt 0 ]; then
              complain "$file" "$line" "$inc" "core/$sub or core/$isub is not a known layer"
            elif [ "$inc_rank" -gt "$local_rank" ]; then
              complain "$file" "$line" "$inc" "core/$isub is above core/$sub"
            fi ;;
          *) complain "$file" "$line" "$inc" "the core never includes $itop/" ;;
        esac ;;
      serial)
        case "$itop" in core|serial) ;; *) complain "$file" "$line" "$inc" "serial/ sees only the core" ;; esac ;;
      render)
        case "$itop" in core|render) ;; *) complain "$file" "$line" "$inc" "render/ sees only the core" ;; esac ;;
      cli)
        case "$itop" in ui|app) complain "$file" "$line" "$inc" "the command line never includes $itop/" ;; esac ;;
      app)
        if [ "$itop" = ui ] && [ "$isub" != app ] || [ "$itop" = cli ] || [ "$itop" = serial ]; then
          complain "$file" "$line" "$inc" "the program's main sees only ui/app and the core"
        fi ;;
      ui)
        if [ "$itop" = ui ] && [ "$isub" != "$sub" ] && [ "$sub" != app ]; then
          if ! is_shared_ui "$isub"; then
            complain "$file" "$line" "$inc" "ui/$sub may not include the window folder ui/$isub"
          elif is_shared_ui "$sub" && [ "$(shared_rank "$isub")" -gt "$(shared_rank "$sub")" ]; then
            complain "$file" "$line" "$inc" "ui/$isub is above ui/$sub"
          fi
        fi
        case "$itop" in
          cli|app) complain "$file" "$line" "$inc" "the windows never include $itop/" ;;
          serial) [ "$sub" = app ] || complain "$file" "$line" "$inc" "only ui/app wires in serial/" ;;
        esac ;;
      *) complain "$file" "$line" "$inc" "src/$top is not a known folder" ;;
    esac
  done < <(grep -n '^#include "' "$file" | sed -E 's/^([0-9]+):#include "([^"]+)".*/\1:\2/')
done < <(find . -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort)
if [ "$bad" -ne 0 ]; then
  echo "layer check failed"
  exit 1
fi
echo "layer check passed"
