#!/usr/bin/env bash
# The release packages, made from the test build's programs and tried in a
# throw-away Wine prefix of their own:
#   installer_test.sh <source folder> <folder of purgo.exe and purgoc.exe> <package_probe.exe>
# The zip holds exactly the four files; the silent installer puts the files,
# the Start menu shortcut and the uninstall entry in place; the installed
# purgoc works; both programs carry version 1.25; the silent uninstaller
# removes the boot registration, the files, the shortcut and the entry, and
# leaves the user's settings.
set -uo pipefail

root=$1
programs=$2
probe=$3
work="$root/build/windows/package-test"
failed=0

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    failed=1
  fi
}
same() { [ "$1" = "$2" ] || { echo "     got:      $1"; echo "     expected: $2"; return 1; }; }
contains() { grep -qF -- "$2" <<<"$1" || { echo "     no \"$2\" in:"; sed 's/^/       /' <<<"$1"; return 1; }; }

rm -rf "$work"
mkdir -p "$work"
"$root/scripts/package" --from "$programs" --out "$work/dist" >/dev/null || { echo "FAIL packaging"; exit 1; }
version=$(sed -n 's/^project(OxlePurgo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip="$work/dist/OxlePurgo-$version-portable.zip"
setup="$work/dist/OxlePurgo-$version-setup.exe"

check "the zip holds purgo.exe, purgoc.exe, README.txt and LICENSE" \
  same "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" "LICENSE README.txt purgo.exe purgoc.exe "
check "SHA256SUMS matches both files" bash -c "cd '$work/dist' && sha256sum --quiet -c SHA256SUMS"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe,winebrowser.exe=d"
"$root/scripts/wine-prefix" "$WINEPREFIX" >/dev/null 2>&1 || { echo "FAIL no prefix"; exit 1; }
trap 'wineserver -k </dev/null >/dev/null 2>&1; rm -rf "$work"' EXIT
cp "$probe" "$WINEPREFIX/drive_c/package_probe.exe"
probe() { wine 'C:\package_probe.exe' "$@" </dev/null 2>/dev/null | tr -d '\r'; }

installed="$WINEPREFIX/drive_c/Program Files/Oxle Purgo"
startMenu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Oxle Purgo.lnk"
startup=$(winepath -u "$(probe startup)" 2>/dev/null)
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OxlePurgo'

cp "$setup" "$WINEPREFIX/drive_c/setup.exe"
wine 'C:\setup.exe' /S </dev/null >/dev/null 2>&1
check "the installer ends with 0" test $? -eq 0
for file in purgo.exe purgoc.exe README.txt LICENSE uninstall.exe; do
  check "installed: $file" test -f "$installed/$file"
done
check "the Start menu shortcut opens purgo.exe" \
  same "$(probe link 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Oxle Purgo.lnk')" \
  'C:\Program Files\Oxle Purgo\purgo.exe|'
entry=$(wine reg query "$key" /reg:64 </dev/null 2>/dev/null | tr -d '\r')
for value in "DisplayName    REG_SZ    Oxle Purgo" "DisplayVersion    REG_SZ    $version" \
  "Publisher    REG_SZ    Oxle" 'DisplayIcon    REG_SZ    C:\Program Files\Oxle Purgo\purgo.exe,0' \
  'UninstallString    REG_SZ    "C:\Program Files\Oxle Purgo\uninstall.exe"' \
  'QuietUninstallString    REG_SZ    "C:\Program Files\Oxle Purgo\uninstall.exe" /S' \
  "NoModify    REG_DWORD    0x1" "NoRepair    REG_DWORD    0x1" "EstimatedSize    REG_DWORD    0x"; do
  check "uninstall entry: $value" contains "$entry" "$value"
done
size=$(sed -n 's/.*EstimatedSize *REG_DWORD *\(0x[0-9a-fA-F]*\).*/\1/p' <<<"$entry")
check "the estimated size is the programs' (over 1 MB, in KB)" test $((size)) -gt 1024
for program in purgo.exe purgoc.exe; do
  check "$program says $version" same "$(probe version "C:\\Program Files\\Oxle Purgo\\$program")" \
    "$version|$version|Oxle Purgo|Oxle"
done
listing=$(wine 'C:\Program Files\Oxle Purgo\purgoc.exe' list </dev/null 2>/dev/null | tr -d '\r')
check "the installed purgoc lists the catalogue" contains "$listing" "User Temporary Folder"

# A user's settings, and the boot registration as "Always Clean on System
# Boot" leaves it with UAC off: the Startup shortcut with the version's name.
mkdir -p "$installed/savedata"
printf '<savedata><Version>%s</Version><Language>German</Language></savedata>' "$version" \
  >"$installed/savedata/SaveData.xml"
cp "$startMenu" "$startup/Oxle Purgo $version.lnk"
check "the boot registration is in place" test -f "$startup/Oxle Purgo $version.lnk"

wine 'C:\Program Files\Oxle Purgo\uninstall.exe' /S </dev/null >/dev/null 2>&1
# The uninstaller runs on from a copy of itself: wait for it to finish.
for _ in $(seq 1 120); do
  [ -e "$installed/uninstall.exe" ] || break
  sleep 0.5
done
check "the boot registration is gone" test ! -e "$startup/Oxle Purgo $version.lnk"
for file in purgo.exe purgoc.exe README.txt LICENSE uninstall.exe; do
  check "removed: $file" test ! -e "$installed/$file"
done
check "the Start menu shortcut is gone" test ! -e "$startMenu"
check "the uninstall entry is gone" bash -c "! wine reg query '$key' /reg:64 </dev/null >/dev/null 2>&1"
check "the settings stay" contains "$(cat "$installed/savedata/SaveData.xml" 2>/dev/null)" "<Language>German</Language>"

exit $failed
