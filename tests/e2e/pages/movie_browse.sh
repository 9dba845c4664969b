#!/bin/bash
# The movie's Browse button in the real tool: the open-file dialog, a path typed into it, and the
# movie's background colour taken over into the project. Usage: movie_browse.sh BUILD_DIR CORPUS
. "$(dirname "$0")/../authoring/authoring_lib.sh" "$1"
prepare_prefix
new_case pages_movie_browse
forget_settings
MOVIE=$(winpath "$2/swf/files/ruffle-colorconversion_vp6a.swf")
W=$(winpath "$WORK")

zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  mouse-click 1044 $(chooser Open "$MOVIE") \
  wait-window "Zarvane - [Untitled.zvp *]" expect-text 1020 "$MOVIE" expect-focus 1020 \
  key ctrl+s $(chooser Save?As "$W\\movie.zvp") \
  wait-window "Zarvane - [$W\\movie.zvp]" key escape wait-exit 0
check "Browse: the chosen movie in its field, focused; the project saved" equals "$?" 0
check "the movie's background colour taken over" \
  equals "$(ini_value "$WORK/movie.zvp" Movie MovieBkgColor)" ff6699
check "the movie's path saved" equals "$(ini_value "$WORK/movie.zvp" Movie SWFFile)" "$MOVIE"
finish
