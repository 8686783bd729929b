#!/usr/bin/env bash
# No files include one another in a circle, directly or through others. A .cpp and its .h count
# as one file, so a circle means two files that call each other: neither can be read, tested or
# changed without the other.
# Usage: check-cycles.sh SOURCE_DIR; prints each circle tsort finds, fails on any.
set -u
cd "$1" || exit 2
folders=(Common Platform Formats Audio Toolkit Speech GameEngine Console Store Media Main)
edges=$(
  grep -rnE '^\s*#\s*include\s+"[^"]+\.h"' "${folders[@]}" --include='*.h' --include='*.cpp' |
    while IFS=: read -r file _ line; do
      target=$(sed -E 's/.*#\s*include\s+"([^"]+)\.h".*/\1/' <<<"$line")
      [[ -f $target.h ]] || continue  # a system or third-party header
      from=${file%.*}
      [[ $from != "$target" ]] && echo "$from $target"
    done
)
if ! result=$(tsort <<<"$edges" 2>&1 >/dev/null) || [[ -n $result ]]; then
  echo "$result"
  exit 1
fi
echo "no files include one another in a circle"
