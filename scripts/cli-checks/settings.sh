# The settings command: the ten remembered values with their defaults, set and get
# in separate processes, usage errors, an XML file given with --store (a damaged one
# is kept as .bak), and the gallery command taking the stored style and cell size.
# Natively the store is $XDG_CONFIG_HOME/pictorva/SaveData.xml, pointed into the work
# folder here; under Wine it is the prefix's registry, whose values are removed again
# at the end.
saved_config_home=${XDG_CONFIG_HOME-}
export XDG_CONFIG_HOME="$work/config"
store_key='HKCU\Software\Tarn\Tarn Pictorva\SaveData'

cli settings list >"$work/out" 2>"$work/err"
check "settings list exits 0" test $? -eq 0
printf '%s\t%s\t%s\n' 'MainWindow\View' ConvertTo '' 'MainWindow\View' CompactView true \
  'MainWindow\View' SmallWidth 250 'MainWindow\View' SmallHeight 250 'MainWindow\View' LargeWidth 470 \
  'MainWindow\View' LargeHeight 400 'MainWindow\View' RightClickTransform true \
  'MainWindow\ConvertTo\Tile' CellWidth 150 'MainWindow\ConvertTo\Tile' CellHeight 150 \
  'MainWindow\ConvertTo\Album' RowHeight 200 >"$work/expected"
check "settings list prints the ten values with their defaults" cmp -s <(tr -d '\r' <"$work/out") "$work/expected"

cli settings set "MainWindow\\ConvertTo\\Tile" CellWidth 90 >/dev/null 2>"$work/err"
check "settings set exits 0" test $? -eq 0
check "settings get in a new process prints the stored value" \
  test "$(cli settings get "MainWindow\\ConvertTo\\Tile" CellWidth 2>/dev/null | tr -d '\r')" = 90
check "key paths take / too, names any case" \
  test "$(cli settings get "mainwindow/convertto/tile" cellwidth 2>/dev/null | tr -d '\r')" = 90
check "a value never stored prints its default" \
  test "$(cli settings get "MainWindow\\View" CompactView 2>/dev/null | tr -d '\r')" = true
if on_windows; then
  check "the registry holds CellWidth as a DWORD" \
    grep -Eq 'CellWidth[[:space:]]+REG_DWORD[[:space:]]+0x5a' <(wine reg query "$store_key\\MainWindow\\ConvertTo\\Tile" /v CellWidth 2>/dev/null)
else
  check "the store file holds CellWidth" test "$(cat "$XDG_CONFIG_HOME/pictorva/SaveData.xml")" = \
    '<savedata><MainWindow><ConvertTo><Tile CellWidth="90"></Tile></ConvertTo></MainWindow></savedata>'
fi

cli settings set "MainWindow\\View" Width 300 >/dev/null 2>"$work/err"
check "an unknown name exits 2" test $? -eq 2
check "an unknown name is named" grep -q 'no setting "Width"' "$work/err"
cli settings set "MainWindow\\ConvertTo\\Tile" CellHeight 90x >/dev/null 2>&1
check "a number that does not parse exits 2" test $? -eq 2
cli settings set "MainWindow\\View" CompactView maybe >/dev/null 2>&1
check "a flag that does not parse exits 2" test $? -eq 2
cli settings get "MainWindow\\ConvertTo\\Tile" >/dev/null 2>&1
check "get without a name exits 2" test $? -eq 2

xml="$work/other/SaveData.xml"
cli settings set "MainWindow/View" CompactView false --store "xml:$(native_path "$xml")" >/dev/null 2>&1
check "--store xml:PATH writes that file" test "$(cat "$xml" 2>/dev/null)" = \
  '<savedata><MainWindow><View CompactView="0"></View></MainWindow></savedata>'
check "--store xml:PATH reads that file" \
  test "$(cli settings get "MainWindow\\View" CompactView --store "xml:$(native_path "$xml")" 2>/dev/null | tr -d '\r')" = false
check "--store leaves the system's store alone" \
  test "$(cli settings get "MainWindow\\View" CompactView 2>/dev/null | tr -d '\r')" = true
printf 'not a settings file' >"$xml"
cli settings set "MainWindow\\View" SmallWidth 300 --store "xml:$(native_path "$xml")" >/dev/null 2>"$work/err"
check "a damaged file is kept as .bak" test "$(cat "$xml.bak" 2>/dev/null)" = 'not a settings file'
check "the damaged file is replaced by a good one" \
  test "$(cat "$xml")" = '<savedata><MainWindow><View SmallWidth="300"></View></MainWindow></savedata>'
check "the user is told where the damaged file went" grep -q 'SaveData.xml.bak' "$work/err"

# The gallery takes the stored style and cell size when no option gives them.
mkdir -p "$work/flat" "$work/tile"
cp "$root/samples/autumn.bmp" "$work/flat/"
cp "$root/samples/autumn.bmp" "$work/tile/"
cli settings set "MainWindow\\View" ConvertTo Flat >/dev/null 2>&1
cli gallery "$(native_path "$work/flat/autumn.bmp")" >/dev/null 2>&1
check "the gallery takes the stored style" test -s "$work/flat/thumbnail/Thumbnail (Flat).html"
cli gallery --style tile "$(native_path "$work/tile/autumn.bmp")" >/dev/null 2>&1
check "an option wins over the stored style" test -s "$work/tile/thumbnail/Thumbnail (Tile).html"
check "the gallery takes the stored cell width" test -f "$work/tile/thumbnail/simg/autumn (90x67).bmp"
check "the gallery never writes the store" \
  test "$(cli settings get "MainWindow\\View" ConvertTo 2>/dev/null | tr -d '\r')" = Flat

if on_windows; then
  wine reg delete "$store_key\\MainWindow\\ConvertTo\\Tile" /v CellWidth /f >/dev/null 2>&1
  wine reg delete "$store_key\\MainWindow\\View" /v ConvertTo /f >/dev/null 2>&1
fi
if [ -n "$saved_config_home" ]; then export XDG_CONFIG_HOME="$saved_config_home"; else unset XDG_CONFIG_HOME; fi
