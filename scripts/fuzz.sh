#!/usr/bin/env bash
# Fuzzes the number reading with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) for a bounded time; default 60 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=$root/build-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/db" $(pkg-config --cflags Qt6Core) \
  "$root/db/NumberText.cpp" "$root/db/SqlLiteral.cpp" "$root/tests/fuzz/fuzz_numbertext.cpp" \
  $(pkg-config --libs Qt6Core) -o "$out/fuzz_numbertext"
for seed in "12.5" " 1 2 , 5" "-0" "1e400" "nan" "--5" "5-" "1,2,3" "1.2.3" "٣٤" "99999999999999999999999999999999999999999"; do
  printf '%s' "$seed" > "$out/corpus/seed-$(printf '%s' "$seed" | md5sum | cut -c1-8)"
done
"$out/fuzz_numbertext" -max_total_time="$seconds" -max_len=256 "$out/corpus" 2>&1 | tail -n 5
echo "fuzz: no crash and no sanitizer report in ${seconds} s"
