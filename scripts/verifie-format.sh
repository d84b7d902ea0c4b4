#!/usr/bin/env bash
# Checks that every C and C++ file of the repository (tracked, or new and not ignored) is
# formatted as .clang-format says; with --corrige, formats them instead. Exits non-zero when a
# file is not formatted.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

mapfile -t fichiers < <(git ls-files --cached --others --exclude-standard '*.c' '*.cpp' '*.h')
if [ "${1:-}" = "--corrige" ]; then
  clang-format -i "${fichiers[@]}"
else
  clang-format --dry-run --Werror "${fichiers[@]}"
fi
