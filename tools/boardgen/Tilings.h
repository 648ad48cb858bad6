// The tilings boards are cut from: patches of regular polygons with sides of length 1, built
// from a lattice and the polygons of one lattice cell.
#pragma once

#include <string>
#include <vector>

namespace BoardGen {

struct Vec
{
    double x = 0.0;
    double y = 0.0;
};

// One cell of a tiling: its corners in order around it (either way round).
using Polygon = std::vector<Vec>;

// The names accepted by BuildPatch, for messages.
std::vector<std::string> TilingNames();

// Every polygon of the named tiling whose centre lies within radius of the origin (the
// decagon ring is a finite figure and comes whole). False for an unknown name.
bool BuildPatch(const std::string& tiling, double radius, std::vector<Polygon>& polygons);

// True when the polygons meet edge to edge without gaps or overlaps around every corner that
// lies within radius of the origin: the angles of the polygons at such a corner add up to one
// full turn. A check of the tilings themselves, run before a board is cut from one.
bool FillsThePlane(const std::vector<Polygon>& polygons, double radius);

} // namespace BoardGen
