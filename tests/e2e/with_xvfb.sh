#!/usr/bin/env bash
# with_xvfb.sh <first display number> <script>: runs <script> under a private X server on the
# first free display number of first, first + 4, first + 8, ... (tests started side by side use
# different first numbers; a number in use by anybody else is skipped).
set -euo pipefail
n=$1
shift
for _ in $(seq 40); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    exec xvfb-run -n "$n" -s "-screen 0 1024x768x24 -nolisten tcp" bash "$@"
  fi
  n=$((n + 4))
done
echo "with_xvfb.sh: no free X display number" >&2
exit 1
