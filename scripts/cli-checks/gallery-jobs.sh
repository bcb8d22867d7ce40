# --jobs: small copies made several at once give the gallery of one after the other.
mkdir -p "$work/pictures"
cp "$root"/samples/*.{bmp,gif,jpg,png} "$work/pictures/"
cp "$root/samples/sunset.png" "$work/pictures/disguised.jpg"
args=()
for f in "$work"/pictures/*; do args+=("$(native_path "$f")"); done
same_tree() { diff -r "$1" "$2" >/dev/null; }

statuses=""
for jobs in "--jobs 1" "--jobs 4" ""; do
  # shellcheck disable=SC2086
  cli gallery $jobs "${args[@]}" >/dev/null 2>&1
  statuses+=$?
done
check "galleries with --jobs 1, --jobs 4 and the default exit 0" test "$statuses" = 000
check "--jobs 4 makes the gallery of --jobs 1" same_tree "$work/pictures/thumbnail" "$work/pictures/thumbnail (1)"
check "the default makes the gallery of --jobs 1" same_tree "$work/pictures/thumbnail" "$work/pictures/thumbnail (2)"

refused=""
for bad in 0 17 two -1 ""; do
  cli gallery --jobs "$bad" "${args[0]}" >/dev/null 2>&1
  refused+=$?
done
check "--jobs outside 1 to 16 is a usage error" test "$refused" = 22222
cli gallery --help >"$work/out" 2>/dev/null
check "--help names --jobs" grep -q -- "--jobs N" "$work/out"
