// Finding the game folder, and the check that it holds the data the game cannot start
// without, made before any window opens and before anything is written, so that a mistyped
// --data or a broken install ends with a message instead of a black screen and a stray data.dat.
#pragma once

#include <string>

// Empty when folder is readable and its merged tree (loose files and .qpk archives, as the game
// mounts them) holds the catalogue, the strings, the skin, the main menu's layout, the
// trigonometry table and at least one board file directly in "grids". Else the reason in a few
// words: "no such folder", "not a folder", "cannot read it (...)" or "missing X, Y and Z".
std::string CheckGameData(const std::string& folder);

// The game folder a run uses, and whether it is an installed copy.
struct GameDataPlace
{
    std::string folder;
    // Found as share/tavlo beside the executable's bin folder: an install tree, which the game
    // never writes into, so the player's data is kept in the user's own data folder instead.
    bool installed = false;
    // Empty when folder holds the data. Else the message: "game folder 'DIR': reason" for each
    // place looked at, joined by "; ".
    std::string problem;
};

// The game folder: dataOption when given (--data); else programFolder when it holds a .qpk
// archive (the build folder, a portable copy); else programFolder/../share/tavlo when it holds
// the data (an install).
GameDataPlace FindGameData(const std::string& dataOption, const std::string& programFolder);
