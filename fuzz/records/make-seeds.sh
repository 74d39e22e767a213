#!/usr/bin/env bash
# Writes the seed corpus of the record, language and update-list fuzz targets
# from the demo world of a built program folder:
#   fuzz/records/make-seeds.sh build/program
# Each seed is the head of one file (a dozen lines, at most 1 KiB), so the
# corpus stays small. Personal files and the updater's lists, which the demo
# world does not hold, are written in the formats the program writes them.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
program="${1:?usage: fuzz/records/make-seeds.sh PROGRAMDIR}"
corpus="$here/fuzz/corpus"

# head of a file: its first 12 lines, cut at 1 KiB.
head_of() { head -n 12 "$1" | head -c 1024; }
# seed TARGET NAME SELECTOR: standard input, after the selector byte (octal,
# empty for none), becomes fuzz/corpus/TARGET/NAME.
seed() {
  mkdir -p "$corpus/$1"
  { [ -n "$3" ] && printf "\\$3"; cat; } > "$corpus/$1/$2"
}

rm -rf "$corpus/record_loaders" "$corpus/language_file" "$corpus/update_file_list" "$corpus/update_servers"

# record_loaders: the selector byte is the file's index in the target's list,
# plus 17 for the second campaign (Campaign.03).
files=(Characters.txt Char01CapElite.txt Char02OpenedTreasures.txt Notes.txt LastUpdate.txt Options.txt
       Regions.txt Zones.txt Professions.txt EliteList.txt EliteLocations.txt Collectors.txt
       CollectorsLocations.txt Greens.txt Treasures.txt PetsList.txt PetsLocations.txt)
printf '01\tAsha\r\n02\tB\xf6rn\r\n7\tCale\r\n' | seed record_loaders Characters.txt 000
printf '0001\r\n0007\r\n0042\r\n' | seed record_loaders Char01CapElite.txt 001
printf '0001\t01022010\r\n0003\t28032007\r\n0002\r\n' | seed record_loaders Char02OpenedTreasures.txt 002
printf 'Ford crossing\tWade at dusk{#ENTER#}mind the eels\t120\t340\t1\t2\r\n; kept\r\nCaf\xe9\t\t-5\t7\t3\t1\r\n' |
  seed record_loaders Notes.txt 003
printf '07-12-2026\r\n' | seed record_loaders LastUpdate.txt 004
printf '[OLD SELECTION]\r\nCampaign=1\r\nRegion=3\r\nZone=0\r\nLegend=-1\r\nPosX=120\r\nShowNotes=0\r\n' |
  seed record_loaders Options.txt 005
for c in 0 1; do
  folder=$(ls -d "$program"/Campaign.0$([ $c = 0 ] && echo 0 || echo 3).* 2>/dev/null | head -n 1)
  [ -d "$folder" ] || continue
  for i in $(seq 6 16); do
    f="$folder/${files[$i]}"
    [ -s "$f" ] || continue
    head_of "$f" | seed record_loaders "c$c-${files[$i]}" "$(printf '%03o' $((i + 17 * c)))"
  done
done

# language_file: the program's own texts, in pieces.
split -l 40 -d "$program/Data/Language.txt" "$corpus/language_file.tmp."
mkdir -p "$corpus/language_file"
for f in "$corpus"/language_file.tmp.*; do mv "$f" "$corpus/language_file/piece${f##*.}"; done

# update_file_list: a list naming the demo world's campaign folders.
{
  for folder in "$program"/Campaign.*; do
    name=$(basename "$folder")
    printf '%s.krb;%s;%s;%s\r\n' "${name,,}" "$(du -sb "$folder" | cut -f1)" "07-12-2026" "$name"
  done
  printf 'update.krb;20480;01-04-2007;;%s\r\n' "$(printf 'x' | sha256sum | cut -d' ' -f1)"
} | seed update_file_list demo-world ""
printf 'files.krb;1024;29-02-2024;Data\\\r\nold.krb;5;28-03-2007;\r\n' | seed update_file_list dates ""

# update_servers: entries as Data/Servers.txt holds them.
printf '; servers\r\nWayloom official site\twww.wayloom.org\tfiles\r\nLocal test\thttp://127.0.0.1:8080/\t/mirror/\r\n' |
  seed update_servers servers ""
printf 'Secure\thttps://example.org\t\\Wayloom\\\r\n' | seed update_servers https ""
