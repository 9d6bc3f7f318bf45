#include "ScenarioFuzzInput.h"

#include <regex>
#include <string_view>
#include <vector>

#include "field/ScenarioReader.h"
#include "scenarios/Embedded.h"

namespace scenario_fuzz {

namespace {

// The parts in order; a part not given is a missing file (with no .tkl part, the error names
// scripts.tkl).
constexpr const char* kNames[] = {"map.txt", "objects.txt", "a.tkl", "b.tkl"};

bool wellFormed(const field::ScenarioError& e) {
    static const std::regex form(
        R"(fuzz/(map\.txt|objects\.txt|a\.tkl|b\.tkl|scripts\.tkl):[1-9][0-9]*:[1-9][0-9]*: .+)");
    return std::regex_match(field::errorText(e), form) && e.message.find('\n') == std::string::npos;
}

bool consistent(const field::World& w) {
    if (w.eventCount < 0 || w.eventCount > field::kMaxObjects ||
        w.events.size() != static_cast<std::size_t>(w.eventCount) + 1)
        return false;
    for (int l = 0; l <= w.topLayer; ++l)
        for (int p = 0; p < field::kPlaneCount; ++p)
            for (int x = 0; x <= w.maxX; ++x)
                for (int y = 0; y <= w.maxY; ++y) {
                    const int id = w.cell(l, p, x, y).eventId;
                    if (id == 0) continue;
                    if (id > w.eventCount) return false;
                    const field::EventObject& e = w.events[static_cast<std::size_t>(id)];
                    if (e.layer != l || e.plane != p || e.x != x || e.y != y) return false;
                }
    return true;
}

std::vector<field::File> split(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), data ? size : 0);
    std::vector<field::File> files;
    std::size_t start = 0;
    for (const char* name : kNames) {
        if (start > bytes.size()) break;
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        files.push_back({name, bytes.substr(start, end - start)});
        start = end + 1;
    }
    return files;
}

} // namespace

Outcome runInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<field::File> files = split(data, size);
    field::World world;
    std::vector<field::ScenarioError> errors;
    if (field::readScenario("fuzz", files, world, errors))
        return errors.empty() && consistent(world) ? Outcome::Accepted : Outcome::BrokenPromise;
    if (errors.empty()) return Outcome::BrokenPromise;
    for (const field::ScenarioError& e : errors)
        if (!wellFormed(e)) return Outcome::BrokenPromise;
    return Outcome::Refused;
}

std::string describe(const std::uint8_t* data, std::size_t size) {
    field::World world;
    std::vector<field::ScenarioError> errors;
    const bool read = field::readScenario("fuzz", split(data, size), world, errors);
    std::string out = read ? "accepted\n" : "refused\n";
    for (const field::ScenarioError& e : errors)
        out += field::errorText(e) + "\n";
    return out;
}

std::string demoInput() {
    std::string map, objects, scripts;
    for (const scenarios::EmbeddedFile& f : scenarios::demoFiles()) {
        if (f.name == "map.txt") map = f.text;
        if (f.name == "objects.txt") objects = f.text;
        if (f.name == "scripts.tkl") scripts = f.text;
    }
    return map + '\0' + objects + '\0' + scripts;
}

} // namespace scenario_fuzz
