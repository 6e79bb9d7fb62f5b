#!/usr/bin/env bash
# Installs Slumra silently under Wine, checks the files and the uninstall registration, then
# uninstalls through "slumra.exe uninstall" and checks that everything the installer put there
# is gone while the user's diary is still there.
#
#   test-install.sh SETUP_EXE PROGRAM_DIR
#
# Runs in the project's Wine prefix (scripts/wine-env). With SLUMRA_INSTALLER_DIRECT=1 it starts
# the registered uninstaller itself instead of through slumra.exe.
set -uo pipefail

setup=${1:?usage: test-install.sh SETUP_EXE PROGRAM_DIR}
program_dir=${2:?usage: test-install.sh SETUP_EXE PROGRAM_DIR}

fail() {
    echo "installer: FAILED: $*" >&2
    exit 1
}

[ -f "$setup" ] || fail "no installer at $setup"
[ -d "$program_dir" ] || fail "no program folder at $program_dir"

# shellcheck source=SCRIPTDIR/../scripts/wine-env
source "$(dirname "$0")/../scripts/wine-env"
# Start menu shortcuts would otherwise become menu entries of the Linux desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Slumra'
win_dir='C:\Program Files\Slumra'
uninstall_string='"C:\Program Files\Slumra\uninstall.exe"'

run() {  # a Windows program, bounded in time
    timeout 60 wine "$@" </dev/null
}

# The value of one registry value of the uninstall key, empty when missing. Wine's reg prints
# CR LF lines: "    Name    REG_SZ    value".
reg_value() {
    run reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^    $1    REG_[A-Z_]*    //p"
}

key_exists() {
    run reg query "$key" >/dev/null 2>&1
}

# The files the installer must install: the program folder without look-at programs and
# without diaries a test run of the program may have left there.
expected_files() {
    (cd "$program_dir" &&
        find . \( -ipath ./user -prune \) -o \( -type f ! -iname slumra-look.exe ! -iname '*.ddf' -print \)) |
        sed 's|^\./||' | LC_ALL=C sort
}

dir=$(winepath -u "$win_dir" 2>/dev/null) || fail "winepath does not work"
shortcut=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Slumra.lnk' 2>/dev/null)
english=${shortcut%.lnk}' (English).lnk'
german=${shortcut%.lnk}' (Deutsch).lnk'
case "$dir" in "$WINEPREFIX"/*) ;; *) fail "install folder $dir lies outside the prefix $WINEPREFIX" ;; esac

# A run that was cut short leaves an installation behind; this is the test prefix, start clean.
rm -rf "$dir"
run reg delete "$key" /f >/dev/null 2>&1

start=$SECONDS

# Install.
run "$setup" /S || fail "the silent install ended with exit code $?"
[ -d "$dir" ] || fail "nothing installed in $win_dir"

installed=$( (cd "$dir" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) )
wanted=$( (expected_files; echo uninstall.exe) | LC_ALL=C sort)
if [ "$installed" != "$wanted" ]; then
    diff <(echo "$wanted") <(echo "$installed") >&2
    fail "the installed files differ from the program folder (< missing, > extra)"
fi
while IFS= read -r f; do
    cmp -s "$program_dir/$f" "$dir/$f" || fail "installed $f differs from the program folder's"
done < <(expected_files)
[ -f "$shortcut" ] || fail "no Start menu shortcut Slumra.lnk"
# One shortcut per language of the language file; a .lnk keeps its arguments in UTF-16.
language_shortcut() {  # FILE CODE
    [ -f "$1" ] || fail "no Start menu shortcut $(basename "$1")"
    tr -d '\0' <"$1" | grep -q -- "/lang:$2" || fail "$(basename "$1") does not start the program with /lang:$2"
}
language_shortcut "$english" 44
language_shortcut "$german" 49

# The registration the program's "uninstall" argument reads.
value=$(reg_value UninstallString)
[ "$value" = "$uninstall_string" ] || fail "UninstallString is [$value], not [$uninstall_string]"
[ "$(reg_value DisplayName)" = "Slumra" ] || fail "DisplayName is not Slumra"
[ "$(reg_value DisplayVersion)" = "2.2 release 2" ] || fail "DisplayVersion is not 2.2 release 2"

# A diary the user wrote with the program.
mkdir -p "$dir/User"
diary="$dir/User/Test.ddf"
diary_text='een droom'
printf '%s' "$diary_text" >"$diary"

# Uninstall. The uninstaller asks before it removes anything; no one answers here, so the
# registered command gets the silent switch (the program passes what follows the quoted path).
run reg add "$key" /v UninstallString /t REG_SZ /d "$uninstall_string /S" /f >/dev/null ||
    fail "cannot add the silent switch to UninstallString"
if [ "${SLUMRA_INSTALLER_DIRECT:-}" = 1 ]; then
    run "$win_dir\\uninstall.exe" /S || fail "the uninstaller ended with exit code $?"
else
    [ -f "$dir/slumra.exe" ] || fail "slumra.exe is not in $win_dir (is the program built?)"
    run "$win_dir\\slumra.exe" uninstall || fail "slumra.exe uninstall ended with exit code $?"
fi

# The uninstaller copies itself to %TEMP% and goes on there; removing the registration is its
# last step.
deadline=$((SECONDS + 60))
while key_exists; do
    [ $SECONDS -lt $deadline ] || fail "the uninstaller did not finish within 60 s"
    sleep 0.5
done

[ -f "$diary" ] || fail "the uninstaller removed the user's diary"
[ "$(cat "$diary")" = "$diary_text" ] || fail "the diary changed"
left=$( (cd "$dir" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort) )
[ "$left" = $'User\nUser/Test.ddf' ] || fail "after uninstall the folder holds more than the diary:"$'\n'"$left"
[ ! -e "$shortcut" ] && [ ! -e "$english" ] && [ ! -e "$german" ] || fail "a Start menu shortcut is still there"

rm -f "$diary"
rmdir "$dir/User" "$dir"
echo "installer: ok ($((SECONDS - start)) s)"
