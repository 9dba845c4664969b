#!/bin/bash
# run.sh BUILD_DIR SECONDS CORPUS_DIR: runs every fuzz target for SECONDS, seeded from the real
# movies and from installers our writer makes of them; prints executions and findings.
set -u
build=$1 seconds=$2 corpus=$3
bin=$build/bin
seeds=$build/seeds
mkdir -p "$seeds/installers" "$build/artifacts" "$build/logs"
"$bin/fuzz_seed_installers" "$seeds/installers" "$corpus"/swf/files/*.swf
status=0
summary=""
run() {  # name seed-dirs...
  local name=$1; shift
  mkdir -p "$build/found/$name"
  "$bin/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
      "$build/found/$name" "$@" >"$build/logs/$name.log" 2>&1
  local rc=$?
  local execs crashes
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$name.log" | grep -o '[0-9]*$')
  crashes=$(ls "$build/artifacts" | grep -c "^$name-" || true)
  summary+=$(printf '%-24s executions %-10s exit %-3s artifacts %s' "$name" "${execs:-?}" "$rc" "$crashes")$'\n'
  [ "$rc" = 0 ] || status=1
}
run fuzz_swf_reader "$corpus/swf/files"
run fuzz_archive_directory "$seeds/installers" "$corpus/swf/files"
run fuzz_archive_extract "$seeds/installers"
printf '%s' "$summary"
echo "logs in $build/logs, crashing inputs in $build/artifacts"
exit $status
