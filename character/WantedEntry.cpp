#include "character/WantedEntry.h"

#include <array>

namespace pomvella {
namespace {

constexpr std::array<Point, 3> kPose1Seeds{{{0, 0}, {42, 108}, {30, 116}}};
constexpr std::array<Point, 5> kPose2Seeds{{{0, 0}, {102, 104}, {54, 108}, {62, 98}, {95, 97}}};
constexpr std::array<Point, 2> kPose3Seeds{{{0, 0}, {64, 102}}};
constexpr std::array<Point, 4> kFaceSeeds{{{0, 0}, {138, 54}, {68, 84}, {121, 80}}};

// The rectangle reaches one column and one row past the 200 x 186 picture on
// purpose: only its last column changes.
constexpr Rect kFaceEdgeFill{199, 0, 201, 187};

const std::array<WantedEntry, 4> kWantedEntries{{
    {"C00210020.BM2", 355, 355, {0, 0, 355, 355}, 160, 160, kPose1Seeds, std::nullopt, "001.BMP", false},
    {"C00210071.BM2", 355, 355, {29, 8, 384, 363}, 160, 160, kPose2Seeds, std::nullopt, "002.BMP", false},
    {"C00210130.BM2", 355, 355, {5, 12, 360, 367}, 160, 160, kPose3Seeds, std::nullopt, "003.BMP", false},
    {"C00200120.BM2", 404, 377, {7, 7, 411, 384}, 200, 186, kFaceSeeds, kFaceEdgeFill, "000.NAD", true},
}};

}  // namespace

std::span<const WantedEntry> WantedEntries() { return kWantedEntries; }

const WantedEntry* FindWantedEntry(std::string_view name)
{
    for (const WantedEntry& entry : kWantedEntries) {
        if (entry.entryName == name)
            return &entry;
    }
    return nullptr;
}

}  // namespace pomvella
