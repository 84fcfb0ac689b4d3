#!/usr/bin/env bash
# Makes the window pictures (resources/pictures) and the program's icons
# (resources/icons) from the drawings in resources/art, and a contact sheet
# of all of them, build/art_contact_sheet.png. The outputs are committed,
# so a build never runs this. It needs rsvg-convert (Debian: librsvg2-bin),
# the DejaVu fonts (fonts-dejavu-core) and a build folder, where it builds
# its converter:
#   resources/tools/make_pictures.sh [build folder, default build]
# Each step is repeatable, so a second run makes the same files.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$top/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$top" -B "$build" >/dev/null
build=$(cd "$build" && pwd)
art="$top/resources/art"
pictures="$top/resources/pictures"
icons="$top/resources/icons"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target make_pictures >/dev/null
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
convert="$build/make_pictures"

# render <drawing> <width> <height> [name]: the drawing as a PNG in $work.
render() {
    rsvg-convert -w "$2" -h "$3" "$art/$1.svg" -o "$work/${4:-$1}.png"
}

# The program's icon at its four sizes (the smallest drawn on its own),
# the waste bin at rest and armed.
render icon_programm_16 16 16 icon_16
for size in 32 48 256; do render icon_programm $size $size icon_$size; done
"$convert" ico "$work"/icon_{16,32,48,256}.png "$icons/1.ico"
render muell_leer 32 32 && "$convert" ico "$work/muell_leer.png" "$icons/101.ico"
render muell_scharf 32 32 && "$convert" ico "$work/muell_scharf.png" "$icons/102.ico"

# Each window picture: drawing, size, how it is stored, file. The pointer
# has 16 colours; the faces under other controls have no alpha.
while read -r name width height mode file; do
    render "$name" "$width" "$height"
    "$convert" "$mode" "$work/$name.png" "$pictures/$file"
done <<'LIST'
zielkreuz 32 32 ico16 zielkreuz.ico
loeschen 16 16 ico loeschen.ico
coolbar 700 50 bmp coolbar.bmp
picband 90 60 bmp picband.bmp
neu 332 245 bmp neu.bmp
meldung 401 198 bmp meldung.bmp
sieg 383 222 bmp sieg.bmp
start 300 160 jpeg start.jpg
score 300 382 jpeg score.jpg
hinten 701 405 png hinten.png
tb_neu 49 40 png tb_neu.png
tb_optionen 49 40 png tb_optionen.png
tb_top10 49 40 png tb_top10.png
tb_ende 49 40 png tb_ende.png
tb_hilfe 49 40 png tb_hilfe.png
boot_mensch 64 40 png boot_mensch.png
boot_computer 64 40 png boot_computer.png
sound_an 32 32 png sound_an.png
sound_aus 32 32 png sound_aus.png
hilfe_an 32 32 png hilfe_an.png
hilfe_aus 32 32 png hilfe_aus.png
groesse1 40 28 png groesse1.png
groesse2 40 28 png groesse2.png
groesse3 40 28 png groesse3.png
LIST

# Titles, blended into the part of the victory and options face they cover
# (the heading is shown squeezed into 228 x 49 at 80, 8).
while read -r name width height x y shownWidth shownHeight; do
    render "$name" "$width" "$height"
    "$convert" gif "$work/$name.png" "$pictures/$name.gif" "$work/sieg.png" "$x" "$y" "$shownWidth" "$shownHeight"
done <<'LIST'
titel_mensch 351 30 16 16 351 30
titel_computer 153 27 16 16 153 27
optionen_titel 276 81 80 8 228 49
LIST

"$convert" sheet "$build/art_contact_sheet.png" "$icons"/{1,101,102}.ico \
    "$pictures"/{zielkreuz.ico,loeschen.ico,tb_neu.png,tb_optionen.png,tb_top10.png,tb_ende.png,tb_hilfe.png} \
    "$pictures"/{boot_mensch.png,boot_computer.png,sound_an.png,sound_aus.png,hilfe_an.png,hilfe_aus.png} \
    "$pictures"/{groesse1.png,groesse2.png,groesse3.png,titel_mensch.gif,titel_computer.gif,optionen_titel.gif} \
    "$pictures"/{coolbar.bmp,picband.bmp,hinten.png,neu.bmp,meldung.bmp,sieg.bmp,start.jpg,score.jpg}
echo "made $(ls "$pictures" | grep -vc CMakeLists) pictures, 3 icons, $build/art_contact_sheet.png"
