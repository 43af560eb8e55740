#!/usr/bin/env bash
# Checks the layering of src/: every include points down the order of layers, and the portable core reaches no
# Windows header. Prints each offending include with file, line and the rule it breaks; exits 1 on any.
#
#   base -> data -> geometry -> slide -> gdx -> generators -> afx -> render -> ui -> dialogs
#
# A layer may include itself and the layers before it; afx, our MFC substitute, uses base only. base/win is the
# Win32 half of base. Usage: check_layers.sh [source root], default the project's src/.
set -u
root="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
order=(base data geometry slide gdx generators afx render ui dialogs)
core=" base data geometry slide gdx generators "
rank() { local i; for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }

bad=0
while IFS= read -r hit; do
    file="${hit%%:*}"; rest="${hit#*:}"; line="${rest%%:*}"; text="${rest#*:}"
    rel="${file#"$root"/}"
    from="${rel%%/*}"
    [ "$from" = "$rel" ] && continue                      # top-level files (dllmain, version) may use any layer
    from_win=0; case "$rel" in base/win/*) from_win=1 ;; esac
    if [[ "$text" =~ \#[[:space:]]*include[[:space:]]*\<(windows|winuser|wingdi|winbase|windef|ole2|objbase|shlobj|commctrl|oleauto|ocidl|olectl)\.h\> ]]; then
        if [[ "$core" == *" $from "* && $from_win -eq 0 ]]; then
            echo "$rel:$line: the portable core ($from) includes a Windows header: $text" >&2; bad=1
        fi
        continue
    fi
    [[ "$text" =~ \#[[:space:]]*include[[:space:]]*\"([a-z]+)/([^\"]*)\" ]] || continue
    to="${BASH_REMATCH[1]}"; to_path="${BASH_REMATCH[1]}/${BASH_REMATCH[2]}"
    rf=$(rank "$from"); rt=$(rank "$to")
    [ "$rt" -lt 0 ] && continue                           # not a layer folder
    if [[ "$to_path" == base/win/* && $from_win -eq 0 && "$core" == *" $from "* ]]; then
        echo "$rel:$line: the portable core ($from) includes the Win32 part of base: $to_path" >&2; bad=1
    elif [ "$from" = afx ] && [ "$to" != afx ] && [ "$to" != base ]; then
        echo "$rel:$line: afx uses base only, not $to: $to_path" >&2; bad=1
    elif [ "$rt" -gt "$rf" ] || { [ "$to" = afx ] && [[ "$core" == *" $from "* ]]; }; then
        echo "$rel:$line: $from may not include $to (includes point down: ${order[*]}): $to_path" >&2; bad=1
    fi
done < <(grep -rnE '^\s*#\s*include' "$root" --include=*.h --include=*.cpp --include=*.inc)

# The public umbrella of the portable core must stay free of Windows headers too.
umbrella="$(dirname "$root")/include/mav/mavcore.h"
if [ -f "$umbrella" ] && grep -nE '#\s*include\s*[<"](windows|afx/|render/|ui/|dialogs/)' "$umbrella" >&2; then
    echo "include/mav/mavcore.h: the portable umbrella reaches the Win32 layers" >&2; bad=1
fi
[ $bad -eq 0 ] || { echo "check_layers: includes against the order of layers" >&2; exit 1; }
