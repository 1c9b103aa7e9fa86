#!/usr/bin/env bash
# Copies the library's sources into the R package, which compiles them with
# its glue: one set of sources for every program, none kept by hand in the
# package. The copies are git-ignored; run this before R CMD INSTALL.
#
# Usage, from anywhere:  r/sync-sources.sh [--check]
#   --check  copy nothing; exit 1, naming each file, when a copy is missing,
#            differs from src/ or has no source any more, or when the
#            package's version is not the project's.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
src="$here/../src"
dest="$here/zelvatrix/src"

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *)
    echo "usage: r/sync-sources.sh [--check]" >&2
    exit 2
    ;;
esac

# The library: every header and source of src/ but the Zelvatrix driver,
# whose main and report the package does not need.
sources=()
for file in "$src"/*.h "$src"/*.cpp; do
  name="$(basename "$file")"
  case "$name" in Zelvatrix.h | Zelvatrix.cpp) continue ;; esac
  sources+=("$name")
done

# The package's own files in src/ are named zelvatrix_*; every other header
# or source there is a copy.
copies=()
for file in "$dest"/*.h "$dest"/*.cpp; do
  [[ -e $file ]] || continue
  name="$(basename "$file")"
  case "$name" in zelvatrix_*) continue ;; esac
  copies+=("$name")
done

is_source() {
  local wanted=$1 name
  for name in "${sources[@]}"; do [[ $name == "$wanted" ]] && return 0; done
  return 1
}

stale=0
changed=0
for name in "${copies[@]}"; do
  is_source "$name" && continue
  if ((check)); then
    echo "r/zelvatrix/src/$name: stale copy, src/$name no longer exists" >&2
    stale=1
  else
    rm -f "$dest/$name"
    changed=1
  fi
done
for name in "${sources[@]}"; do
  if cmp -s "$src/$name" "$dest/$name"; then continue; fi
  if ((check)); then
    if [[ -e $dest/$name ]]; then
      echo "r/zelvatrix/src/$name: stale copy, differs from src/$name" >&2
    else
      echo "r/zelvatrix/src/$name: missing copy of src/$name" >&2
    fi
    stale=1
  else
    cp "$src/$name" "$dest/$name"
    changed=1
  fi
done

# R's build of the package does not know which objects include which
# header: after any change, drop the objects of an earlier in-place build,
# so that none compiled against an old header is linked.
if ((changed)); then
  rm -f "$dest"/*.o "$dest"/*.so
fi

if ((check)); then
  project="$(sed -n 's/^project(Zelvatrix VERSION \([0-9.]*\).*/\1/p' "$here/../CMakeLists.txt")"
  package="$(sed -n 's/^Version: *//p' "$here/zelvatrix/DESCRIPTION")"
  if [[ $project != "$package" ]]; then
    echo "r/zelvatrix/DESCRIPTION: Version $package, but the project is $project" >&2
    stale=1
  fi
  if ((stale)); then
    echo "r/sync-sources.sh: run it without --check to refresh the copies" >&2
    exit 1
  fi
  echo "r/sync-sources.sh: the package's copies match src/"
fi
