#!/usr/bin/env bash
# Every command and option that a program's --help names is described in its manual page.
# Usage: check-manpages.sh CLI_PROGRAM WINDOW_PROGRAM SOURCE_DIR
set -uo pipefail
cli=$1 window=$2 source=$3
failures=0

# The page's text with groff's escapes taken out: "\-" is "-", fonts and "\c" vanish.
page_text() {
    sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\c//g' -e 's/\\e/\\/g' "$source/docs/man/$1.1.in"
}

check() { # page, help text
    local page=$1 help=$2 text word
    text=$(page_text "$page")
    # Commands: the first word of each usage line ("  render --voice ...").
    if [ "$page" = quirnel-cli ]; then
        for word in $(sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p; s/^  \([a-z][a-z-]*\)$/\1/p' <<<"$help"); do
            grep -q -E "^(\.BI? )?$word( |$)" <<<"$text" ||
                { echo "FAIL: $page.1 does not describe the command $word" >&2; failures=$((failures + 1)); }
        done
    fi
    for word in $(grep -o -E -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u); do
        grep -q -F -- "$word" <<<"$text" ||
            { echo "FAIL: $page.1 does not mention the option $word" >&2; failures=$((failures + 1)); }
    done
}

cli_help=$("$cli" --help) || { echo "FAIL: quirnel-cli --help" >&2; exit 1; }
# The closing note on how options take values names no option of its own.
check quirnel-cli "$(sed '/^Options take their value/,$d' <<<"$cli_help")"
window_help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$window" --help-all) ||
    { echo "FAIL: quirnel --help-all" >&2; exit 1; }
check quirnel "$(sed '/^Options of Qt/,$d' <<<"$window_help")"

[ "$failures" -eq 0 ] && echo "The manual pages name every command and option of --help."
exit "$failures"
