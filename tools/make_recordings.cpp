// Writes the two recordings the suite replays, made by the test bots on the test seams wrapped
// in the recorder, so each file is what the real program started with --replay reads back:
//   make_recordings DIR
// DIR/haruvel-demo.rec      the demo played to "The End.", then the window closed
// DIR/kardovan-battle.rec   a battle fought to a defeat
// and next to each a .out file: what the headless replay prints (the message boxes' texts and
// the end line with the frame count and state digest the recording ended with).
// Run it again whenever a game rule changes; the replays of the old files then drift.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Recording.h"
#include "platform/qt/QtText.h"
#include "tests/support/battlebot.h"
#include "tests/support/playbot.h"

namespace {

constexpr std::uint64_t kDemoSeed = 12345;
constexpr std::uint64_t kBattleSeed = 4;

// What the headless replay prints: each box's text with line feeds, then the end line.
std::string replayOutput(const std::vector<std::u16string>& messages, const std::string& recording,
                         const std::string& fileName, const std::string& program) {
    const plat::RecordingRead read = plat::parseRecording(recording, fileName, program);
    if (!read.recording || read.recording->lines.empty() ||
        read.recording->lines.back().kind != plat::RecordedLine::End) {
        std::fprintf(stderr, "%s: not a whole recording: %s\n", fileName.c_str(),
                     read.error.c_str());
        return {};
    }
    const plat::RecordedLine& end = read.recording->lines.back();
    std::string out;
    for (const std::u16string& m : messages)
        out += plat::qt::withLineFeeds(m).toStdString() + "\n";
    return out + "end frame=" + std::to_string(end.number) +
           " digest=" + plat::digestText(*end.digest) + "\n";
}

bool save(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
    f.close();
    if (!f) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return static_cast<bool>(f);
}

bool write(const std::string& dir, const std::string& name, const std::string& program,
           const std::ostringstream& recording, const std::vector<std::u16string>& messages) {
    const std::string out = replayOutput(messages, recording.str(), name + ".rec", program);
    return !out.empty() && save(dir + "/" + name + ".rec", recording.str()) &&
           save(dir + "/" + name + ".out", out);
}

bool demo(const std::string& dir) {
    std::ostringstream rec;
    const testsupport::RecordTo to{rec, {"haruvel", HARUVEL_VERSION, "", kDemoSeed}};
    playbot::Demo d(kDemoSeed, nullptr, &to);
    d.start();
    if (!d.playAll(true) || !d.closeWindow()) {
        std::fprintf(stderr, "the bot did not get through the demo (frame %lld)\n", d.frameCount);
        return false;
    }
    d.recorder.reset(); // writes what is pending
    return write(dir, "haruvel-demo", "haruvel", rec, d.messages());
}

bool kardovanBattle(const std::string& dir) {
    std::ostringstream rec;
    const testsupport::RecordTo to{rec, {"kardovan", HARUVEL_VERSION, "", kBattleSeed}};
    battlebot::Battle b(kBattleSeed, &to);
    b.play();
    if (b.messages().size() != 1 || b.frames() >= b.frameLimit) {
        std::fprintf(stderr, "the battle did not end in a defeat\n");
        return false;
    }
    b.recorder.reset();
    return write(dir, "kardovan-battle", "kardovan", rec, b.messages());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_recordings DIR\n");
        return 2;
    }
    return demo(argv[1]) && kardovanBattle(argv[1]) ? 0 : 1;
}
