#!/usr/bin/env bash
# The source checks of ./test.sh: formatting (.clang-format) and the static checks (.clang-tidy).
# Sourced after scripts/setup.sh; each function fails (non-zero) with the files or findings named.

# Our C++ sources: every tracked .h and .cpp (from a clean clone or a worktree), else every one
# under the source folders.
vo_sources() {
  if git -C "$VO_ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$VO_ROOT" ls-files '*.h' '*.cpp'
  else
    (cd "$VO_ROOT" && find bench fx game layout platform render shell state tests tools ui view \
      -name '*.h' -o -name '*.cpp' | sort)
  fi
}

# Every source file as clang-format would write it.
vo_check_format() {
  local bad=()
  local f
  while IFS= read -r f; do
    clang-format --dry-run -Werror "$VO_ROOT/$f" >/dev/null 2>&1 || bad+=("$f")
  done < <(vo_sources)
  if [ ${#bad[@]} -gt 0 ]; then
    echo "checks: not formatted as .clang-format says (clang-format -i fixes them):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    return 1
  fi
  echo "checks: every source file is formatted"
}

# The .clang-tidy checks over the game's and the generator's sources, with the compile commands of
# the build folder $1.
vo_check_tidy() {
  local build=$1
  local files=()
  mapfile -t files < <(vo_sources | grep '\.cpp$' | grep -vE '^(tests|bench)/')
  if ! run-clang-tidy -quiet -p "$build" -j "$(nproc)" "${files[@]/#/$VO_ROOT/}" >"$build/clang-tidy.log" 2>&1; then
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u >&2 || cat "$build/clang-tidy.log" >&2
    echo "checks: clang-tidy has findings (all of $build/clang-tidy.log above)" >&2
    return 1
  fi
  echo "checks: clang-tidy finds nothing in ${#files[@]} files"
}
