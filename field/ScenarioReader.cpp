// The scenario reader: the three kinds of file, each read on its own, then checked against
// one another (script names, own scripts, cells) before anything reaches the World.
#include "field/ScenarioReader.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <tuple>

#include "common/Utility.h"
#include "field/ScenarioText.h"
#include "field/ScenarioTranslations.h"
#include "platform/Excerpt.h"
#include "platform/FileRead.h"
#include "scenarios/Embedded.h"
#include "tekkel/Assembler.h"
#include "tekkel/Checks.h"
#include "tekkel/Opcodes.h"
#include "tekkel/SourceMap.h"

namespace field {

namespace {

constexpr std::uint64_t kMaxFileBytes = plat::kMiB;
constexpr int kOpeningScript = 2;

// Where a script's header was written (its commands carry their own places).
struct Written {
    std::string file;
    std::int32_t line = 0;
};

struct Scripts {
    std::vector<Script> slots = std::vector<Script>(kMaxScripts + 1);
    std::map<std::int32_t, Written> slotAt;
    std::map<std::u16string, std::int32_t> named; // stored scripts by name
    std::map<std::int32_t, std::pair<Script, Written>> own;
};

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string quote(const std::u16string& name) {
    std::string quoted(1, '"');
    quoted.append(plat::excerpt(common::toUtf8(name))).push_back('"');
    return quoted;
}

// One .tkl file into the table; clashes with what earlier files wrote are errors.
void readScripts(const std::string& file, std::string_view text, Scripts& out,
                 std::vector<ScenarioError>& errors) {
    tekkel::Unit unit;
    std::vector<tekkel::AssemblyError> found;
    const tekkel::Limits limits{kMaxScripts, kMaxObjects, 65535};
    if (!tekkel::assemble(text, unit, found, limits, {file})) {
        for (const auto& f : found)
            errors.push_back({file, f.line, f.column, f.message});
        return;
    }
    std::size_t stored = 0, own = 0;
    for (const Block& b : field::splitBlocks(text)) {
        Written at{file, b.line};
        const auto where = [](const Written& w) { return w.file + ":" + std::to_string(w.line); };
        if (b.own) {
            auto& s = unit.ownScripts[own++];
            if (const auto it = out.own.find(s.number); it != out.own.end()) {
                errors.push_back({file, b.line, 1,
                                  "own " + std::to_string(s.number) + " is already written at " +
                                      where(it->second.second) + "; expected each once"});
                continue;
            }
            out.own.emplace(s.number, std::make_pair(std::move(s.script), std::move(at)));
            continue;
        }
        auto& s = unit.scripts[stored++];
        if (const auto it = out.slotAt.find(s.number); it != out.slotAt.end()) {
            errors.push_back({file, b.line, 1,
                              "script " + std::to_string(s.number) + " is already written at " +
                                  where(it->second) + "; expected each slot once"});
            continue;
        }
        if (!s.script.name.empty()) {
            const auto [it, fresh] = out.named.emplace(s.script.name, s.number);
            if (!fresh) {
                errors.push_back({file, b.line, 1,
                                  "a script named " + quote(s.script.name) +
                                      " is already written at " + where(out.slotAt[it->second]) +
                                      "; expected names to be unique"});
                continue;
            }
        }
        out.slotAt.emplace(s.number, std::move(at));
        out.slots[static_cast<std::size_t>(s.number)] = std::move(s.script);
    }
}

// Every `Chain "name"` must name a stored script; the other checks of the commands are the
// language's (tekkel/Checks.h), on a field of `objects` objects.
void checkScript(const Script& s, const Scripts& scripts, std::int32_t objects,
                 std::vector<ScenarioError>& errors) {
    const auto chain = tekkel::opCode(tekkel::Op::Chain);
    const std::string file = s.source ? s.source->file : "";
    for (std::size_t k = 0; k < s.commands.size(); ++k) {
        const auto& c = s.commands[k];
        const tekkel::SourcePlace* at = tekkel::sourceAt(s, static_cast<std::int32_t>(k));
        if (!at || c.code != chain || !c.p1.isString() || scripts.named.count(c.p1.s)) continue;
        errors.push_back({file, at->line, at->operands[0],
                          "no .tkl file writes a script named " + quote(c.p1.s) +
                              "; expected the name of a stored script"});
    }
    tekkel::CheckContext context;
    context.objectCount = objects;
    context.chainFinds = [&](const tekkel::Value& target) {
        std::int32_t n = 0;
        if (target.isString()) return true; // above, in the scenario's words
        return tekkel::toInt32(target, n) == tekkel::Status::Ok && n >= 1 && n <= kMaxScripts &&
               !scripts.slots[static_cast<std::size_t>(n)].commands.empty();
    };
    std::vector<tekkel::AssemblyError> found;
    tekkel::checkScript(s, context, found);
    for (const auto& f : found)
        errors.push_back({file, f.line, f.column, f.message, f.warning});
}

// A script named in objects.txt: its slot, or an error.
std::optional<std::int32_t> resolve(const field::NameRef& ref, const std::string& file,
                                    const Scripts& scripts, std::vector<ScenarioError>& errors) {
    const auto it = scripts.named.find(common::fromUtf8(ref.name));
    if (it != scripts.named.end()) return it->second;
    errors.push_back({file, ref.line, ref.column,
                      "no .tkl file writes a script named \"" + plat::excerpt(ref.name) +
                          "\"; expected the name of a stored script"});
    return std::nullopt;
}

void placeObjects(std::vector<ObjectText>& objects, const std::string& file,
                  std::vector<ScenarioError>& errors) {
    using Cell = std::tuple<int, int, int, int>;
    std::map<Cell, std::int32_t> taken{{{0, field::kPlaneChar, kStartX, kStartY}, 0}};
    std::sort(objects.begin(), objects.end(),
              [](const ObjectText& a, const ObjectText& b) { return a.number < b.number; });
    for (const ObjectText& o : objects) {
        if (o.object.detached != 0) continue; // taken off the map: on no cell
        const field::EventObject& e = o.object;
        const Cell cell{e.layer, e.plane, e.x, e.y};
        const auto [it, fresh] = taken.emplace(cell, o.number);
        if (fresh) continue;
        const std::string where = "(layer " + std::to_string(e.layer) + ", plane " +
                                  std::to_string(e.plane) + ", column " + std::to_string(e.x) +
                                  ", row " + std::to_string(e.y) + ")";
        errors.push_back({file, o.positionLine, o.positionColumn,
                          (it->second == 0 ? "the player starts on this cell "
                                           : "object " + std::to_string(it->second) +
                                                 " already stands on this cell ") +
                              where + "; expected a free cell"});
    }
}

// The files of a folder the reader knows, the scripts in name order.
struct FolderFiles {
    const File* map = nullptr;
    const File* objects = nullptr;
    std::vector<const File*> scripts;
};

FolderFiles sortFiles(std::span<const File> files) {
    FolderFiles sorted;
    for (const File& f : files) {
        if (f.name == "map.txt") sorted.map = &f;
        if (f.name == "objects.txt") sorted.objects = &f;
        if (endsWith(f.name, ".tkl")) sorted.scripts.push_back(&f);
    }
    std::sort(sorted.scripts.begin(), sorted.scripts.end(),
              [](const File* a, const File* b) { return a->name < b->name; });
    return sorted;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    return std::string(folder) + (folder.back() == '/' ? "" : "/") + std::string(name);
}

// What the three kinds of file said, before they are checked against one another.
struct Reading {
    MapValues map{};
    Scripts scripts;
    std::vector<ObjectText> objects;
    std::string objectsName;
    bool objectsRead = false;
};

void readMap(const std::string& name, const File* file, MapValues& map,
             std::vector<ScenarioError>& errors) {
    if (!file) {
        errors.push_back({name, 1, 1,
                          "the file is missing; expected the map: `layer N` and six rows of "
                          "nine values, for layers 0..2"});
        return;
    }
    readMapText(name, file->text, map, errors);
}

void readScriptFiles(std::string_view folder, const std::vector<const File*>& files, Reading& r,
                     std::vector<ScenarioError>& errors) {
    if (files.empty())
        errors.push_back({joinPath(folder, "scripts.tkl"), 1, 1,
                          "no .tkl file; expected the scripts in one or more files ending in "
                          ".tkl"});
    for (const File* f : files) {
        const std::string name = joinPath(folder, f->name);
        readScripts(name, f->text, r.scripts, errors);
    }
}

void readObjects(const File* file, Reading& r, std::vector<ScenarioError>& errors) {
    if (!file) {
        errors.push_back({r.objectsName, 1, 1,
                          "the file is missing; expected the event objects as `object N` "
                          "blocks (an empty file holds none)"});
        return;
    }
    r.objectsRead = field::readObjectsText(r.objectsName, file->text, r.objects, errors);
}

// Each `own N` of the .tkl files goes to object N, which must exist and have no other.
void attachOwnScripts(Reading& r, std::vector<ScenarioError>& errors) {
    std::map<std::int32_t, ObjectText*> byNumber;
    for (ObjectText& o : r.objects)
        byNumber[o.number] = &o;
    for (auto& [n, own] : r.scripts.own) {
        const Written& at = own.second;
        const auto it = byNumber.find(n);
        if (it == byNumber.end()) {
            if (r.objectsRead)
                errors.push_back({at.file, at.line, 1,
                                  "own " + std::to_string(n) + ": objects.txt writes no object " +
                                      std::to_string(n) + "; expected the number of an object"});
            continue;
        }
        ObjectText& o = *it->second;
        if (o.inlineScript || !o.ownScript.name.empty()) {
            errors.push_back({at.file, at.line, 1,
                              "object " + std::to_string(n) +
                                  " already has its own script in objects.txt (line " +
                                  std::to_string(o.inlineScript ? o.ownLine : o.ownScript.line) +
                                  "); expected one own script"});
            continue;
        }
        o.object.ownScript = own.first;
    }
}

// The script names objects.txt uses, turned into slots and copies.
void resolveObjectScripts(Reading& r, std::vector<ScenarioError>& errors) {
    for (ObjectText& o : r.objects) {
        if (!o.autoScript.name.empty())
            if (auto slot = resolve(o.autoScript, r.objectsName, r.scripts, errors))
                o.object.autoScript = *slot;
        if (!o.ownScript.name.empty())
            if (auto slot = resolve(o.ownScript, r.objectsName, r.scripts, errors))
                o.object.ownScript = r.scripts.slots[static_cast<std::size_t>(*slot)];
    }
}

// Every script as written: the stored ones, the own ones of the .tkl files and objects.txt's.
void checkScripts(const Reading& r, std::vector<ScenarioError>& errors) {
    std::int32_t objects = 0;
    for (const ObjectText& o : r.objects)
        objects = std::max(objects, o.number);
    for (const auto& [n, at] : r.scripts.slotAt)
        checkScript(r.scripts.slots[static_cast<std::size_t>(n)], r.scripts, objects, errors);
    for (const auto& [n, own] : r.scripts.own)
        checkScript(own.first, r.scripts, objects, errors);
    for (const ObjectText& o : r.objects)
        if (o.inlineScript) checkScript(o.object.ownScript, r.scripts, objects, errors);
}

// One clean line each, in file and line order; the warnings moved to `warnings` (or dropped).
// The words a message quotes are excerpts already; this catches a quote that was not made one.
void tidyErrors(std::vector<ScenarioError>& errors, std::vector<ScenarioError>* warnings) {
    for (ScenarioError& e : errors)
        e.message = plat::excerpt(e.message, plat::kWhole);
    std::stable_sort(
        errors.begin(), errors.end(), [](const ScenarioError& a, const ScenarioError& b) {
            return std::tie(a.file, a.line, a.column) < std::tie(b.file, b.line, b.column);
        });
    const auto firstWarning = std::stable_partition(
        errors.begin(), errors.end(), [](const ScenarioError& e) { return !e.warning; });
    if (warnings) warnings->assign(firstWarning, errors.end());
    errors.erase(firstWarning, errors.end());
}

void setMapCells(const MapValues& map, field::World& w) {
    w.resizeMap(kColumns - 1, kRows - 1, kLayers - 1);
    for (int layer = 0; layer < kLayers; ++layer)
        for (int row = 0; row < kRows; ++row)
            for (int col = 0; col < kColumns; ++col)
                setMapCell(w.cell(layer, field::kPlaneGround, col, row),
                           map[static_cast<std::size_t>(layer)][static_cast<std::size_t>(row)]
                              [static_cast<std::size_t>(col)]);
}

void putObjects(std::vector<ObjectText>& objects, field::World& w) {
    w.eventCount = objects.empty() ? 0 : objects.back().number;
    w.events.assign(static_cast<std::size_t>(w.eventCount) + 1, field::EventObject{});
    for (ObjectText& o : objects) {
        const field::EventObject& e = w.events[static_cast<std::size_t>(o.number)] =
            std::move(o.object);
        if (e.detached == 0)
            w.cell(e.layer, e.plane, e.x, e.y).eventId = static_cast<std::int16_t>(o.number);
    }
}

// The World a faultless Reading describes, with the player at its start.
field::World buildWorld(Reading& r) {
    field::World w;
    field::initPlayer(w);
    setMapCells(r.map, w);
    w.machine.scriptCount = kMaxScripts;
    w.machine.scripts = std::move(r.scripts.slots);
    putObjects(r.objects, w);
    // The opening scene owns the player from the first frame.
    if (!w.machine.scripts[kOpeningScript].commands.empty()) {
        w.systemScriptActive = -1;
        w.systemRun.scriptNumber = kOpeningScript;
        w.systemRun.address = 0;
        w.inputLocked = -1;
    }
    return w;
}

} // namespace

std::string errorText(const ScenarioError& error) {
    return plat::excerpt(error.file, plat::kWhole) + ":" + std::to_string(error.line) + ":" +
           std::to_string(error.column) + ": " + (error.warning ? "warning: " : "") + error.message;
}

void setMapCell(field::MapCell& cell, int value) {
    cell.chipX = (value % 3) * 64;
    cell.chipY = (value / 3) * 40;
    cell.kind = static_cast<std::int16_t>(value == 0 ? 0 : value == 2 ? 2 : 1);
}

bool readScenario(std::string_view folder, std::span<const File> files, field::World& world,
                  std::vector<ScenarioError>& errors, std::vector<ScenarioError>* warnings,
                  ScenarioTranslations* translations) {
    errors.clear();
    if (warnings) warnings->clear();
    const FolderFiles sorted = sortFiles(files);
    Reading r;
    r.objectsName = joinPath(folder, "objects.txt");
    readMap(joinPath(folder, "map.txt"), sorted.map, r.map, errors);
    readScriptFiles(folder, sorted.scripts, r, errors);
    readObjects(sorted.objects, r, errors);

    attachOwnScripts(r, errors);
    resolveObjectScripts(r, errors);
    checkScripts(r, errors);
    placeObjects(r.objects, r.objectsName, errors);
    ScenarioTranslations read;
    readTranslations(folder, files, read, errors);
    tidyErrors(errors, warnings);
    if (!errors.empty()) return false;
    world = buildWorld(r);
    if (translations) *translations = std::move(read);
    return true;
}

bool readScenarioFolder(const std::string& folder, field::World& world,
                        std::vector<ScenarioError>& errors, std::vector<ScenarioError>* warnings,
                        ScenarioTranslations* translations) {
    namespace fs = std::filesystem;
    errors.clear();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        errors.push_back({folder, 1, 1,
                          "not a folder; expected a scenario folder holding map.txt, "
                          "objects.txt and .tkl files"});
        return false;
    }
    std::vector<std::string> names, texts;
    // Stepped with error codes: a folder that changes while it is read ends the listing
    // instead of throwing.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (name != "map.txt" && name != "objects.txt" && !endsWith(name, ".tkl") &&
            !isTranslationFile(name))
            continue;
        const std::string path = (fs::path(folder) / name).string();
        std::string text;
        const plat::FileRead read = plat::readFileText(entry.path().string(), kMaxFileBytes, text);
        if (read == plat::FileRead::Missing || read == plat::FileRead::Unreadable) {
            errors.push_back({path, 1, 1, "cannot read the file; expected a readable text file"});
            continue;
        }
        if (read == plat::FileRead::TooLarge) {
            errors.push_back({path, 1, 1, "the file is larger than 1 MiB; expected a text file"});
            continue;
        }
        if (read != plat::FileRead::Ok) {
            errors.push_back({path, 1, 1, "not a regular file; expected a text file"});
            continue;
        }
        names.push_back(name);
        texts.push_back(std::move(text));
    }
    if (!errors.empty()) return false;
    std::vector<File> files;
    for (std::size_t i = 0; i < names.size(); ++i)
        files.push_back({names[i], texts[i]});
    return readScenario(folder, files, world, errors, warnings, translations);
}

int checkScenario(const std::string& folder, std::ostream& err) {
    field::World world;
    std::vector<ScenarioError> errors, warnings;
    ScenarioTranslations translations;
    const bool valid = readScenarioFolder(folder, world, errors, &warnings, &translations);
    if (valid)
        for (const ScenarioError& w : unmatchedTranslations(translations, world))
            warnings.push_back(w);
    for (const auto* list : {&errors, &warnings})
        for (const ScenarioError& e : *list)
            err << errorText(e) << '\n';
    return valid ? 0 : 1;
}

bool readBuiltInScenario(field::World& world, std::vector<ScenarioError>& errors,
                         ScenarioTranslations* translations) {
    // The demo's own translations, which its tests hold well-formed, are read only when asked.
    std::vector<File> files;
    for (const scenarios::EmbeddedFile& f : scenarios::demoFiles())
        if (translations || !isTranslationFile(f.name))
            files.push_back({std::string(f.name), f.text});
    return readScenario("scenarios/demo", files, world, errors, nullptr, translations);
}

} // namespace field
