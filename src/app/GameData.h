// The check that a game folder holds the data the game cannot start without, made before any
// window opens and before anything is written, so that a mistyped --data ends with a message
// instead of a black screen and a stray data.dat.
#pragma once

#include <string>

// Empty when folder is readable and its merged tree (loose files and .qpk archives, as the game
// mounts them) holds the catalogue, the strings, the skin, the main menu's layout, the
// trigonometry table and at least one board file directly in "grids". Else the reason in a few
// words: "no such folder", "not a folder", "cannot read it (...)" or "missing X, Y and Z".
std::string CheckGameData(const std::string& folder);
