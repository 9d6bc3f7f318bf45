// The recording file: a versioned, line-based text. A header names the program, its version,
// the scenario and the seed of the random source; then one line per reading that differs from
// what a replay could work out alone, in the order the game took them:
//
//   recording 1                  format and its version
//   program haruvel
//   version 1.0.0
//   scenario quest/              empty for the built-in one
//   seed 1234
//   t 16                         a clock reading: ms after the one before (the first: the tick)
//   k 37 1 12                    key 37 now reads held; its 12 readings since its last line
//                                read as that line said (keys start released)
//   a MainWindow 0 3                the same for whether a form is active (forms start active)
//   p 5                          five passes of the message pump
//   e MainWindow down gameView -1 1 0 120 88     an input event, delivered in the next pass
//   m 6                          a message box's answer
//   f                            a frame begins; every 250th: f <digest>
//   reload 312                   the game read its folder again in frame 312 (--watch): a
//                                replay stops here
//   end 812 0123456789abcdef     the game ended in frame 812 with that state digest
//
// A last line without its newline (the program ended while writing it) is not part of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InputEvent.h"

namespace plat {

constexpr int kRecordingVersion = 1;
constexpr int kDigestEvery = 250;                                      // frames between two digests
constexpr std::uint64_t kMaxRecordingBytes = std::uint64_t{256} << 20; // a longer one is refused

struct RecordingHeader {
    std::string program;  // "haruvel"
    std::string version;  // the program's version
    std::string scenario; // the scenario folder played; empty for the built-in one
    std::uint64_t seed = 0;
};

std::string headerText(const RecordingHeader& header);
// "e <form> <what> ..." without the line's end.
std::string eventText(const std::string& form, const InputEvent& event);
std::string digestText(std::uint64_t digest); // 16 hex digits

// One line after the header.
struct RecordedLine {
    enum Kind { Clock, Key, Active, Pumps, Event, Box, Frame, Reload, End } kind = Clock;
    int line = 0;                // its line number in the file
    std::uint32_t number = 0;    // Clock: the step; Key: the key; Pumps: the count; Box: answer;
                                 // Reload, End: the frame
    bool held = false;           // Key, Active: the new reading
    std::uint32_t unchanged = 0; // Key, Active: readings since the last line
    std::string form;            // Active, Event
    InputEvent event;            // Event
    std::optional<std::uint64_t> digest; // Frame (every 250th), End
};

struct Recording {
    RecordingHeader header;
    std::vector<RecordedLine> lines;
};

// A recording read whole, or the first thing wrong with it as "<file>:<line>: <what>".
struct RecordingRead {
    std::optional<Recording> recording;
    std::string error;
};

// Reads and checks a recording of `program` from its text.
RecordingRead parseRecording(std::string_view text, std::string_view fileName,
                             std::string_view program);
// The same from a file: a regular file of at most kMaxRecordingBytes.
RecordingRead readRecording(const std::string& path, std::string_view program);

} // namespace plat
