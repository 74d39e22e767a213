#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the top of the tree) over the sources.
#   scripts/clang-tidy-all.sh              every .cpp of the dev build
#   scripts/clang-tidy-all.sh --changed    only the sources changed since the
#                                          first parent of HEAD (a changed
#                                          header brings its .cpp along)
#   scripts/clang-tidy-all.sh FILE...      the named files
# Needs build/compile_commands.json of the dev preset (configured here when
# missing). Exits non-zero on any finding.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${WAYLOOM_TIDY_BUILD:-$here/build}"
jobs="${WAYLOOM_TIDY_JOBS:-$(nproc)}"
tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"
cd "$here"

[ -f "$build/compile_commands.json" ] || cmake --preset dev >/dev/null

# The translation units the build knows, relative to the source tree
# (generated moc and resource files left out).
mapfile -t known < <(python3 - "$build/compile_commands.json" "$here" <<'PY'
import json, os, sys
root = sys.argv[2] + os.sep
for entry in json.load(open(sys.argv[1])):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if path.startswith(root) and "/build" not in path[len(root) - 1:]:
        print(path[len(root):])
PY
)

files=()
if [ "${1:-}" = "--changed" ]; then
  mapfile -t changed < <(git diff --name-only --diff-filter=d HEAD^1 HEAD -- '*.cpp' '*.h' 2>/dev/null || true)
  for f in "${changed[@]}"; do
    stem="${f%.*}"
    for k in "${known[@]}"; do
      [ "${k%.*}" = "$stem" ] && files+=("$k")
    done
  done
elif [ $# -gt 0 ]; then
  files=("$@")
else
  files=("${known[@]}")
fi
mapfile -t files < <(printf '%s\n' "${files[@]}" | sed '/^$/d' | sort -u)
if [ ${#files[@]} -eq 0 ]; then
  echo "clang-tidy: no source to check"
  exit 0
fi

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
printf '%s\n' "${files[@]}" |
  xargs -P "$jobs" -I{} sh -c '"$0" -p "$1" --quiet "$2" 2>/dev/null || echo "clang-tidy failed on $2"' \
    "$tidy" "$build" {} >"$log" || true
if grep -qE '(warning|error):|clang-tidy failed on' "$log"; then
  cat "$log"
  echo "clang-tidy: findings in $(grep -cE '(warning|error):' "$log") places over ${#files[@]} files" >&2
  exit 1
fi
echo "clang-tidy: ${#files[@]} files clean"
