#!/usr/bin/env bash
# One check of the Debian package: check-deb.sh lintian|desktop-entry|metainfo|depends DEB
set -euo pipefail
check=$1
deb=$2
[ -f "$deb" ] || { echo "no package at $deb (make package builds it)" >&2; exit 1; }

root=$(mktemp -d /tmp/kravelon-deb-XXXXXX)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

case $check in
  lintian)
    # Errors and warnings fail; information tags are shown but let pass.
    status=0
    report=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || status=$?
    grep -v '^running with root privileges is not recommended!$' <<<"$report" || true
    exit $status
    ;;
  desktop-entry)
    entries=("$root"/usr/share/applications/*.desktop)
    [ -f "${entries[0]}" ] || { echo "the package has no menu entry" >&2; exit 1; }
    # It exits 0 on warnings and hints: any word from it fails the check.
    report=$(desktop-file-validate "${entries[@]}" 2>&1) || true
    [ -z "$report" ] || { echo "$report" >&2; exit 1; }
    ;;
  metainfo)
    files=("$root"/usr/share/metainfo/*.metainfo.xml)
    [ -f "${files[0]}" ] || { echo "the package has no AppStream data" >&2; exit 1; }
    appstreamcli validate --strict --no-net --pedantic "${files[@]}"
    ;;
  depends)
    # Every library the programs link comes from a package named in Depends (as dpkg-shlibdeps
    # computed it: nothing written by hand can miss one), and so do the fonts the game asks
    # fontconfig for.
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    names=" $(echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' | tr '\n' ' ') "
    missing=0
    # The package owning a library file; with /usr merged, dpkg may know it as /lib/... only.
    owner_of() {
      local real
      real=$(readlink -f "$1")
      for candidate in "$1" "$real" "${1#/usr}" "${real#/usr}" "/usr$1" "/usr$real"; do
        if found=$(dpkg -S "$candidate" 2>/dev/null); then
          echo "${found%%:*}"
          return
        fi
      done
    }
    need() {
      if [[ "$names" != *" $1 "* ]]; then
        echo "missing from Depends: $1 ($2)" >&2
        missing=1
      fi
    }
    for p in fontconfig fonts-dejavu-core fonts-liberation2 fonts-paratype; do need "$p" "fonts"; done
    while IFS= read -r -d '' file; do
      file -b "$file" | grep -q '^ELF' || continue
      for lib in $(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        path=$(ldconfig -p | awk -v l="$lib" '$1 == l && !found { print $NF; found = 1 }')
        [ -n "$path" ] || { echo "$lib is not on this machine" >&2; missing=1; continue; }
        owner=$(owner_of "$path")
        [ -n "$owner" ] || { echo "no package owns $path" >&2; missing=1; continue; }
        need "$owner" "$lib"
      done
    done < <(find "$root" -type f -perm -u+x -print0)
    exit $missing
    ;;
  *)
    echo "unknown check: $check" >&2
    exit 2
    ;;
esac
