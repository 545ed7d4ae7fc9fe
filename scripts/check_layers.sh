#!/usr/bin/env bash
# Holds the layer order of the product code: a folder includes only headers of its own
# folder or of folders below it. The order is that of the libraries in CMakeLists.txt
# (each linked after those it uses); res/ holds the program's resources and is used by
# the application alone. Prints every include that points upwards, as file:line, and
# fails when there is one.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1

LAYERS="framework catalogue toolkit/core toolkit/theme toolkit/menus toolkit/dialogs
        toolkit/bars toolkit/pickers toolkit/grid toolkit/reportgrid app res"

find framework catalogue toolkit app -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) -print0 |
    sort -z | xargs -0 grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' /dev/null |
    awk -v layers="$LAYERS" '
        BEGIN {
            n = split(layers, names, /[[:space:]]+/)
            rank_count = 0
            for (i = 1; i <= n; i++)
                if (names[i] != "")
                    rank[names[i]] = (names[i] == "res") ? rank["app"] : rank_count++
        }
        # The folder a path belongs to: toolkit/<part>, or the top folder.
        function folder(path,    parts) {
            split(path, parts, "/")
            return (parts[1] == "toolkit") ? parts[1] "/" parts[2] : parts[1]
        }
        {
            # grep gives file:line:text
            file = $0; sub(/:.*/, "", file)
            rest = substr($0, length(file) + 2)
            line = rest; sub(/:.*/, "", line)
            header = rest; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
            from = folder(file)
            to = folder(header)
            if (!(from in rank) || !(to in rank))
                next      # a header beside the file or outside the product folders
            if (rank[to] > rank[from]) {
                printf "%s:%s: %s (layer %s) includes \"%s\" (layer %s, above it)\n", \
                       file, line, file, from, header, to
                bad++
            }
        }
        END {
            if (bad > 0) {
                printf "check_layers: %d include(s) point up the layer order\n", bad
                exit 1
            }
        }'
