#!/usr/bin/env bash
# Plants each fault of tests/faults/faults.tsv, one at a time, in a copy of the
# work tree with its uncommitted changes, runs the tests the table names and,
# when they all pass, the whole suite:  scripts/plant-faults.sh [--list] [ID...]
# --check only makes sure that each text to find occurs once in its file, so
# that a row left behind by moved code fails at once rather than at a replay.
# The copy and its build-test/ (laid out as the work tree's, for the compiler
# cache) stay in $PLANT_FAULTS_DIR (build-faults/); a file is copied in only when
# it differs, so a later run compiles only what changed. Logs: logs/ID.log.
# Exit status 1 unless every fault is caught by the tests it names.
# PLANT_FAULTS_NAMED_ONLY=1 leaves out the whole suite (a quick check);
# PLANT_FAULTS_BUDGET=SECONDS begins no fault after that many seconds.
# --slice N replays N counted rows in a row, beginning at a row the commit
# chooses (PLANT_FAULTS_COMMIT, else git rev-parse HEAD): each commit replays
# its own part of the catalogue, the same part every time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${PLANT_FAULTS_DIR:-$root/build-faults}
jobs=${PLANT_FAULTS_JOBS:-2}

# Rows: id, file, text to find (once), replacement (↵ = line break), tests that
# must fail, meaning, why it is equivalent (changes nothing a user sees) if so.
# A tab is blank to `read`, which would merge empty fields.
rows() { tail -n +2 "$root/tests/faults/faults.tsv" | grep -v '^[[:space:]]*$' | tr '\t' '\037'; }
chosen() { [[ ${#ids[@]} -eq 0 || " ${ids[*]} " == *" $1 "* ]]; }
contents() { [[ -f $1 ]] && cat "$1" && printf x; } # the x keeps trailing line breaks
occurrences() { local rest=${1//"$2"/}; echo $(((${#1} - ${#rest}) / ${#2})); }

if [[ ${1:-} == --slice ]]; then # [--slice N] [--list|--check]
  size=$2
  shift 2
  commit=${PLANT_FAULTS_COMMIT:-$(git -C "$root" rev-parse HEAD)}
  mapfile -t counted < <(rows | awk -F'\037' '$7 == "" { print $1 }')
  start=$((16#${commit:0:8} % ${#counted[@]}))
  slice=()
  for ((k = 0; k < size && k < ${#counted[@]}; k++)); do slice+=("${counted[(start + k) % ${#counted[@]}]}"); done
  echo "slice of commit ${commit:0:12}: ${slice[*]}"
  set -- ${1:-} "${slice[@]}"
fi

if [[ ${1:-} == --check ]]; then
  shift
  ids=("$@") stale=0
  while IFS=$'\037' read -r -u 3 id file find _; do
    chosen "$id" || continue
    find=${find//↵/$'\n'} content=$(contents "$root/$file") || true
    if [[ -z $find || $(occurrences "$content" "$find") -ne 1 ]]; then
      echo "$id: text not found once in $file"
      stale=$((stale + 1))
    fi
  done 3< <(rows)
  [[ $stale -eq 0 ]] && echo "every fault's text occurs once"
  exit $((stale > 0))
fi

if [[ ${1:-} == --list ]]; then
  shift
  ids=("$@")
  rows | while IFS=$'\037' read -r id file _ _ tests meaning equivalent; do
    chosen "$id" && printf '%-4s %-29s %s%s\n     tests: %s\n' "$id" "$file" "$meaning" \
      "${equivalent:+ [equivalent: $equivalent]}" "$tests"
  done
  exit 0
fi
ids=("$@")

mkdir -p "$base/src" "$base/logs"
exec 9>"$base/lock"
flock -n 9 || { echo "another run holds $base" >&2; exit 2; }
# A copy of the sources without git (the one scripts/test.sh tests as an
# ordinary user) is planted in where it lies, on the build it holds.
if [[ $(realpath -m "$base/src") != "$root" ]]; then
  (cd "$root" && git ls-files --cached --others --exclude-standard) | sort >"$base/files"
  while IFS= read -r f; do
    if [[ -f $root/$f ]] && ! cmp -s "$root/$f" "$base/src/$f"; then
      mkdir -p "$(dirname "$base/src/$f")" && cp "$root/$f" "$base/src/$f"
    fi
  done <"$base/files"
  (cd "$base/src" && find . -path './build-*' -prune -o -type f -printf '%P\n') | sort |
    comm -23 - "$base/files" | while IFS= read -r f; do rm -f "$base/src/$f"; done
elif git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  echo "$base/src is the work tree itself; faults are never planted there" >&2
  exit 2
fi

# Each fault builds only the targets of its tests, and everything when they
# pass it by.
build=$base/src/build-test
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$base/src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFROSTPICK_WERROR=ON >/dev/null
fi

run_tests() { # prints the tests of the regex (all when empty) that failed
  rm -f "$build/Testing/Temporary/LastTestsFailed.log"
  ctest --test-dir "$build" -j"$jobs" ${1:+-R "$1"} >>"$log" 2>&1 || true
  if [[ -f $build/Testing/Temporary/LastTestsFailed.log ]]; then
    cut -d: -f2- "$build/Testing/Temporary/LastTestsFailed.log" | sort
  fi
}

caught=0 counted=0 bad=0
while IFS=$'\037' read -r -u 3 id file find replace tests meaning equivalent; do
  chosen "$id" || continue
  if [[ -n $equivalent ]]; then
    echo "$id: equivalent, not counted ($equivalent)"
    continue
  fi
  if [[ -n ${PLANT_FAULTS_BUDGET:-} && $SECONDS -ge $PLANT_FAULTS_BUDGET ]]; then
    echo "$id: not replayed, the ${PLANT_FAULTS_BUDGET} s budget is spent"
    continue
  fi
  counted=$((counted + 1)) bad=$((bad + 1))
  find=${find//↵/$'\n'} replace=${replace//↵/$'\n'}
  target=$base/src/$file
  content=$(contents "$target") || true
  content=${content%x}
  if [[ -z $find || $(occurrences "$content" "$find") -ne 1 ]]; then
    echo "$id: text not found once in $file"
    continue
  fi
  printf '%s' "${content/"$find"/"$replace"}" >"$target"
  targets=() regex=""
  for t in $tests; do targets+=("${t%_server}") && regex+="${regex:+|}$t"; done
  log=$base/logs/$id.log
  if ! cmake --build "$build" -j"$jobs" --target "${targets[@]}" >"$log" 2>&1; then
    outcome="does not build"
  else
    fails=$(run_tests "^($regex)\$")
    passed=$(comm -23 <(tr ' ' '\n' <<<"$tests" | sort) <(echo "$fails"))
    if [[ -z $fails && -z ${PLANT_FAULTS_NAMED_ONLY:-} ]]; then
      cmake --build "$build" -j"$jobs" >>"$log" 2>&1 || true
      fails=$(run_tests "")
    fi
    if [[ -z $fails ]]; then
      outcome="MISSED"
    elif [[ -n $passed ]]; then
      outcome="caught by $(echo $fails), but not by $(echo $passed)"
      caught=$((caught + 1))
    else
      outcome="caught by $(echo $fails)"
      caught=$((caught + 1)) bad=$((bad - 1))
    fi
  fi
  printf '%s' "$content" >"$target" # its fresh time makes the next build compile it again
  echo "$id: $outcome"
done 3< <(rows)

echo "$caught of $counted caught"
[[ $bad -eq 0 ]]
