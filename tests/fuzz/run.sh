#!/bin/bash
# run.sh BUILD_DIR SECONDS CORPUS_DIR: runs every fuzz target for SECONDS, seeded from the real
# movies, from installers our writer makes of them and from the demo's project and configuration;
# prints executions and findings. Stops at the first target that finds anything: a crash, a
# failed check or any sanitizer report.
set -u
build=$1 seconds=$2 corpus=$3
here=$(cd "$(dirname "$0")" && pwd)
bin=$build/bin
seeds=$build/seeds
mkdir -p "$seeds/installers" "$seeds/profiles" "$seeds/pictures" "$build/artifacts" "$build/logs"
"$bin/fuzz_seed_installers" "$seeds/installers" "$corpus"/swf/files/*.swf
cp "$here/../../examples/demo/demo.zvp" "$here/seeds/instcfg.ini" "$seeds/profiles/"
cp "$here"/../../installer/res/*.bmp "$here"/../../authoring_ui/help/wallpaper-page.png "$seeds/pictures/"
# Undefined behaviour ends the run like a crash (the tree is also built without recovery).
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
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
  if [ "$rc" != 0 ] || grep -q 'runtime error:\|ERROR: [A-Za-z]*Sanitizer' "$build/logs/$name.log"; then
    printf '%s' "$summary"
    echo "$name found something: see $build/logs/$name.log and $build/artifacts"
    exit 1
  fi
}
run fuzz_swf_reader "$corpus/swf/files"
run fuzz_archive_directory "$seeds/installers" "$corpus/swf/files"
run fuzz_archive_extract "$seeds/installers"
run fuzz_project_file "$seeds/profiles"
run fuzz_installer_config "$seeds/profiles"
run fuzz_signed_program "$seeds/installers"
run fuzz_picture_files "$seeds/pictures"
printf '%s' "$summary"
echo "logs in $build/logs, crashing inputs in $build/artifacts"
