#!/bin/sh
# Fails, naming each offending line, when a folder includes one above it:
# study/ -> engine/ -> files/ -> print/ (the core, no Qt) -> qualification/ (no Qt) -> ui/ ->
# printing/ and app/.
root=${1:?usage: layers.sh SOURCE_ROOT}
cd "$root" || exit 2
status=0
above() { # folder, files to search, then the include patterns above it
    folder=$1
    shift
    for pattern in "$@"; do
        found=$(find $folder -maxdepth 1 \( -name '*.h' -o -name '*.cpp' \) -exec grep -Hn "^#include [<\"]$pattern" {} +)
        if [ -n "$found" ]; then
            printf '%s\n' "$found" | sed "s|\$|  (${folder%/} includes a layer above it)|"
            status=1
        fi
    done
}
above study/ engine/ files/ print/ qualification/ ui/ app/ Q
above engine/ files/ print/ qualification/ ui/ app/ Q
above files/ print/ qualification/ ui/ app/ Q
above print/ qualification/ ui/ printing/ app/ Q
above qualification/ ui/ printing/ app/ Q
above ui/ printing/ app/
above printing/ app/
exit $status
