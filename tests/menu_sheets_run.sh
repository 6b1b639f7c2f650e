#!/bin/sh
# One headless run of the game ($1) to its menu and out, with a home of its
# own: a new temporary folder holds its settings, its save folder and its
# instance lock, and goes when the run ends. Runs of the tests side by side
# (two trees, or two runs of one tree) so never share a settings file, and
# neither finds the other's instance lock and ends at once without having
# converted anything. The menu sheets it converts go to the tree's data
# folder, each written under a name of the game's own and renamed into place.
home=$(mktemp -d "${TMPDIR:-/tmp}/korvena-sheets-XXXXXX") || exit 1
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/run"
printf '1 keydown ESCAPE\n80 keyup ESCAPE\n120 quit 0\n' >"$home/script.txt"
KORVENA_BACKEND=headless HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/share" \
  XDG_RUNTIME_DIR="$home/run" KORVENA_MACHINE_SETTINGS="$home/machine.txt" KORVENA_SCRIPT="$home/script.txt" "$1"
