// How a program embeds Tekkel: it registers the commands that reach its own world (for the
// field: the player, the objects, the map cells and the shade) as a table of handlers, and
// hands the interpreter a context those handlers work on. The language itself runs every other
// command; a code the language does not run and the host does not register fails with error 1.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "tekkel/Opcodes.h"
#include "tekkel/Script.h"

namespace tekkel {

struct StepContext;
class Trace; // tekkel/Trace.h
enum class StepResult : std::uint8_t;

// One command the host adds: its code (one of the host codes in the command table) and the
// function that runs it on the step context (`ctx.host.context` is the host's own world).
struct HostCommand {
    Op op;
    StepResult (*run)(StepContext& ctx, Op op);
};

// Where each code's command sits in a host's table, made once when the table is: entry
// code - (the first command's code) holds the command's place + 1, 0 for a code the host does
// not run. `Span` is the codes from the first command's to the last's.
template <std::size_t Span>
constexpr std::array<std::uint8_t, Span> hostSlots(std::span<const HostCommand> commands) {
    std::array<std::uint8_t, Span> placed{};
    for (std::size_t k = 0; k < commands.size() && k < 255; ++k)
        placed.at(static_cast<std::size_t>(opCode(commands[k].op) - opCode(commands[0].op))) =
            static_cast<std::uint8_t>(k + 1);
    return placed;
}

// Asked before each command of a run whether the game stops there (a debugger's breakpoints
// and steps). A run stopped there stays inside the command's call: the answer comes back when
// the game goes on, as a modal box's does.
class PausePoints {
  public:
    virtual ~PausePoints() = default;
    // Before the command at `run.address` of `script` (null for a number naming no script).
    virtual void beforeCommand(const Run& run, const Script* script) = 0;
};

struct Host {
    // The host's commands, in code order.
    std::span<const HostCommand> commands;
    // What the handlers work on; the interpreter only hands it on.
    void* context = nullptr;
    // Calls `visit` with every run the host keeps: their locals count against the limit on the
    // values all variable areas hold together. Looked at only when an area grows.
    void (*eachRun)(const void* context, const std::function<void(const Run&)>& visit) = nullptr;
    // hostSlots of `commands`: a command is found with one look, as each one that reaches
    // this far (every host command and every code no one runs) looks.
    std::span<const std::uint8_t> commandSlots;
    // Told about every command the runs execute, or none (the runs take the compiled records).
    Trace* trace = nullptr;
    // Asked before every command the runs execute, or none; like a trace, it makes the runs go
    // the full way.
    PausePoints* pausePoints = nullptr;

    // The handler registered for `code`, or nullptr.
    const HostCommand* command(std::int16_t code) const;
};

// A host without commands or runs of its own: only the language's commands run.
inline const Host kNoHost{};

} // namespace tekkel
