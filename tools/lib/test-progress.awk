# Filters ctest's output for the terminal: one progress line that rewrites itself (when tty is
# 1), every failing test with its output in full, and the list of failed tests at the end.
function clear_progress() {
  if (tty && shown) { printf "\r\033[K"; shown = 0 }
}
/^ *[0-9]+\/[0-9]+ Test +#/ {
  if ($0 ~ / Passed /) {
    failing = 0
    if (tty) { printf "\r\033[K%s", substr($0, 1, 100); shown = 1 }
  } else {
    clear_progress()
    failing = 1
    print
  }
  fflush()
  next
}
/^ *Start +[0-9]+: / { failing = 0; next }
/tests passed, .* tests failed out of/ { clear_progress(); failing = 0; next }
/^The following tests FAILED:/ { clear_progress(); listing = 1 }
/^(No tests were found|CMake Error|Unable to find executable)/ { clear_progress(); print; next }
failing || listing { print; fflush() }
END { clear_progress() }
