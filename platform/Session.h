// A session that watches a game's frames: a recording writes the game's state digest into its
// file now and then, a replay compares it with the recorded one. The games tell it where each
// frame of their main loop begins and when the game is over; everything else it sees through
// the other seams.
#pragma once

#include <cstdint>
#include <functional>

namespace plat {

// Computes a 64-bit digest of the game's whole state (what decides how the game goes on), never
// of pixels or timing. Called only when the session needs it.
using StateDigest = std::function<std::uint64_t()>;

class ISession {
  public:
    virtual ~ISession() = default;
    // A frame of the main loop begins: called once per frame, before the frame reads any input.
    // `digest` stays valid until the next call or gameEnds.
    virtual void frameBegins(const StateDigest& digest) = 0;
    // The game is over and its state final; called once, while that state still exists.
    virtual void gameEnds(const StateDigest& digest) = 0;
    // The game read its data files again while it played (haruvel --watch): what follows
    // depends on what they held then, which no replay can know.
    virtual void folderReadAgain() {}
};

} // namespace plat
