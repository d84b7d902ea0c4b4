# The checks of the shell tests (package, signatures), sourced: each prints one line, "ok" or
# "ÉCHEC", and a failure is counted in `echecs` for the script's final word.
echecs=0
ok() { echo "ok      $*"; }
ko() { echo "ÉCHEC   $*"; echecs=$((echecs + 1)); }
verifie() {  # verifie DESCRIPTION COMMAND...
  local quoi=$1; shift
  if "$@"; then ok "$quoi"; else ko "$quoi"; fi
}
