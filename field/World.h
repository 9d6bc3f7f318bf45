// The field program's whole game state in one record.
//
// How failures travel in field/: the game never stops for one. A request that may not be
// carried out answers bool (a searcher option taken, a search started, an event fired, own
// scripts installed) or its own outcome (MoveResult, ObjectStep) and leaves the World as it
// was; object numbers and cells out of range are ignored. A scenario folder answers its
// located errors (ScenarioError); a script's failure stays inside its Tekkel run. The error
// box belongs to common::reportError alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tekkel/Script.h"

namespace field {

using tekkel::AllocMap;
using tekkel::Run;
using tekkel::Script;
using tekkel::Value;

// The player. EventObject begins with the same fields, visible through moving.
struct CharState {
    std::int32_t lead = 0;   // not used by any operation
    std::u16string charName; // not used by any operation
    std::int16_t visible = 0;
    std::int16_t chipSheet = 0; // 0 character chip sheet, 1 event chip sheet
    std::int16_t layer = 0;
    std::int16_t plane = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t stepX = 0;
    std::int32_t stepY = 0;
    std::int32_t sheetX = 0;
    std::int32_t sheetY = 0;
    std::int16_t facing = 0; // 0 up, 1 right, 2 down, 3 left; also the chip row
    std::int16_t stepDir = 0;
    std::int16_t animColumn = 0; // 1 standing, 0 and 2 stepping
    std::int16_t lastStride = 0;
    std::int32_t animTicks = 0;
    std::int32_t chipWidth = 0;
    std::int32_t chipHeight = 0;
    std::int32_t stepFrames = 0;
    std::int16_t moving = 0;
};

struct EventObject {
    std::int16_t visible = 0;
    std::int16_t chipSheet = 0;
    std::int16_t layer = 0;
    std::int16_t plane = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t stepX = 0;
    std::int32_t stepY = 0;
    std::int32_t sheetX = 0;
    std::int32_t sheetY = 0;
    std::int16_t facing = 0;
    std::int16_t stepDir = 0;
    std::int16_t animColumn = 0;
    std::int16_t lastStride = 0;
    std::int32_t animTicks = 0;
    std::int32_t chipWidth = 0;
    std::int32_t chipHeight = 0;
    std::int32_t stepFrames = 0;
    std::int16_t moving = 0;
    std::int32_t stepInterval = 0;
    std::int16_t detached = 0;
    std::int16_t enabled = 0;
    std::int16_t onStep = 0;
    std::int16_t triggerable = 0;
    Script ownScript;
    std::int32_t autoScript = 0;
    Run run;
};

struct MapCell {
    std::int16_t kind = 0; // 0 none, 1 walkable ground, 2 wall, 3 blocked
    std::int32_t chipX = 0;
    std::int32_t chipY = 0;
    std::int16_t eventId = 0;
};

constexpr int kPlaneCount = 4;
enum Plane { kPlaneGround = 0, kPlaneBase = 1, kPlaneChar = 2, kPlaneAbove = 3 };

// Four planes of (maxX + 1) x (maxY + 1) cells, stored column-major: cell(x, y).
struct MapLayer {
    std::vector<MapCell> planes[kPlaneCount];
    std::int32_t rows = 0; // maxY + 1

    MapCell& cell(int plane, int x, int y) {
        return planes[plane][static_cast<std::size_t>(x) * rows + y];
    }
    const MapCell& cell(int plane, int x, int y) const {
        return planes[plane][static_cast<std::size_t>(x) * rows + y];
    }
};

struct World {
    CharState player;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    std::int16_t topLayer = 0;
    std::vector<MapLayer> layers; // 0..topLayer
    std::int16_t systemScriptActive = 0;
    Run systemRun;
    std::int32_t eventCount = 0;
    std::vector<EventObject> events; // 0..eventCount; entry 0 is never an object
    tekkel::Machine machine;         // the stored scripts, shared variables and allocation table
    std::int16_t actionRequested = 0;
    std::int32_t actionHoldFrames = 0;
    std::int16_t inputLocked = 0;
    std::int16_t shadeLevel = 0;

    // Sizes the map to (topLayer + 1) layers of (maxX + 1) x (maxY + 1) zero cells per plane.
    void resizeMap(int newMaxX, int newMaxY, int newTopLayer);
    bool inMap(int layer, int plane, int x, int y) const {
        return layer >= 0 && layer <= topLayer && plane >= 0 && plane < kPlaneCount && x >= 0 &&
               x <= maxX && y >= 0 && y <= maxY;
    }
    MapCell& cell(int layer, int plane, int x, int y) { return layers[layer].cell(plane, x, y); }
    const MapCell& cell(int layer, int plane, int x, int y) const {
        return layers[layer].cell(plane, x, y);
    }
};

// Sets the player's start values on a zero-filled World.
void initPlayer(World& world);

} // namespace field
