#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop needs of it.
# Arguments: build folder, source folder, version, application ID.
set -euo pipefail
build=$1 source=$2 version=$3 id=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli update-mime-database groff; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/test installs it)" >&2; exit 1; }
done

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
usr=$scratch/root/usr

expected=(
    bin/quirnel bin/quirnel-cli
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml
    share/mime/packages/$id.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/128x128/apps/$id.png
    share/icons/hicolor/256x256/apps/$id.png
    share/man/man1/quirnel.1 share/man/man1/quirnel-cli.1
    share/doc/quirnel/LICENSE share/doc/quirnel/copyright
)
for voice in "$source"/data/Dat/*.dat; do
    expected+=("share/quirnel/Dat/$(basename "$voice")")
done
if [ -d "$source/data/reference" ]; then
    while IFS= read -r file; do
        expected+=("share/quirnel/reference/${file#"$source"/data/reference/}")
    done < <(find "$source/data/reference" -type f)
fi
for file in "${expected[@]}"; do
    [ -f "$usr/$file" ] || fail "$file was not installed"
done

# The validators, on the installed files.
desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >"$scratch/appstream.txt" 2>&1 ||
    { cat "$scratch/appstream.txt" >&2; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo has no release entry for $version"
desktop_keywords=$(sed -n 's/^Keywords=//p' "$usr/share/applications/$id.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
metainfo_keywords=$(sed -n 's:.*<keyword>\(.*\)</keyword>.*:\1:p' "$usr/share/metainfo/$id.metainfo.xml" | sort)
[ "$desktop_keywords" = "$metainfo_keywords" ] ||
    fail "the keywords of the desktop entry and the metainfo differ"
update-mime-database "$usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
for type in x-quirnel-vowels x-quirnel-wavelist x-quirnel-listening-test; do
    [ -f "$usr/share/mime/application/$type.xml" ] || fail "MIME type application/$type missing"
    grep -q "^MimeType=.*application/$type;" "$usr/share/applications/$id.desktop" ||
        fail "the desktop entry does not open application/$type"
done
for page in quirnel quirnel-cli; do
    warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$usr/share/man/man1/$page.1" 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done

# The published measurements are not the project's own: the copyright file names the
# source of each table.
for table in "$usr"/share/quirnel/reference/*.csv; do
    [ -e "$table" ] || continue
    grep -q "^ $(basename "$table"): " "$usr/share/doc/quirnel/copyright" ||
        fail "the copyright file names no source for $(basename "$table")"
done

# The installed programs answer without a display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/quirnel" --version)" = "quirnel $version" ] ||
    fail "quirnel --version"
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/quirnel" --help | grep -q -- "--from-desktop" ||
    fail "quirnel --help"
[ "$("$usr/bin/quirnel-cli" --version)" = "quirnel-cli $version" ] || fail "quirnel-cli --version"

# Started as the menu entry starts it, in a new user's home folder: the installed voices
# are found without a question, and nothing is written into the home folder itself.
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/applications/$id.desktop")
read -r -a command <<<"${exec_line// %f/}"
home=$scratch/home
mkdir -p "$home/Documents"
(
    cd "$home"
    env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME HOME="$home" \
        XDG_DATA_DIRS="$scratch/no-system-data" QT_QPA_PLATFORM=offscreen \
        QUIRNEL_MESSAGES_TO_STDERR=1 QUIRNEL_REPORT_FIRST_PAINT=1 \
        timeout 120 "$usr/bin/${command[0]}" "${command[@]:1}" >"$scratch/out.txt" 2>"$scratch/err.txt"
) || { cat "$scratch/err.txt" >&2; fail "the menu entry's command did not start and end cleanly"; }
grep -q "^first-paint" "$scratch/out.txt" || fail "the window was not painted"
grep -q "Dat Directory" "$scratch/err.txt" && fail "the program asked for the voice folder"
[ -f "$home/.cache/quirnel/temp.wav" ] || fail "temp.wav is not in ~/.cache/quirnel"
left=$(cd "$home" && ls -A | grep -v -x -e .config -e .cache -e Documents || true)
[ -z "$left" ] || fail "written into the home folder: $left"
[ -z "$(ls -A "$home/Documents")" ] || fail "written into the documents folder"

# The desktop ties the window to its menu entry by the window's class (WM_CLASS on X11).
wm_class=$(sed -n 's/^StartupWMClass=//p' "$usr/share/applications/$id.desktop")
if command -v xvfb-run >/dev/null && command -v xprop >/dev/null; then
    # shellcheck disable=SC2016
    shown=$(cd "$home" && env -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$scratch/wm-config" \
        XDG_DATA_DIRS="$scratch/no-system-data" QT_QPA_PLATFORM=xcb QUIRNEL_MESSAGES_TO_STDERR=1 \
        timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        "$1" 2>/dev/null & program=$!
        for _ in $(seq 1200); do
            window=$(xwininfo -root -tree 2>/dev/null | awk "/\"quirnel\" \"/ {print \$1; exit}")
            [ -n "$window" ] && break
            sleep 0.1
        done
        [ -n "$window" ] && xprop -id "$window" WM_CLASS
        kill -TERM "$program"; wait "$program"' _ "$usr/bin/quirnel" 2>/dev/null || true)
    class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p' <<<"$shown")
    # A window that did not come up (no X server could start) is reported, not failed.
    if [ -z "$class" ]; then
        echo "SKIP: the window's class (no window came up under xvfb-run)" >&2
    elif [ "$class" != "$wm_class" ]; then
        fail "StartupWMClass=$wm_class, but the window's class is '$class'"
    fi
else
    echo "SKIP: the window's class (needs xvfb-run and xprop)" >&2
fi

# quirnel-cli chart finds the installed reference vowels from anywhere, without a display.
if [ -d "$source/data/reference" ]; then
    (cd "$home" && env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME HOME="$home" \
        XDG_DATA_DIRS="$scratch/no-system-data" "$usr/bin/quirnel-cli" chart \
        --reference weenink-1985:children --out "$scratch/chart.png" 2>/dev/null) &&
        [ -s "$scratch/chart.png" ] || fail "quirnel-cli chart did not find the installed reference vowels"
fi

[ "$failures" -eq 0 ] && echo "The installed layout is complete and valid."
exit "$failures"
