#!/usr/bin/env bash
# Holds the tree of the code: each folder includes only its own headers and those of the
# folders its row below names. The rows are the ones the README's "Layers" subsection
# shows, and the libraries of CMakeLists.txt link exactly these edges; both are compared
# with the rows on every run.
#
# Every #include is read, quoted, angle-bracket or relative ("../bars/x.h" is resolved
# against the including file's folder), in product code, tests and benchmarks, and so are
# the files a resource script names (BITMAP, ICON, CURSOR, RCDATA). tests/<folder> may
# include what <folder> may, <folder> itself and tests/support. A header that is in no
# folder of the tree (the platform's, the compiler's, GoogleTest) is not looked at.
#
#   scripts/check_layers.sh              check the tree; prints file:line of each breach
#   scripts/check_layers.sh --self-test  plants includes of every kind in a scratch copy
#                                        and checks that exactly the wrong ones are named
set -uo pipefail
SCRIPT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")"
ROOT="${PURGELET_LAYERS_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

# folder: the folders it may include besides itself.
TREE='
framework:
catalogue: framework
toolkit/core: framework
toolkit/theme: framework toolkit/core
toolkit/menus: framework toolkit/core toolkit/theme
toolkit/dialogs: framework toolkit/core toolkit/theme toolkit/menus
toolkit/bars: framework toolkit/core toolkit/theme toolkit/menus toolkit/dialogs
toolkit/pickers: framework toolkit/core toolkit/theme toolkit/menus toolkit/dialogs
toolkit/grid: framework toolkit/core toolkit/theme toolkit/menus toolkit/dialogs toolkit/pickers
toolkit/reportgrid: framework toolkit/core toolkit/theme toolkit/menus toolkit/dialogs toolkit/grid
app: framework catalogue toolkit/core toolkit/theme toolkit/menus toolkit/dialogs toolkit/bars toolkit/pickers toolkit/grid toolkit/reportgrid res
res: framework
tests/support: framework
bench: framework catalogue toolkit/core toolkit/theme toolkit/menus toolkit/dialogs toolkit/bars toolkit/pickers toolkit/grid toolkit/reportgrid app res tests/support
'
SCANNED="framework catalogue toolkit app res tests bench"

# The rows as "folder: a b c" lines, sorted, for comparing with the README and CMakeLists.txt.
tree_rows() {
    printf '%s\n' "$TREE" | awk -F: 'NF == 2 {
        n = split($2, w, /[[:space:]]+/); s = ""
        for (i = 1; i <= n; i++) if (w[i] != "") s = s " " w[i]
        print $1 ":" s }' | sort
}

# The README's table: | folder | may include (comma-separated, or "nothing") |
readme_rows() {
    awk '/^### Layers/ { on = 1; next } on && /^#/ { on = 0 }
         on && /^\|/ {
             n = split($0, c, "|"); if (n < 4) next
             f = c[2]; gsub(/[`[:space:]]/, "", f); sub(/\/$/, "", f)
             if (f == "" || f ~ /^-+$/ || f == "Folder") next
             l = c[3]; gsub(/[`,]/, " ", l); m = split(l, w, /[[:space:]]+/); s = ""
             for (i = 1; i <= m; i++) { sub(/\/$/, "", w[i]); if (w[i] != "" && w[i] != "nothing") s = s " " w[i] }
             print f ":" s }' "$ROOT/README.md" | sort
}

# CMakeLists.txt: purgelet_library(<target> <folder> <targets it links>...), one per line.
cmake_rows() {
    awk '/^purgelet_library\(/ {
             line = $0; sub(/^purgelet_library\(/, "", line); sub(/\).*/, "", line)
             n = split(line, w, /[[:space:]]+/); folder[w[1]] = w[2]; deps[w[1]] = ""
             for (i = 3; i <= n; i++) if (w[i] != "") deps[w[1]] = deps[w[1]] " " w[i]
             order[++count] = w[1] }
         END {
             for (k = 1; k <= count; k++) {
                 t = order[k]; m = split(deps[t], d, " "); s = ""
                 for (i = 1; i <= m; i++) if (d[i] != "") s = s " " ((d[i] in folder) ? folder[d[i]] : "?" d[i])
                 print folder[t] ":" s } }' "$ROOT/CMakeLists.txt" | sort
}

# Each row with its folders sorted.
sorted_edges() {
    local f rest
    while IFS=: read -r f rest; do
        # shellcheck disable=SC2086  # the words of the row, one per line
        printf '%s:%s\n' "$f" "$(printf '%s\n' $rest | sort | sed '/^$/d; s/^/ /' | tr -d '\n')"
    done
}

check_tables() {
    local bad=0 rows readme cmake
    rows="$(tree_rows | sorted_edges)"
    readme="$(readme_rows | sorted_edges)"
    if [ "$rows" != "$readme" ]; then
        echo "README.md: the table in \"### Layers\" differs from the rows in scripts/check_layers.sh:"
        diff <(printf '%s\n' "$rows") <(printf '%s\n' "$readme") | sed -n 's/^</  script:/p; s/^>/  README:/p'
        bad=1
    fi
    cmake="$(cmake_rows | sorted_edges)"
    local libs
    libs="$(printf '%s\n' "$cmake" | cut -d: -f1)"
    rows="$(printf '%s\n' "$rows" | grep -xE "($(printf '%s\n' "$libs" | paste -sd'|')):.*")"
    if [ -z "$cmake" ] || [ "$rows" != "$cmake" ]; then
        echo "CMakeLists.txt: the libraries' links differ from the rows in scripts/check_layers.sh:"
        diff <(printf '%s\n' "$rows") <(printf '%s\n' "$cmake") | sed -n 's/^</  script:/p; s/^>/  CMakeLists.txt:/p'
        bad=1
    fi
    return $bad
}

# Every include and named resource file of the scanned folders, checked against the rows.
check_includes() {
    local dirs=() d
    for d in $SCANNED; do [ -d "$d" ] && dirs+=("$d"); done
    {
        printf '%s\n' "$TREE" | awk -F: 'NF == 2 { print "T " $1 ":" $2 }'
        find "${dirs[@]}" -type f | sed 's/^/F /'
        find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.inl' -o -name '*.c' \
             -o -name '*.cpp' -o -name '*.rc' \) -print0 | sort -z |
            xargs -0 grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]|^[[:space:]]*[A-Za-z0-9_]+[[:space:]]+(BITMAP|ICON|CURSOR|RCDATA)[[:space:]]+("|[A-Z]+[[:space:]])' /dev/null |
            sed 's/^/I /'
    } | awk '
        function norm(p,    n, a, i, k, o, out) {
            n = split(p, a, "/"); k = 0
            for (i = 1; i <= n; i++) {
                if (a[i] == "" || a[i] == ".") continue
                if (a[i] == "..") { if (k == 0) return ""; k--; continue }
                o[++k] = a[i]
            }
            out = ""
            for (i = 1; i <= k; i++) out = out (i > 1 ? "/" : "") o[i]
            return out
        }
        # toolkit/<part>, tests/<folder>, tests/toolkit/<part>, or the top folder.
        function folder(p,    a, n) {
            n = split(p, a, "/")
            if (a[1] == "toolkit") return (n >= 3) ? "toolkit/" a[2] : "toolkit"
            if (a[1] == "tests" && a[2] == "toolkit") return (n >= 4) ? "tests/toolkit/" a[3] : "tests/toolkit"
            if (a[1] == "tests") return (n >= 3) ? "tests/" a[2] : "tests"
            return (n >= 2) ? a[1] : "."
        }
        function has_row(f) { return (f in row) || (f ~ /^tests\// && substr(f, 7) in row) }
        function allowed(from, to,    base) {
            if (from == to || ((from, to) in edge)) return 1
            if (from ~ /^tests\// && !(from in row)) {
                base = substr(from, 7)
                return to == base || to == "tests/support" || ((base, to) in edge)
            }
            return 0
        }
        function may(from,    base, s, k) {
            base = (from in row) ? from : substr(from, 7)
            s = row[base]
            if (!(from in row)) s = base (s == "" ? "" : ", " s) ", tests/support"
            return s == "" ? "nothing but itself" : s
        }
        $1 == "T" {
            line = substr($0, 3); f = line; sub(/:.*/, "", f); rest = substr(line, length(f) + 2)
            row[f] = ""
            n = split(rest, w, /[[:space:]]+/)
            for (i = 1; i <= n; i++) if (w[i] != "") { edge[f, w[i]] = 1; row[f] = row[f] (row[f] == "" ? "" : ", ") w[i] }
            next
        }
        $1 == "F" { have[substr($0, 3)] = 1; next }
        {
            line = substr($0, 3); file = line; sub(/:.*/, "", file)
            rest = substr(line, length(file) + 2); ln = rest; sub(/:.*/, "", ln)
            text = substr(rest, length(ln) + 2)
            if (text ~ /^[[:space:]]*#/) {
                if (!match(text, /[<"][^>"]*[>"]/)) next
                quote = substr(text, RSTART, 1); name = substr(text, RSTART + 1, RLENGTH - 2); what = "includes"
            } else {
                if (!match(text, /"[^"]*"/)) next
                quote = "\""; name = substr(text, RSTART + 1, RLENGTH - 2); what = "names"
            }
            dir = file; sub(/\/[^\/]*$/, "", dir)
            # The compilers search the including file folder (quoted names only), then the
            # top of the tree and tests/ (the tests and benchmarks), and res/ for resource scripts.
            target = ""
            if (quote == "\"" && have[norm(dir "/" name)]) target = norm(dir "/" name)
            else if (have[norm(name)]) target = norm(name)
            else if (have[norm("tests/" name)]) target = norm("tests/" name)
            else if (file ~ /\.rc$/ && have[norm("res/" name)]) target = norm("res/" name)
            else if (name ~ /^(framework|catalogue|toolkit|app|res|tests|bench)\//) target = norm(name)
            else if (name ~ /(^|\/)\.\.?\//) target = norm(dir "/" name)
            if (target == "" || target !~ /^(framework|catalogue|toolkit|app|res|tests|bench)\//) next
            from = folder(file); to = folder(target)
            if (!has_row(from)) {
                printf "%s:%s: %s has no row in the table of scripts/check_layers.sh\n", file, ln, from
                bad++
            } else if (!allowed(from, to)) {
                shown = (quote == "<") ? "<" name ">" : "\"" name "\""
                printf "%s:%s: %s %s %s (%s); %s may include %s\n", file, ln, from, what, shown, to, from, may(from)
                bad++
            }
        }
        END {
            if (bad > 0) { printf "check_layers: %d include(s) leave the tree\n", bad; exit 1 }
        }'
}

check() {
    cd "$ROOT" || return 1
    local status=0
    check_tables || status=1
    check_includes || status=1
    return $status
}

# ---- self-test ---------------------------------------------------------------------------------

# file|line planted in it|whether the check must name it (bad) or pass it (ok)
PLANTS='
toolkit/theme/zz_planted.cpp|#include "toolkit/bars/control_bar.h"|bad
toolkit/theme/zz_planted.cpp|#include <toolkit/bars/control_bar.h>|bad
toolkit/theme/zz_planted.cpp|#include "../bars/control_bar.h"|bad
toolkit/theme/zz_planted.cpp|  #  include   "../../toolkit/menus/popup_menu_wnd.h"|bad
toolkit/theme/zz_planted.cpp|#include "tests/support/message_pump.h"|bad
toolkit/theme/zz_planted.cpp|#include "../core/bitmap.h"|ok
toolkit/theme/zz_planted.cpp|#include "paint_manager.h"|ok
toolkit/theme/zz_planted.cpp|#include <windows.h>|ok
toolkit/pickers/zz_planted.h|#include "toolkit/bars/control_bar.h"|bad
toolkit/pickers/zz_planted.h|#include "../dialogs/button.h"|ok
toolkit/bars/zz_planted.cpp|#include <toolkit/pickers/color_dlg.h>|bad
toolkit/bars/zz_planted.cpp|#include "toolkit/dialogs/button.h"|ok
toolkit/grid/zz_planted.cpp|#include "toolkit/pickers/color_dlg.h"|ok
toolkit/grid/zz_planted.cpp|#include "catalogue/groups.h"|bad
toolkit/reportgrid/zz_planted.cpp|#include "../pickers/color_dlg.h"|bad
toolkit/reportgrid/zz_planted.cpp|#include "../grid/grid_wnd.h"|ok
toolkit/reportgrid/zz_planted.rc|#include "res/resource.h"|bad
toolkit/reportgrid/zz_planted.rc|30999 BITMAP "res/main_toolbar.bmp"|bad
toolkit/reportgrid/zz_planted.rc|30998 BITMAP "toolkit/reportgrid/zz_planted.bmp"|ok
catalogue/zz_planted.cpp|#include "toolkit/core/bitmap.h"|bad
framework/zz_planted.h|#include "../catalogue/groups.h"|bad
app/zz_planted.cpp|#include "tests/support/message_pump.h"|bad
app/zz_planted.cpp|#include "res/resource.h"|ok
toolkit/zz_loose/zz_planted.cpp|#include "framework/framework.h"|bad
tests/toolkit/theme/zz_planted_test.cpp|#include "toolkit/menus/popup_menu_wnd.h"|bad
tests/toolkit/theme/zz_planted_test.cpp|#include "tests/framework/framework_test_app.h"|bad
tests/toolkit/theme/zz_planted_test.cpp|#include "support/message_pump.h"|ok
tests/toolkit/theme/zz_planted_test.cpp|#include "toolkit/core/bitmap.h"|ok
tests/toolkit/bars/zz_planted_test.cpp|#include <toolkit/pickers/color_dlg.h>|bad
tests/toolkit/bars/zz_planted_test.cpp|#include "../../../res/resource.h"|bad
tests/support/zz_planted.h|#include "toolkit/core/bitmap.h"|bad
tests/support/zz_planted.h|#include "framework/framework.h"|ok
tests/app/zz_planted_test.cpp|#include "res/resource.h"|ok
tests/app/zz_planted_test.cpp|#include "toolkit/reportgrid/report_grid.h"|ok
bench/zz_planted.cpp|#include "app/purgelet_app.h"|ok
bench/zz_planted.cpp|#include "tests/support/message_pump.h"|ok
'

SCRATCH=""
self_test() {
    local status=0 expected got d scratch
    SCRATCH="$(mktemp -d)" || return 1
    trap 'rm -rf "$SCRATCH"' EXIT
    scratch="$SCRATCH"
    cp "$ROOT/README.md" "$ROOT/CMakeLists.txt" "$scratch/" || return 1
    for d in $SCANNED; do
        if [ -d "$ROOT/$d" ]; then cp -r "$ROOT/$d" "$scratch/" || return 1; fi
    done
    # The clean copy passes.
    if ! PURGELET_LAYERS_ROOT="$scratch" "$SCRIPT" >"$scratch/clean.out"; then
        echo "check_layers self-test: the unchanged tree is refused:"; cat "$scratch/clean.out"; return 1
    fi
    # Plant the lines; each planted file numbers its lines from 1.
    expected="$(printf '%s\n' "$PLANTS" | awk -F'|' -v root="$scratch" 'NF == 3 {
        f = root "/" $1; n[$1]++
        sub(/\/[^\/]*$/, "", f); system("mkdir -p \"" f "\"")
        print $2 >> (root "/" $1); close(root "/" $1)
        if ($3 == "bad") print $1 ":" n[$1] }' | sort)"
    : >"$scratch/toolkit/reportgrid/zz_planted.bmp"
    PURGELET_LAYERS_ROOT="$scratch" "$SCRIPT" >"$scratch/planted.out"
    local rc=$?
    got="$(grep -oE '^[^: ]+:[0-9]+:' "$scratch/planted.out" | sed 's/:$//' | sort)"
    if [ $rc -eq 0 ]; then
        echo "check_layers self-test: the planted includes pass"; status=1
    fi
    if [ "$expected" != "$got" ]; then
        echo "check_layers self-test: the check named other lines than the planted wrong ones:"
        diff <(printf '%s\n' "$expected") <(printf '%s\n' "$got") |
            sed -n 's/^</  not named:/p; s/^>/  named wrongly:/p'
        echo "  its output:"; sed 's/^/    /' "$scratch/planted.out"
        status=1
    fi
    # A row of the README or a library link that leaves the table is named too.
    sed -i 's/^| *toolkit\/bars\/* *|\(.*\)|$/| toolkit\/bars |\1, toolkit\/pickers |/' "$scratch/README.md"
    sed -i 's/^purgelet_library(toolkit_pickers toolkit\/pickers /&toolkit_bars /' "$scratch/CMakeLists.txt"
    rm -rf "$scratch"/toolkit/*/zz_planted* "$scratch"/toolkit/zz_loose "$scratch"/tests/*/zz_planted* \
           "$scratch"/tests/toolkit/*/zz_planted* "$scratch"/*/zz_planted*
    if PURGELET_LAYERS_ROOT="$scratch" "$SCRIPT" >"$scratch/tables.out" ||
       ! grep -q '^  README: toolkit/bars:.* toolkit/pickers' "$scratch/tables.out" ||
       ! grep -q '^  CMakeLists.txt: toolkit/pickers:.* toolkit/bars' "$scratch/tables.out"; then
        echo "check_layers self-test: a README row or library link off the table passes:"
        sed 's/^/    /' "$scratch/tables.out"
        status=1
    fi
    [ $status -eq 0 ] && echo "check_layers self-test: $(printf '%s\n' "$expected" | wc -l) wrong includes named, the right ones passed"
    return $status
}

case "${1:-}" in
    --self-test) self_test ;;
    "") check ;;
    *) echo "usage: $0 [--self-test]" >&2; exit 2 ;;
esac
