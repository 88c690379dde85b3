#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed program through its link on the
# command path, offscreen: it must find all the plugins it ships with in its own folder, the
# desktop files must name the installed program, icon and file type, and the install manifest
# must list every file installed.
#   InstalledProgram.sh <cmake> <build folder>
set -u
cmake="$1"
build="$2"
work="$(mktemp -d)"
vltpid=""
cleanup() {
    if [ -n "$vltpid" ]; then
        kill -9 "$vltpid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; [ -f "${log:-}" ] && tail -20 "$log"; exit 1; }

prefix="$work/prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.out" 2>&1 ||
    { cat "$work/install.out"; fail "cmake --install failed"; }
home="$prefix/lib/vlt"

[ "$(readlink "$prefix/bin/vlt")" = "../lib/vlt/VLT" ] ||
    fail "bin/vlt is not the relative link to ../lib/vlt/VLT: $(readlink "$prefix/bin/vlt")"
[ -x "$home/VLT" ] || fail "lib/vlt/VLT is missing"
shipped="Commagate Commaleaf Dicebox Gaugebox Keygate Keyleaf Oldcrate Peekpane Plainleaf
Rowgate Rowleaf Tapboard Webleaf"
expected="$(printf '%s.so\n' $shipped)"
installed="$(cd "$home/Plugins" && ls -1 -- *.so)"
[ "$installed" = "$expected" ] ||
    fail "installed plugins differ from the shipped ones: $(echo $installed)"
[ -f "$home/Plugins/KBLayouts.ini" ] || fail "KBLayouts.ini is not beside the keyboard plugin"
[ -f "$home/help/Introduction.html" ] || fail "the help pages are missing"
echo "layout: bin/vlt -> ../lib/vlt/VLT, 13 plugins, KBLayouts.ini, help"

entry="$prefix/share/applications/orvelline-vaultwick.desktop"
[ -f "$entry" ] || fail "the desktop entry is missing"
value() { sed -n "s/^$1=//p" "$entry"; }
icon="$(value Icon)"
[ -n "$icon" ] && [ -f "$prefix/share/icons/hicolor/16x16/apps/$icon.png" ] ||
    fail "the desktop entry's icon \"$icon\" is not installed"
exec_program="$(value Exec | cut -d' ' -f1)"
[ -x "$prefix/bin/$exec_program" ] || fail "the desktop entry starts \"$exec_program\", not bin/vlt"
type="$(value MimeType | tr -d ';')"
grep -q "<mime-type type=\"$type\"" "$prefix/share/mime/packages/orvelline-vaultwick.xml" ||
    fail "the MIME package does not declare $type"
echo "desktop entry: Exec $exec_program, Icon $icon, MimeType $type"

export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
export HOME="$work"
export QT_QPA_PLATFORM=offscreen
data="$XDG_CONFIG_HOME/Orvelline/Orvelline Vaultwick"
mkdir -p "$data"
log="$data/VLT.log"
printf '[MainSettings]\r\nLogActions = 1\r\n' > "$data/Config.ini"

# Started from elsewhere, through the link: only the program's real folder can lead to the plugins.
(cd "$work" && exec "$prefix/bin/vlt" >"$work/vlt.out" 2>&1) &
vltpid=$!
for _ in $(seq 300); do
    grep -q "Showing window" "$log" 2>/dev/null && break
    kill -0 "$vltpid" 2>/dev/null || fail "the installed program ended at start: $(cat "$work/vlt.out")"
    sleep 0.1
done
grep -q "Showing window" "$log" 2>/dev/null || fail "the installed program did not open its window"
loaded="$(grep -c 'VLTPlg()\\Name: ' "$log")"
[ "$loaded" -eq 13 ] || fail "$loaded plugins loaded, not 13"
tried="$(tr -d '\r' <"$log" | sed -n 's/.*Trying to load plugin: //p' | sort -u)"
[ "$tried" = "$(printf "$home/Plugins/%s\n" $expected)" ] ||
    fail "plugins were looked for elsewhere: $(echo $tried)"
echo "started: 13 plugins loaded from $home/Plugins"

kill -TERM "$vltpid"
for _ in $(seq 50); do kill -0 "$vltpid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vltpid" 2>/dev/null && fail "the installed program did not end"
vltpid=""
echo "ended"

# Whatever the install wrote, its manifest lists: removing those files leaves empty folders only.
while IFS= read -r file || [ -n "$file" ]; do
    rm -f -- "$file"
done <"$build/install_manifest.txt"
left="$(find "$prefix" ! -type d)"
[ -z "$left" ] || fail "the install manifest does not list: $(echo $left)"
echo "uninstalled: removing the manifest's files leaves only empty folders"
