// Recording a session and replaying it: a toy game on the test seams that reads the clock, the
// keys and its activation, draws random numbers, shows boxes and takes mouse clicks.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "platform/Recorder.h"
#include "platform/Replayer.h"
#include "platform/testing/TestSeams.h"

namespace {

using plat::testing::ProcessExit;
using plat::testing::TestServices;

struct Toy : plat::Form {
    plat::PictureBox pic{"picToy", 2};
    plat::CheckBox chk{"chkToy"};
    std::uint64_t state = 1;            // the digest: changed only at a frame's end
    std::uint64_t input = 0;            // what the window's events did during the frame
    std::uint64_t rule = 31;            // another rule: a drifted game
    int reloadAt = -1;                  // the frame that reads its files again, taking another rule
    std::vector<std::uint64_t> digests; // at each frame's beginning

    Toy() : Form("frmToy") {
        add(pic);
        add(chk);
        pic.onMouseDown = [this](int b, int s, float x, float y) {
            input = input * 7 + static_cast<std::uint64_t>(b + s + x * 3 + y);
        };
        chk.onClick = [this] { input = input * 5 + 2 + static_cast<std::uint64_t>(chk.value); };
    }
    void queryUnload(bool& cancel) override {
        input = input * 3 + 1;
        cancel = true;
    }

    // Plays `frames` frames, as a game's main loop does.
    void play(plat::Services& sv, int frames) {
        const plat::StateDigest digest = [this] { return state; };
        sv.windows.show(*this);
        for (int f = 0; f < frames; ++f) {
            digests.push_back(state);
            if (sv.session) sv.session->frameBegins(digest);
            if (f == reloadAt && sv.session) sv.session->folderReadAgain(), rule = 41;
            std::uint64_t s = state * rule + sv.clock.timeGetTime() + sv.random.next32() % 97;
            (void)sv.keyboard.isHeld(plat::vk::Left); // read twice, as the field does
            if (sv.keyboard.isHeld(plat::vk::Left)) s += 5;
            if (!sv.windows.isActive(*this)) s ^= 0xAB;
            if (f % 40 == 39) {
                s += static_cast<std::uint64_t>(sv.windows.messageBox(
                    u"box " + std::u16string(1, static_cast<char16_t>(u'a' + f / 40 % 26)), u"",
                    f % 80 == 79 ? plat::MsgButtons::YesNoCancel : plat::MsgButtons::Ok,
                    plat::MsgIcon::None));
            }
            sv.clock.sleep(10 + f % 7);
            for (int pass = 0; pass <= f % 3; ++pass)
                sv.windows.doEvents();
            state = s + input;
            input = 0;
        }
        if (sv.session) sv.session->gameEnds(digest);
    }
};

// A session with scripted input: keys pressed and released, clicks, the window inactive for a
// while, boxes answered.
std::string record(int frames, Toy& toy) {
    TestServices ts;
    std::ostringstream file;
    plat::Recorder rec(ts.services, file, {"toy", "1.0", "", 99});
    int pump = 0;
    ts.windows.onEvents = [&] {
        ++pump;
        if (pump % 13 == 0) ts.keyboard.press(plat::vk::Left);
        if (pump % 29 == 0) ts.keyboard.release(plat::vk::Left);
        ts.windows.active = pump % 100 > 10;
        if (pump % 7 == 0) {
            plat::deliver(toy, plat::InputEvent::mouse(plat::InputKind::MouseDown, toy.pic,
                                                       pump % 3, 1, pump * 0.5f, 7.25f));
        }
        if (pump % 11 == 0) plat::deliver(toy, plat::InputEvent::click(toy.chk, pump % 2));
        if (pump % 97 == 0) plat::deliver(toy, plat::InputEvent::close(), &ts.windows);
    };
    ts.windows.answers = {plat::MsgResult::No, plat::MsgResult::Yes, plat::MsgResult::Cancel};
    toy.play(rec.services(), frames);
    return file.str();
}

struct Replayed {
    int exitCode = -1; // -1: the game ran to its end
    std::string out, err, boxes;
};

// With `closeAt`, a replay in a live window (paced): the window's own input goes on, a click in
// every pass, and in pass `closeAt` the window is closed.
Replayed replay(const std::string& text, Toy& toy, int frames, int closeAt = 0) {
    Replayed r;
    plat::RecordingRead read = plat::parseRecording(text, "toy.rec", "toy");
    EXPECT_EQ(read.error, "");
    if (!read.recording) return r;
    TestServices ts; // another seed: all comes from the recording
    int pump = 0;
    ts.windows.onEvents = [&] {
        plat::deliver(toy, plat::InputEvent::click(toy.chk, 1));
        if (++pump == closeAt) plat::deliver(toy, plat::InputEvent::close(), &ts.windows);
    };
    std::ostringstream out, err;
    plat::Replayer rep(ts.services, std::move(*read.recording),
                       {"toy.rec", &out, &err, closeAt > 0, [&](const std::u16string& t, auto&) {
                            r.boxes += std::string(t.begin(), t.end()) + ";";
                        }});
    try {
        toy.play(rep.services(), frames);
    } catch (const ProcessExit& e) {
        r.exitCode = e.code;
    }
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string endLine(std::size_t frame, std::uint64_t digest) {
    return "end frame=" + std::to_string(frame) + " digest=" + plat::digestText(digest) + "\n";
}

TEST(Replay, ReplaysToTheSameStateAndBoxes) {
    Toy recorded;
    const std::string text = record(600, recorded);
    Toy replayed;
    const Replayed r = replay(text, replayed, 600);
    EXPECT_EQ(r.exitCode, -1) << r.err;
    EXPECT_EQ(replayed.digests, recorded.digests);
    EXPECT_EQ(r.out, endLine(600, recorded.state));
    EXPECT_EQ(r.boxes.substr(0, 24), "box a;box b;box c;box d;");
    // Compact: unchanged key and activation readings leave no line.
    EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 600 * 5);
}

TEST(Replay, ClosingTheLiveWindowEndsTheReplay) {
    Toy recorded;
    const std::string text = record(300, recorded);
    Toy replayed;
    const Replayed r = replay(text, replayed, 300, 200);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // It ends at once, with the state the recorded game had: the clicks never reached it.
    const std::size_t frames = replayed.digests.size();
    EXPECT_LT(frames, 300u);
    EXPECT_EQ(r.out, endLine(frames, recorded.digests[frames - 1]));
}

TEST(Replay, EveryEventLineReadsBackAsWritten) {
    std::mt19937 rng(3);
    const std::string head = "recording 1\nprogram toy\nversion 1\nscenario \nseed 5\n";
    for (int i = 0; i < 200; ++i) {
        auto n = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        plat::Control c(plat::ControlKind::Label, "lbl" + std::to_string(n(0, 9)), n(-1, 40));
        const float x = std::uniform_real_distribution<float>(-5000, 5000)(rng);
        const float y = static_cast<float>(n(-3, 700)) / 4;
        const auto kind = static_cast<plat::InputKind>(n(0, 6));
        plat::InputEvent e = kind == plat::InputKind::Click ? plat::InputEvent::click(c, n(-1, 2))
                             : kind == plat::InputKind::FormMouseMove
                                 ? plat::InputEvent::formMouseMove(n(0, 7), n(0, 7), x, y)
                             : kind == plat::InputKind::KeyDown
                                 ? plat::InputEvent::keyDown(n(1, 255), n(0, 7))
                             : kind == plat::InputKind::Close
                                 ? plat::InputEvent::close()
                                 : plat::InputEvent::mouse(kind, c, n(0, 7), n(0, 7), x, y);
        const std::string line = plat::eventText("frmX", e);
        const plat::RecordingRead r = plat::parseRecording(head + line + "\n", "x.rec", "toy");
        ASSERT_TRUE(r.recording) << r.error;
        EXPECT_EQ(r.recording->lines.at(0).form, "frmX");
        EXPECT_TRUE(r.recording->lines.at(0).event == e) << line;
    }
}

TEST(Replay, CutRecordingReplaysUpToTheCutAndEnds) {
    Toy recorded;
    const std::string text = record(300, recorded);
    std::mt19937 rng(7);
    const std::size_t body = text.find("\nt ") + 1;
    for (int i = 0; i < 40; ++i) {
        const std::size_t cut =
            std::uniform_int_distribution<std::size_t>(body, text.size() - 1)(rng);
        const std::string part = text.substr(0, cut);
        // Frames the cut recording holds whole; a line cut short does not count.
        const std::string whole = part.substr(0, part.rfind('\n') + 1);
        std::size_t frames = 0;
        for (std::size_t at = 0; (at = whole.find("\nf", at)) != std::string::npos; ++at)
            ++frames;
        Toy replayed;
        const Replayed r = replay(part, replayed, 300);
        ASSERT_EQ(r.exitCode, 0) << "cut at " << cut << ": " << r.err;
        // The state of the frame's beginning, or its end when the cut lies between frames.
        ASSERT_TRUE(r.out == endLine(frames, recorded.digests[frames - 1]) ||
                    r.out == endLine(frames, recorded.digests[frames]))
            << "cut at " << cut << ": " << r.out;
    }
}

TEST(Replay, DriftNamesTheFrame) {
    Toy recorded;
    const std::string text = record(600, recorded);
    Toy changed;
    changed.rule = 37;
    const Replayed r = replay(text, changed, 600);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("toy.rec:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("drifted in frame 250: the state digest"), std::string::npos) << r.err;
    // A game that takes its readings in another order drifts at the first one out of place.
    Toy longer;
    const Replayed more = replay(text, longer, 601);
    EXPECT_EQ(more.exitCode, 3);
    EXPECT_NE(more.err.find("in frame 600: the game took a frame where the recording has the "
                            "game's end"),
              std::string::npos)
        << more.err;
}

// A game that read its files again goes its own way from there: the replay stops, naming the frame.
TEST(Replay, StopsWhereTheRecordedGameReadItsFolderAgain) {
    Toy recorded;
    recorded.reloadAt = 120;
    const std::string text = record(300, recorded);
    Toy replayed;
    const Replayed r = replay(text, replayed, 300);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "replay stops at frame 121: the quest folder was read again while "
                     "recording\n");
    EXPECT_EQ(r.out, endLine(121, recorded.digests[120]));
}

TEST(Replay, BadRecordingsNameFileAndLine) {
    const std::string head = "recording 1\nprogram toy\nversion 1\nscenario \nseed 5\n";
    const struct {
        std::string text;
        std::string error; // the start of the message
    } cases[] = {
        {"", "bad.rec:1: the header is cut short"},
        {"recording 1\nprogram toy\nversion 1\n", "bad.rec:4: the header is cut short"},
        {"recording 2\n", "bad.rec:1: recording format version '2' is unknown"},
        {"Recording 1\n", "bad.rec:1: not a recording"},
        {"recording 1\nprogram kardovan\nversion 1\nscenario \nseed 5\n",
         "bad.rec:2: this is a recording of 'kardovan', not of toy"},
        {"recording 1\nprogram toy\nversion 1\nscenario \nseed -5\n",
         "bad.rec:5: the seed '-5' is not a whole number"},
        {head + "t 5\nt x\n", "bad.rec:7: malformed line 't x'"},
        {head + "k 37 2 0\n", "bad.rec:6: malformed line"},
        {head + "e frmToy down picToy 2 1 0 nan 3\n", "bad.rec:6: malformed line"},
        {head + "e frmToy tap\n", "bad.rec:6: malformed line"},
        {head + "f 123\n", "bad.rec:6: malformed line"},
        {head + "m 3\n", "bad.rec:6: malformed line"},
        {head + "p 0\n", "bad.rec:6: malformed line"},
        {head + "t 16\n\n", "bad.rec:7: malformed line"},
        // What the file holds is quoted as a short excerpt, never as raw bytes.
        {"recording 1\nprogram \x1B]0;x\x07\n",
         "bad.rec:2: this is a recording of '\\x1B]0;x\\x07'"},
        {"recording 1\nprogram toy\nversion 1\nscenario \nseed \xFF" + std::string(1 << 20, '\r') +
             "\n",
         "bad.rec:5: the seed '\\xFF\\x0D"},
        {head + "t" + std::string(1 << 20, 'x') + "\n", "bad.rec:6: malformed line 'txxx"},
    };
    for (const auto& c : cases) {
        const plat::RecordingRead r = plat::parseRecording(c.text, "bad.rec", "toy");
        EXPECT_FALSE(r.recording) << c.text;
        EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << r.error;
        EXPECT_LT(r.error.size(), 200u);
    }
    // A last line cut off while it was written is not part of the recording.
    const plat::RecordingRead cut = plat::parseRecording(head + "t 16\nk 3", "cut.rec", "toy");
    ASSERT_TRUE(cut.recording) << cut.error;
    EXPECT_EQ(cut.recording->lines.size(), 1u);
    EXPECT_EQ(plat::readRecording("/nonexistent/x.rec", "toy").error,
              "/nonexistent/x.rec:0: cannot read the file");
}

TEST(Replay, ADriftQuotesAnExcerptOfTheFormName) {
    Toy recorded;
    std::string text = record(5, recorded);
    const std::size_t pass = text.find("\np ");
    ASSERT_NE(pass, std::string::npos);
    text.insert(pass + 1, "e frm\x1B" + std::string(1 << 20, 'x') + " close\n");
    Toy replayed;
    const Replayed r = replay(text, replayed, 5);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("the form frm\\x1Bxxx"), std::string::npos) << r.err.substr(0, 300);
    EXPECT_LT(r.err.size(), 200u);
}

// A file that takes `room` bytes and then refuses, like a full disk.
struct FullDisk : std::streambuf {
    std::size_t room;
    explicit FullDisk(std::size_t room) : room(room) {}
    int_type overflow(int_type c) override {
        if (room == 0) return traits_type::eof();
        --room;
        return c;
    }
};

TEST(Replay, RecordingThatCannotBeWrittenSaysFromWhichFrame) {
    // Room on the disk, and the first frame lost (-1: nothing lost).
    const struct {
        std::size_t room;
        long long lostMin, lostMax;
    } cases[] = {{0, 0, 0}, {400, 1, 299}, {std::size_t{1} << 30, -1, -1}};
    for (const auto& c : cases) {
        TestServices ts;
        FullDisk disk(c.room);
        std::ostream file(&disk);
        Toy toy;
        long long lost = -1;
        {
            plat::Recorder rec(ts.services, file, {"toy", "1.0", "", 99});
            toy.play(rec.services(), 300);
            rec.flush();
            if (rec.failed()) lost = rec.lostFromFrame();
        }
        EXPECT_GE(lost, c.lostMin) << "room " << c.room;
        EXPECT_LE(lost, c.lostMax) << "room " << c.room;
    }
}

} // namespace
