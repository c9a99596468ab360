#!/usr/bin/env bash
# scripts/check-format on a tree of its own: each tracked file that is not laid out as
# .clang-format says gets one line naming it and the check fails; files laid out so, and files
# git does not track, pass.
set -euo pipefail
source_root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

mkdir -p "$work/scripts" "$work/src"
cp "$source_root/scripts/check-format" "$work/scripts/"
cp "$source_root/.clang-format" "$work/"
printf 'int main() {\n  return 0;\n}\n' >"$work/src/good.cpp"
printf 'int  main( ) { return 0; }\n' >"$work/src/off.cpp"
printf '#pragma once\nint   f();\n' >"$work/src/off.h"
printf 'int  untracked ;\n' >"$work/src/untracked.cpp"
git -C "$work" init -q
git -C "$work" add .clang-format scripts src/good.cpp src/off.cpp src/off.h

echo "two files off: one line for each, and a failure"
if "$work/scripts/check-format" >"$work/out" 2>&1; then
  fail "the check passed"
fi
[[ $(grep -c . "$work/out") -eq 2 ]] || fail "not one line for each file: $(cat "$work/out")"
grep -q 'src/off\.cpp' "$work/out" || fail "src/off.cpp is not named"
grep -q 'src/off\.h' "$work/out" || fail "src/off.h is not named"
if grep -q 'good\|untracked' "$work/out"; then
  fail "a file that is laid out as it should be, or is not tracked, is named"
fi

echo "only files laid out as .clang-format says: a pass"
git -C "$work" rm -q --cached src/off.cpp src/off.h
"$work/scripts/check-format" >"$work/out" 2>&1 || fail "the check failed: $(cat "$work/out")"
echo passed
