#!/usr/bin/env bash
# Measures the workstation at scale: for each study size, generates a synthetic
# family study (SUBJECTS subjects x 50 loci, one result each unless --results
# says more, so 10 million fragments at 100,000 subjects) as import tables,
# imports it into a SQLite file and into a throwaway PostgreSQL 15 server, runs
# every study export and the LOH input file on both, checks that both engines
# wrote the same bytes, and times PLINK 1.9 recoding the same genotypes.
# Prints seconds, peak memory and MB/s per step; asserts nothing about speed.
#
#   scripts/bench.sh [--quick] [--results N] [--runs N] [--loh-limit SECONDS] [SUBJECTS...]
#
# Sizes default to 1000 10000 100000; --quick runs 1000 and 5000. --results 2
# gives each subject a rerun (every 97th excluded) as well. Each step runs
# --runs times (default 3; an import into a new store each time) and its
# median counts. BENCH_KEEP=1 keeps the generated tables and outputs.
set -euo pipefail

usage() {
  sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'
  exit "${1:-0}"
}

sizes=()
loh_limit=120
results=1
runs=3
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) sizes+=(1000 5000) ;;
    --loh-limit) loh_limit="$2"; shift ;;
    --results) results="$2"; shift ;;
    --runs)
      case "$2" in *[!0-9]* | '' | 0) echo "bench.sh: --runs takes a number of runs: $2" >&2; usage 2 >&2 ;; esac
      runs="$2"; shift ;;
    -h | --help) usage ;;
    *[!0-9]* | '') echo "bench.sh: not a number of subjects: $1" >&2; usage 2 >&2 ;;
    *) sizes+=("$1") ;;
  esac
  shift
done
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)

root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" plink1.9 postgresql-15 time

build="$root/build-release"
echo "Building the Release workstation in $build"
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target harvestor_command bench_tables loh_template >"$build/build.log" 2>&1 ||
  { tail -40 "$build/build.log"; exit 1; }
harvestor="$build/bin/harvestor"
pgbin=/usr/lib/postgresql/15/bin

work=$(mktemp -d /tmp/harvestor-bench-XXXXXX)
# The server's folder is its own, so that the postgres user may own it.
pgdir=$(mktemp -d /tmp/harvestor-bench-pg-XXXXXX)
pgport=5432
as_postgres=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$pgdir"
  as_postgres=(runuser -u postgres --)
fi
cleanup() {
  if [ -f "$pgdir/data/postmaster.pid" ]; then
    "${as_postgres[@]}" "$pgbin/pg_ctl" -D "$pgdir/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  if [ -n "${BENCH_KEEP:-}" ]; then echo "Kept the bench's files in $work"; else rm -rf "$work"; fi
  rm -rf "$pgdir"
}
trap cleanup EXIT

echo "Starting a PostgreSQL 15 server on the Unix socket in $pgdir (trust auth, synchronous_commit=off)"
"${as_postgres[@]}" "$pgbin/initdb" -D "$pgdir/data" -U bench -A trust -E UTF8 --locale=C \
  >"$pgdir/initdb.log" 2>&1 || { cat "$pgdir/initdb.log"; exit 1; }
"${as_postgres[@]}" "$pgbin/pg_ctl" -D "$pgdir/data" -l "$pgdir/server.log" -w -t 60 \
  -o "-k $pgdir -p $pgport -c listen_addresses= -c synchronous_commit=off" start >/dev/null
pgstore="postgres:host=$pgdir port=$pgport dbname=bench user=bench"

# The workstation the commands run in: the component's folder, its export
# folder with the locus list, and the LOH workbook.
app="$work/App"
mkdir -p "$app/bin" "$app/Export" "$app/ReportTemplates"
cp "$build/ReportTemplates/LOH.xls" "$app/ReportTemplates/"
export HARVESTOR_COMPONENT_DIR="$app/bin"
unset DISPLAY WAYLAND_DISPLAY

# The bytes of the files given, and of every file in the folders given.
bytes() {
  local total=0 f
  for f in "$@"; do
    if [ -d "$f" ]; then
      total=$((total + $(find "$f" -type f -printf '%s\n' | awk '{ t += $1 } END { print t + 0 }')))
    elif [ -f "$f" ]; then
      total=$((total + $(stat -c %s "$f")))
    fi
  done
  echo "$total"
}

# measure STEP ENGINE PATH... -- COMMAND...: runs the command under GNU time
# and adds a row "step engine seconds peakKiB bytes status", where bytes are
# those of the PATHs (files, or folders counted whole) after the run.
measure() {
  local step=$1 engine=$2
  shift 2
  local files=()
  while [ "$1" != -- ]; do files+=("$1"); shift; done
  shift
  local status=0 start end
  # What earlier steps wrote goes to disk first, so that a step's own syncs
  # do not wait behind another step's files.
  sync
  start=$(date +%s%N)
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/step.log" 2>&1 || status=$?
  end=$(date +%s%N)
  # GNU time gives peak memory; its seconds have two decimals, too few for
  # PLINK's fast steps, so the wall time is taken here to the millisecond.
  local seconds kib
  read -r _ kib < <(tail -1 "$work/time")
  seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
  if [ "$status" -ne 0 ] && [ "$step" != loh ]; then
    echo "bench.sh: $step on $engine failed (exit $status):" >&2
    cat "$work/step.log" >&2
    exit 1
  fi
  local out=0
  [ ${#files[@]} -eq 0 ] || out=$(bytes "${files[@]}")
  echo "$step $engine $seconds $kib $out $status" >>"$rows"
}

declare -A exts=([pedin]=pre [dmp]=dmp [gsr]=gsr [csv]=csv)

for n in "${sizes[@]}"; do
  dir="$work/$n"
  rows="$dir/rows"
  mkdir -p "$dir"
  : >"$rows"
  echo
  echo "== $n subjects x 50 loci, $results result(s) each =="
  "$build/bin/bench_tables" "$n" "$dir/tables" 50 "$results" >/dev/null
  cp "$dir/tables/LocusList.txt" "$app/Export/LocusList.txt"
  tables=("$dir/tables/fragments.tsv" "$dir/tables/results.tsv" "$dir/tables/subjects.tsv")
  newdb() {
    "${as_postgres[@]}" "$pgbin/dropdb" -h "$pgdir" -p "$pgport" -U bench --if-exists bench 2>/dev/null
    "${as_postgres[@]}" "$pgbin/createdb" -h "$pgdir" -p "$pgport" -U bench bench
  }

  # A single run on a shared virtual machine can be off by half (the host
  # lends fresh memory slowly, and not always as slowly): every step runs
  # several times and the table shows its median.
  for engine in sqlite postgresql; do
    if [ "$engine" = sqlite ]; then store="$dir/study.db"; else store="$pgstore"; fi
    for _ in $(seq "$runs"); do
      if [ "$engine" = sqlite ]; then rm -f "$store"; else newdb; fi
      measure import "$engine" "${tables[@]}" -- "$harvestor" import "$store" --name Bench \
        --fragments "${tables[0]}" --results "${tables[1]}" --subjects "${tables[2]}"
    done
    for format in pedin dmp gsr csv; do
      # Both engines export to one path, which the log names; the folder,
      # companions (.debug, .log) included, is then moved aside.
      out="$dir/export"
      for _ in $(seq "$runs"); do
        rm -rf "$out"
        mkdir -p "$out"
        measure "$format" "$engine" "$out" -- "$harvestor" export-study "$store" --study Bench \
          --format "$format" --output "$out/bench.${exts[$format]}" --yes
      done
      mkdir -p "$dir/$engine"
      mv "$out" "$dir/$engine/$format"
    done
    # Without a display the command writes the input file and says Calc cannot
    # show the workbook (exit 1); a run past the limit is stopped.
    for _ in $(seq "$runs"); do
      rm -f "$app/Export/InputLOH.temp"
      measure loh "$engine" "$app/Export/InputLOH.temp" -- \
        timeout "$loh_limit" "$harvestor" loh "$store" --study Bench
    done
    mkdir -p "$dir/$engine/loh"
    [ ! -f "$app/Export/InputLOH.temp" ] || mv "$app/Export/InputLOH.temp" "$dir/$engine/loh/"
  done

  # The log and the .debug file open with the run's date and time.
  undated() { sed '1,5{/^Processing started: /d;/^Created: /d}' "$1"; }
  same=() differ=() missing=()
  for format in pedin dmp gsr csv loh; do
    if [ -z "$(ls -A "$dir/sqlite/$format")" ] || [ -z "$(ls -A "$dir/postgresql/$format")" ]; then
      missing+=("$format")
      continue
    fi
    ok=1
    for f in "$dir/sqlite/$format"/*; do
      cmp -s <(undated "$f") <(undated "$dir/postgresql/$format/$(basename "$f")") || ok=0
    done
    if [ "$ok" -eq 1 ]; then same+=("$format"); else differ+=("$format"); fi
  done
  [ ${#same[@]} -eq 0 ] || echo "SQLite and PostgreSQL outputs are byte-identical (but for the run's date and time): ${same[*]}"
  [ ${#differ[@]} -eq 0 ] || echo "SQLite and PostgreSQL outputs DIFFER: ${differ[*]}"
  [ ${#missing[@]} -eq 0 ] || echo "Not compared, an engine wrote nothing: ${missing[*]}"

  # PLINK on the same subjects: text fileset to binary (untimed), then binary to .ped (timed).
  plink="$dir/plink"
  mkdir -p "$plink"
  plink1.9 --file "$dir/tables/plink" --make-bed --out "$plink/bin" >"$plink/make-bed.out" 2>&1 ||
    { cat "$plink/make-bed.out"; exit 1; }
  # PLINK takes a tenth of a second, so one run's start-up noise would move
  # the ratio by a third: it runs five times and its median counts.
  for _ in 1 2 3 4 5; do
    measure plink-recode plink "$plink/recode.ped" -- \
      plink1.9 --bfile "$plink/bin" --recode --out "$plink/recode"
  done

  awk -v limit="$loh_limit" -v pre="$(bytes "$dir/sqlite/pedin/bench.pre")" '
    function mbs(b, s) { return s > 0 ? sprintf("%.1f", b / s / 1e6) : "-" }
    {
      k = $1 " " $2
      if (k in key) {  # a step run again: its seconds are gathered, its largest peak kept
        i = key[k]
        runs[i] = runs[i] " " $3
        ++count[i]
        if ($4 + 0 > kib[i] + 0) kib[i] = $4
        next
      }
      ++n
      step[n] = $1; engine[n] = $2; sec[n] = $3; kib[n] = $4; out[n] = $5; st[n] = $6
      runs[n] = $3; count[n] = 1
      key[k] = n
    }
    END {
      for (i = 1; i <= n; ++i) {
        if (count[i] < 2) continue
        split(runs[i], t, " ")
        for (a = 1; a <= count[i]; ++a)  # insertion sort of a handful
          for (b = a + 1; b <= count[i]; ++b)
            if (t[b] + 0 < t[a] + 0) { x = t[a]; t[a] = t[b]; t[b] = x }
        sec[i] = t[int((count[i] + 1) / 2)]
        median[i] = count[i]
      }
      printf "%-13s %-10s %9s %9s %8s %9s\n", "step", "engine", "seconds", "peak MiB", "MB/s", "pg/sqlite"
      for (i = 1; i <= n; ++i) {
        s = sec[i]
        note = ""
        stopped = step[i] == "loh" && st[i] == 124
        if (stopped) note = "  (stopped at the limit)"
        ratio = ""
        if (engine[i] == "postgresql" && (step[i] " sqlite") in key) {
          j = key[step[i] " sqlite"]
          ratio = sec[j] > 0 ? sprintf("%.2f", s / sec[j]) : "-"
        }
        rate = stopped ? "-" : mbs(out[i], s)
        if (median[i]) note = sprintf("  (median of %d runs)", median[i])
        printf "%-13s %-10s %9s %9.1f %8s %9s%s\n", step[i], engine[i], \
          (stopped ? sprintf(">%.1f", s) : sprintf("%.3f", s)), kib[i] / 1024, rate, ratio, note
      }
      p = key["plink-recode plink"]; l = key["pedin sqlite"]
      if (p && l && sec[p] > 0 && sec[l] > 0 && out[p] > 0) {
        plinkrate = out[p] / sec[p]
        printf "PLINK 1.9 --recode writes its .ped at %.1f MB/s (%d bytes)\n", plinkrate / 1e6, out[p]
        printf "Linkage export (SQLite) over PLINK: %.2fx counting .pre + .debug + .log (%d bytes), %.3fx counting the .pre alone (%d bytes)\n", \
          (out[l] / sec[l]) / plinkrate, out[l], (pre / sec[l]) / plinkrate, pre
      }
    }' "$rows"
done
