#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed mirolat-cli
# there: its help, the sample system log imported into a fresh modem log, and a
# report over it. Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install check: $*" >&2; exit 1; }
for f in bin/mirolat-cli share/mirolat/MrlTips.txt share/mirolat/help/index.html share/mirolat/help/wizard.html \
         share/applications/org.mirolat.Mirolat.desktop share/metainfo/org.mirolat.Mirolat.metainfo.xml \
         share/icons/hicolor/48x48/apps/org.mirolat.Mirolat.png \
         share/icons/hicolor/scalable/apps/org.mirolat.Mirolat.svg; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
if [ -e "$build/src/mirolat" ]; then [ -x "$prefix/bin/mirolat" ] || fail "bin/mirolat was not installed"; fi
if command -v help2man >/dev/null; then
  [ -s "$prefix/share/man/man1/mirolat-cli.1" ] || fail "the manual page was not installed"
  grep -q 'import-pppd' "$prefix/share/man/man1/mirolat-cli.1" || fail "the manual page lacks import-pppd"
fi

if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.mirolat.Mirolat.metainfo.xml" >/dev/null ||
    fail "the AppStream metadata does not validate"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/org.mirolat.Mirolat.desktop" || fail "the desktop entry does not validate"
fi

export MIROLAT_CONFIG_DIR="$work/config" WinDir="$work/logs"
mkdir -p "$WinDir"
cli="$prefix/bin/mirolat-cli"
"$cli" --help | grep -q 'import-pppd' || fail "--help lacks import-pppd"
"$cli" import-pppd --help | grep -q 'journalctl' || fail "import-pppd --help is incomplete"
out=$("$cli" import-pppd --from "$src/samples/pppd-syslog.log" --year 2026)
echo "$out"
grep -q 'Appended 16 entries' <<<"$out" || fail "the import did not append the sample's 16 entries"
again=$("$cli" import-pppd --from "$src/samples/pppd-syslog.log" --year 2026)
grep -q 'Nothing new' <<<"$again" || fail "a second import added entries"
report=$("$cli" report --log "$WinDir/ModemLog.txt" --from 2026-12-30 --to 2027-01-01 --locale en_US)
echo "$report"
grep -q '5551234' <<<"$report" || fail "the report lacks the dialled number 5551234"
grep -q '5559876' <<<"$report" || fail "the report lacks the dialled number 5559876"
hook="$prefix/share/mirolat/ppp/ip-down.d/mirolat"
[ -x "$hook" ] || fail "the pppd ip-down hook was not installed executable"
printf 'MIROLAT_CLI=%s\nMIROLAT_NUMBER=5550101\nMIROLAT_LOG=%s\n' "$cli" "$work/hook-log.txt" >"$work/hook.conf"
MIROLAT_HOOK_CONF="$work/hook.conf" CONNECT_TIME=600 BYTES_SENT=100 BYTES_RCVD=2000 \
  "$hook" >/dev/null || fail "the installed hook failed"
hooked=$("$cli" report --log "$work/hook-log.txt" --from 2000-01-01 --to 2099-12-31 --locale en_US)
grep -q '5550101' <<<"$hooked" || fail "the report lacks the session the hook recorded"
echo "install check passed"
