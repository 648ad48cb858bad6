// The tilings of regular polygons that boards are cut from, with side 1: each periodic tiling
// is a lattice and the polygons of one lattice cell, given by centre and the direction of
// their first corner; the decagon ringed by pentagons is built directly.
#include "Tilings.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <utility>

namespace BoardGen {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Sqrt3 = std::numbers::sqrt3;
constexpr double Sqrt2 = std::numbers::sqrt2;

double Radians(double degrees)
{
    return degrees * Pi / 180.0;
}

// Circumradius and apothem of a regular n-gon of side 1.
double Circumradius(int n)
{
    return 0.5 / std::sin(Pi / n);
}

double Apothem(int n)
{
    return 0.5 / std::tan(Pi / n);
}

// A regular n-gon of side 1 around centre whose first corner lies in the direction
// firstCorner (degrees, counted from the x axis towards the y axis).
Polygon Regular(int n, Vec centre, double firstCorner)
{
    Polygon polygon;
    const double r = Circumradius(n);
    for (int k = 0; k < n; ++k) {
        const double a = Radians(firstCorner + 360.0 * k / n);
        polygon.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
    return polygon;
}

struct Motif
{
    int sides;
    Vec centre;
    double firstCorner;
};

struct Periodic
{
    Vec a;
    Vec b;
    std::vector<Motif> motifs;
};

Vec Along(Vec v, double t)
{
    return {v.x * t, v.y * t};
}

Vec Sum(Vec p, Vec q)
{
    return {p.x + q.x, p.y + q.y};
}

Vec Rotated(Vec v, double degrees)
{
    const double c = std::cos(Radians(degrees));
    const double s = std::sin(Radians(degrees));
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

// On a triangular lattice of spacing d: a polygon at every lattice point plus the polygons at
// the centres of the two triangles of each lattice cell, and optionally a polygon at the middle
// of each of the three lattice steps from a point.
Periodic Triangular(double d)
{
    return {{d, 0.0}, {d / 2.0, d * Sqrt3 / 2.0}, {}};
}

Vec UpCentre(const Periodic& p)
{
    return Along(Sum(p.a, p.b), 1.0 / 3.0);
}

Vec DownCentre(const Periodic& p)
{
    return Along(Sum(p.a, p.b), 2.0 / 3.0);
}

// The squares at the middles of the three lattice steps 0, 60 and 120 degrees, each with a
// side facing along its step.
void AddStepSquares(Periodic& p)
{
    const Vec steps[3] = {p.a, p.b, Sum(p.b, Along(p.a, -1.0))};
    for (int k = 0; k < 3; ++k) {
        p.motifs.push_back({4, Along(steps[k], 0.5), 45.0 + 60.0 * k});
    }
}

bool PeriodicTiling(const std::string& name, Periodic& p)
{
    if (name == "4.4.4.4") {
        p = {{1.0, 0.0}, {0.0, 1.0}, {{4, {0.0, 0.0}, 45.0}}};
    } else if (name == "6.6.6") {
        p = {{1.5, Sqrt3 / 2.0}, {0.0, Sqrt3}, {{6, {0.0, 0.0}, 0.0}}};
    } else if (name == "3.3.3.3.3.3") {
        p = Triangular(1.0);
        p.motifs = {{3, UpCentre(p), 90.0}, {3, DownCentre(p), 270.0}};
    } else if (name == "4.8.8") {
        const double d = 1.0 + Sqrt2; // the width of the octagon across its sides
        p = {{d, 0.0}, {0.0, d}, {{8, {0.0, 0.0}, 22.5}, {4, {d / 2.0, d / 2.0}, 0.0}}};
    } else if (name == "3.6.3.6") {
        // Hexagons meet at corners; the triangles fill the gaps between three of them.
        p = Triangular(2.0);
        p.motifs = {{6, {0.0, 0.0}, 0.0}, {3, UpCentre(p), 270.0}, {3, DownCentre(p), 90.0}};
    } else if (name == "3.4.6.4") {
        // Hexagons a square apart; triangles point at the hexagons.
        p = Triangular(1.0 + Sqrt3);
        p.motifs = {{6, {0.0, 0.0}, 30.0}, {3, UpCentre(p), 210.0}, {3, DownCentre(p), 30.0}};
        AddStepSquares(p);
    } else if (name == "4.6.12") {
        // Dodecagons a square apart; hexagons in the gaps between three of them.
        p = Triangular(2.0 * Apothem(12) + 1.0);
        p.motifs = {{12, {0.0, 0.0}, 15.0}, {6, UpCentre(p), 0.0}, {6, DownCentre(p), 0.0}};
        AddStepSquares(p);
    } else if (name == "3.12.12") {
        // Dodecagons sharing sides; triangles in the gaps between three of them.
        p = Triangular(2.0 * Apothem(12));
        p.motifs = {{12, {0.0, 0.0}, 15.0}, {3, UpCentre(p), 30.0}, {3, DownCentre(p), 90.0}};
    } else if (name == "3.3.3.4.4") {
        // Rows of squares between rows of triangles.
        const double h = Sqrt3 / 2.0;
        p = {{1.0, 0.0},
             {0.5, 1.0 + h},
             {{4, {0.5, 0.5}, 45.0},
              {3, {0.5, 1.0 + h / 3.0}, 90.0},
              {3, {1.0, 1.0 + 2.0 * h / 3.0}, 270.0}}};
    } else if (name == "3.3.4.3.4") {
        // Two squares tilted by 15 degrees either way per lattice cell; the four triangles are
        // one triangle turned in quarter turns about the first square's centre.
        const double side = std::sqrt(2.0 + Sqrt3);
        p = {
            {side, 0.0}, {0.0, side}, {{4, {0.0, 0.0}, 60.0}, {4, {side / 2.0, side / 2.0}, 30.0}}};
        const Polygon first = Regular(4, {0.0, 0.0}, 60.0);
        const Polygon second = Regular(4, {side / 2.0, side / 2.0}, 30.0);
        // The triangle between the first square's corners 0 and 3 and the second's corner 3.
        const Vec centre = Along(Sum(Sum(first[0], first[3]), second[3]), 1.0 / 3.0);
        const double corner = std::atan2(first[0].y - centre.y, first[0].x - centre.x) * 180.0 / Pi;
        for (int k = 0; k < 4; ++k) {
            p.motifs.push_back({3, Rotated(centre, 90.0 * k), corner + 90.0 * k});
        }
    } else {
        return false;
    }
    return true;
}

// A regular decagon with a regular pentagon on each side: neighbouring pentagons touch only
// at a corner.
std::vector<Polygon> DecagonRing()
{
    std::vector<Polygon> polygons;
    // Corners at 18 + 36k degrees put a side facing each multiple of 36 degrees.
    polygons.push_back(Regular(10, {0.0, 0.0}, 18.0));
    const double distance = Apothem(10) + Apothem(5);
    for (int k = 0; k < 10; ++k) {
        const double facing = 36.0 * k;
        const Vec centre = {distance * std::cos(Radians(facing)),
                            distance * std::sin(Radians(facing))};
        // The pentagon's side towards the decagon faces back along facing + 180 degrees.
        polygons.push_back(Regular(5, centre, facing + 180.0 + 36.0));
    }
    return polygons;
}

} // namespace

std::vector<std::string> TilingNames()
{
    return {"4.4.4.4", "6.6.6",   "3.3.3.3.3.3", "4.8.8",     "3.6.3.6",  "3.4.6.4",
            "4.6.12",  "3.12.12", "3.3.3.4.4",   "3.3.4.3.4", "5.10-ring"};
}

bool BuildPatch(const std::string& tiling, double radius, std::vector<Polygon>& polygons)
{
    polygons.clear();
    if (tiling == "5.10-ring") {
        polygons = DecagonRing();
        return true;
    }
    Periodic p;
    if (!PeriodicTiling(tiling, p)) {
        return false;
    }
    // Enough lattice steps either way to cover the disc: the shorter lattice vector bounds how
    // far one step reaches, and the lattice vectors here are at least 60 degrees apart.
    const double step = std::min(std::hypot(p.a.x, p.a.y), std::hypot(p.b.x, p.b.y));
    const int reach = int(std::ceil(2.0 * radius / step)) + 2;
    for (int i = -reach; i <= reach; ++i) {
        for (int j = -reach; j <= reach; ++j) {
            const Vec origin = Sum(Along(p.a, i), Along(p.b, j));
            for (const Motif& motif : p.motifs) {
                const Vec centre = Sum(origin, motif.centre);
                if (std::hypot(centre.x, centre.y) <= radius) {
                    polygons.push_back(Regular(motif.sides, centre, motif.firstCorner));
                }
            }
        }
    }
    return true;
}

bool FillsThePlane(const std::vector<Polygon>& polygons, double radius)
{
    // Corners are grouped on a fine grid; a corner near a grid line may fall in the next cell,
    // so each corner is looked up in its own cell and the eight around it.
    constexpr double Grid = 1e-4;
    std::map<std::pair<int64_t, int64_t>, std::vector<size_t>> buckets;
    std::vector<Vec> corners;
    std::vector<double> angles;
    for (const Polygon& polygon : polygons) {
        const double angle = Pi * double(polygon.size() - 2) / double(polygon.size());
        for (const Vec& corner : polygon) {
            const int64_t gx = std::llround(corner.x / Grid);
            const int64_t gy = std::llround(corner.y / Grid);
            size_t found = corners.size();
            for (int64_t dx = -1; dx <= 1 && found == corners.size(); ++dx) {
                for (int64_t dy = -1; dy <= 1 && found == corners.size(); ++dy) {
                    auto it = buckets.find({gx + dx, gy + dy});
                    if (it == buckets.end()) {
                        continue;
                    }
                    for (size_t index : it->second) {
                        if (std::hypot(corners[index].x - corner.x, corners[index].y - corner.y) <
                            Grid) {
                            found = index;
                            break;
                        }
                    }
                }
            }
            if (found == corners.size()) {
                corners.push_back(corner);
                angles.push_back(0.0);
                buckets[{gx, gy}].push_back(found);
            }
            angles[found] += angle;
        }
    }
    for (size_t i = 0; i < corners.size(); ++i) {
        const bool inner = std::hypot(corners[i].x, corners[i].y) <= radius;
        if ((inner && std::abs(angles[i] - 2.0 * Pi) > 1e-9) || angles[i] > 2.0 * Pi + 1e-9) {
            return false;
        }
    }
    return true;
}

} // namespace BoardGen
