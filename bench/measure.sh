# Sourced by the benchmark scripts: measure NAME COMMAND... runs the command
# $runs times with its output and messages thrown away, then prints the median wall time and
# the largest peak resident set size (GNU time, Debian package "time").
# Needs $runs and a scratch folder $work.
measure() {
  local name=$1; shift
  local times=() rss=0
  for _ in $(seq "$runs"); do
    local start end kb
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>"$work/stderr"
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
    kb=$(tail -n 1 "$work/rss")
    (( kb > rss )) && rss=$kb
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  awk -v name="$name" -v us="$median" -v kb="$rss" -v runs="$runs" \
    'BEGIN { printf "%-40s median %8.1f ms   peak RSS %7.1f MB   (%d runs)\n", name, us / 1000, kb / 1024, runs }'
}
