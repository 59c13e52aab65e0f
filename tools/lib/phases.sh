# shellcheck shell=bash
# Sourced by the set-up scripts: one line per phase on the terminal, the chatter of package
# managers and build tools in a log file that is named (with what failed) when a step fails.

# phase TEXT: announces the next phase.
phase() {
  printf '%s\n' "$*"
}

# show_failure LOG: what a reader needs from a failed step's log. Build errors are shown in
# full from the first failed command on; anything else by the log's tail.
show_failure() {
  local log="$1"
  echo "Failed; the full log is $log" >&2
  if grep -q '^FAILED: ' "$log"; then
    sed -n '/^FAILED: /,$p' "$log" >&2
  else
    tail -n 40 "$log" >&2
  fi
}

# logged LOG COMMAND...: runs the command with all its output appended to LOG.
logged() {
  local log="$1"
  shift
  if ! "$@" >>"$log" 2>&1; then
    show_failure "$log"
    return 1
  fi
}

# build_preset PRESET: configures and builds. On a terminal the build tool shows its own
# one-line progress; otherwise (and for the configure step) the output goes to the log.
build_preset() {
  local preset="$1" dir="build/$1"
  local log="$dir/build.log"
  mkdir -p "$dir"
  : >"$log"
  phase "Building..."
  logged "$log" cmake --preset "$preset"
  if [ -t 1 ]; then
    cmake --build --preset "$preset"
  else
    logged "$log" cmake --build --preset "$preset"
  fi
}

# elapsed: the seconds since the script started, as "3m 12s".
elapsed() {
  printf '%dm %02ds' $((SECONDS / 60)) $((SECONDS % 60))
}
