#!/usr/bin/env bash
# Benchmarks Zelvatrix: builds it in Release, prepares the MP files (cached in
# bench/data/), times the tool and two baselines that only read the file
# (wc -l, awk) on each, and prints a table of times, peak memory and the
# ratios we aim for. It is a report, not a test: it exits 0 whether or not the
# targets are met, and non-zero only when the build or a run fails.
#
# Usage, from the project root:  bench/run.sh [--smoke]
#   --smoke  tiny files and 3 timed runs, to check quickly that the kit works.
#
# With valgrind installed it also counts the instructions of one run on R
# (callgrind): an exact figure, unlike the times, which move with the load.
set -euo pipefail
cd "$(dirname "$0")/.."

smoke=0
case "${1:-}" in
  "") ;;
  --smoke) smoke=1 ;;
  -h | --help)
    sed -n '2,12s/^# \{0,1\}//p' "$0"
    exit 0
    ;;
  *)
    echo "usage: bench/run.sh [--smoke]" >&2
    exit 2
    ;;
esac

for tool in python3 cmake awk wc /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed but not found" >&2; exit 1; }
done

# A real model output with its real mix of patch names, zeros and number
# styles; it lives with the shared data, outside the project.
real_file=../shared/data/real-mp/mptools_example_263pops.mp
data=bench/data
seed=1

# Synthetic cases, as patches x years [x median carrying capacity]. R is a
# long, large simulation of an abundant species (abundances in the millions,
# as in the real 263-patch example), about 35 MB; W and N differ only in the
# number of patches (10x), so that time(W)/time(N) shows how the tool scales
# with the size of the landscape.
if ((smoke)); then
  runs=3
  R=(30 20 3000000) W=(300 20) N=(30 20)
else
  runs=7
  R=(3000 500 3000000) W=(20000 100) N=(2000 100)
fi

echo "== build (Release, build-bench/)"
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZELVATRIX_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2
# The floor: reading the file as the tool does and holding its values,
# without parsing them; built with the same optimisation as the tool.
"${CXX:-c++}" -std=c++17 -O3 -o build-bench/read_floor bench/read_floor.cpp

# Adds case NAME with the synthetic file for PATCHES YEARS [CAPACITY],
# writing the file first when it is missing or older than the generator (a
# changed generator must not leave stale files behind). The big files take
# several seconds each.
add_synthetic() {
  local capacity=${4:-8000}
  local file="$data/synthetic_${2}x${3}_k${capacity}_seed${seed}.mp"
  if [[ ! -s $file || bench/gen_mp.py -nt $file ]]; then
    echo "== generating $file"
    python3 bench/gen_mp.py "$2" "$3" "$file" --seed "$seed" \
      --median-capacity "$capacity"
  fi
  cases+=("$1=$file")
}

mkdir -p "$data"
cases=()
if [[ -f $real_file ]]; then
  cases+=("S=$real_file")
elif ((smoke)); then
  echo "== $real_file not found; case S skipped"
else
  echo "== WARNING: $real_file not found; case S and its ratio are skipped"
fi
add_synthetic R "${R[@]}"
add_synthetic W "${W[@]}"
add_synthetic N "${N[@]}"

echo "== measuring"
smoke_flag=()
((smoke)) && smoke_flag=(--smoke)
python3 bench/measure.py --zelvatrix build-bench/Zelvatrix \
  --floor build-bench/read_floor --runs "$runs" \
  "${smoke_flag[@]}" "${cases[@]}"

# An ensemble: many copies of the real file through zvx, against one
# Zelvatrix run per file and against reading the files with cat and wc.
if [[ -f $real_file ]]; then
  echo "== ensemble"
  copies=200
  ((smoke)) && copies=10
  python3 bench/ensemble.py --zvx build-bench/zvx --zelvatrix build-bench/Zelvatrix \
    --file "$real_file" --copies "$copies" --runs "$runs" --data "$data/ensemble" \
    "${smoke_flag[@]}"
fi

# The R package against base R on the real file, when R and the package are
# installed (README, R package).
if command -v Rscript >/dev/null &&
  Rscript -e 'quit(status = !requireNamespace("zelvatrix", quietly = TRUE))' >/dev/null 2>&1; then
  if [[ -f $real_file ]]; then
    echo "== R package: read_mp + range_edges against base R"
    Rscript bench/r_read.R "$real_file" "$runs"
  fi
else
  echo "== R package not installed; its benchmark is skipped"
fi
