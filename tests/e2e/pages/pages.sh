#!/bin/bash
# The pages in the real tool: a picture button's tip, the movie's Browse with the open-file dialog
# typed at, and the movie's background colour taken over into the project.
# Usage: pages.sh BUILD_DIR CORPUS
. "$(dirname "$0")/../authoring/authoring_lib.sh" "$1"
prepare_prefix
new_case pages_movie_browse
forget_settings
MOVIE=$(winpath "$(realpath "$2")/swf/files/ruffle-colorconversion_vp6a.swf")
W=$(winpath "$WORK")

zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  key tab expect-focus 1044 \
  expect-text 1033 "Tips*Browse for the Flash movie  to be converted to a Wallpaper" \
  mouse-click 1044 $(chooser Open "$MOVIE") \
  wait-window "Zarvane - [Untitled.zvp *]" expect-text 1020 "$MOVIE" expect-focus 1020 \
  key ctrl+s $(chooser Save?As "$W\\movie.zvp") \
  wait-window "Zarvane - [$W\\movie.zvp]" key escape wait-exit 0
check "the Browse tip; the chosen movie in its field, focused; the project saved" equals "$?" 0
check "the movie's background colour taken over" \
  equals "$(ini_value "$WORK/movie.zvp" Movie MovieBkgColor)" ff6699
check "the movie's path saved" equals "$(ini_value "$WORK/movie.zvp" Movie SWFFile)" "$MOVIE"
finish
