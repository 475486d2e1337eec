#!/usr/bin/env bash
# Fuzzes the readers of typed numbers, of spreadsheet files and of statements'
# literals with libFuzzer (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# for a bounded time shared among them; default 60 seconds in all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=$root/build-fuzz
targets=(numbertext csvfile literalbinding)
share=$((seconds / ${#targets[@]} > 0 ? seconds / ${#targets[@]} : 1))

# build TARGET SOURCE... : one fuzzer from the db/ files it reads
build() {
  local name=$1
  shift
  clang++ -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/db" $(pkg-config --cflags Qt6Core) "${@/#/$root/db/}" "$root/tests/fuzz/fuzz_$name.cpp" \
    $(pkg-config --libs Qt6Core) -o "$out/fuzz_$name"
}
# seed TARGET TEXT... : the corpus it starts from
seed() {
  local name=$1
  shift
  mkdir -p "$out/corpus-$name"
  for text in "$@"; do
    printf '%b' "$text" >"$out/corpus-$name/seed-$(printf '%s' "$text" | md5sum | cut -c1-8)"
  done
}

mkdir -p "$out"
build numbertext NumberText.cpp SqlLiteral.cpp &
build csvfile CsvFile.cpp Windows1251.cpp &
build literalbinding LiteralBinding.cpp SqlLiteral.cpp &
for job in $(jobs -p); do wait "$job"; done # each one's status, so a failed build stops the run
seed numbertext "12.5" " 1 2 , 5" "-0" "1e400" "nan" "--5" "5-" "1,2,3" "1.2.3" "٣٤" \
  "99999999999999999999999999999999999999999"
seed csvfile '\xef\xbb\xbfmodel;modification;out_t;in_t;power\r\nKMA;50;20;5;5910\r\n' \
  'text_ru,mass\n"a ""b"", c",1.5\n' 's_name;s_value\r\n"x\r\ny";\r\n;;\r\n' '\xcf\xf0\xee\xe4\xf3\xea\xf2;1\r\n' \
  '"\nz\tx\ny";w\r\n' ' \xef\xbb\xbf,x'
seed literalbinding "SELECT * FROM power WHERE model='KMA' AND modification=50" \
  "UPDATE data SET q=1.5e3 WHERE pkey<>17" "SELECT x FROM t WHERE a='it''s' OR b>=.5" \
  "DELETE FROM t WHERE [a]=0x1F" "INSERT INTO t VALUES (1) -- =2"
for name in "${targets[@]}"; do
  echo "fuzz_$name: ${share} s"
  "$out/fuzz_$name" -max_total_time="$share" -max_len=512 "$out/corpus-$name" 2>&1 | tail -n 3
done
echo "fuzz: no crash and no sanitizer report in ${seconds} s"
