#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says; prints the files that are not.
# Mend them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while IFS= read -r file; do
    if ! clang-format "$file" | cmp -s - "$file"; then
        echo "not formatted: $file" >&2
        status=1
    fi
done < <(git ls-files '*.cpp' '*.h')
[ "$status" -eq 0 ] && echo "Every C++ file is formatted"
exit "$status"
