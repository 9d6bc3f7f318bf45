#include "tekkel/Opcodes.h"

#include <algorithm>
#include <array>

namespace tekkel {

namespace {

constexpr Operand V = Operand::Value;
constexpr Operand R = Operand::Register;
constexpr Operand X = Operand::Text;
constexpr Operand F = Operand::Field;

// clang-format off
constexpr CommandInfo kCommands[] = {
    {Op::Break, "Break", {V, V, V}, 0},
    {Op::Nop, "Nop", {V, V, V}, 0},
    {Op::Yield, "Yield", {V, V, V}, 0},
    {Op::Jump, "Jump", {V, V, V}, 0},
    {Op::Restart, "Restart", {V, V, V}, 0},
    {Op::End, "End", {V, V, V}, 0},
    {Op::Chain, "Chain", {V, V, V}, 0},
    {Op::Label, "Label", {V, V, V}, 0},
    {Op::Wait, "Wait", {R, V, V}, 0},
    {Op::JumpIfNotZero, "JumpIfNotZero", {V, V, V}, 0},
    {Op::JumpIfZero, "JumpIfZero", {V, V, V}, 0},
    {Op::JumpIfNotNegative, "JumpIfNotNegative", {V, V, V}, 0},
    {Op::JumpIfNegative, "JumpIfNegative", {V, V, V}, 0},
    {Op::JumpIfValid, "JumpIfValid", {V, V, V}, 0},
    {Op::JumpIfInvalid, "JumpIfInvalid", {V, V, V}, 0},
    {Op::Set, "Set", {R, V, V}, 0},
    {Op::Move, "Move", {R, R, V}, 0},
    {Op::Alloc, "Alloc", {R, V, V}, 0},
    {Op::FreeBlock, "FreeBlock", {V, V, V}, 0},
    {Op::FreeRange, "FreeRange", {V, V, V}, 0},
    {Op::Select, "Select", {V, V, V}, 0},
    {Op::Dim, "Dim", {R, V, V}, 0},
    {Op::Extend, "Extend", {R, V, V}, 0},
    {Op::Add, "Add", {R, R, V}, 0},
    {Op::AddValue, "AddValue", {R, V, V}, 0},
    {Op::Sub, "Sub", {R, R, V}, 0},
    {Op::SubValue, "SubValue", {R, V, V}, 0},
    {Op::Mul, "Mul", {R, R, V}, 0},
    {Op::MulValue, "MulValue", {R, V, V}, 0},
    {Op::IntDiv, "IntDiv", {R, R, V}, 0},
    {Op::IntDivValue, "IntDivValue", {R, V, V}, 0},
    {Op::Inc, "Inc", {R, V, V}, 0},
    {Op::Dec, "Dec", {R, V, V}, 0},
    {Op::Div, "Div", {R, R, V}, 0},
    {Op::DivValue, "DivValue", {R, V, V}, 0},
    {Op::Int, "Int", {R, V, V}, 0},
    {Op::Sign, "Sign", {R, R, V}, 0},
    {Op::Random, "Random", {R, R, V}, 0},
    {Op::RandomValue, "RandomValue", {R, V, V}, 0},
    {Op::Compare, "Compare", {R, R, V}, 0},
    {Op::CompareValue, "CompareValue", {R, V, V}, 0},
    {Op::Length, "Length", {R, X, V}, 0},
    {Op::Concat, "Concat", {R, X, X}, 0},
    {Op::Left, "Left", {X, R, V}, 0},
    {Op::LeftValue, "LeftValue", {X, V, V}, 0},
    {Op::Right, "Right", {X, R, V}, 0},
    {Op::RightValue, "RightValue", {X, V, V}, 0},
    {Op::ToNumber, "ToNumber", {R, V, V}, 0},
    {Op::Message, "Message", {V, V, V}, 0},
    {Op::SetShade, "SetShade", {V, V, V}, 0},
    {Op::PlayerStep, "PlayerStep", {V, V, V}, 0},
    {Op::PlayerVisible, "PlayerVisible", {F, V, V}, 2},
    {Op::PlayerLayer, "PlayerLayer", {F, V, V}, 2},
    {Op::PlayerPlane, "PlayerPlane", {F, V, V}, 2},
    {Op::PlayerX, "PlayerX", {F, V, V}, 2},
    {Op::PlayerY, "PlayerY", {F, V, V}, 2},
    {Op::PlayerFacing, "PlayerFacing", {F, V, V}, 2},
    {Op::PlayerSheet, "PlayerSheet", {F, V, V}, 2},
    {Op::ObjectStep, "ObjectStep", {V, V, V}, 0},
    {Op::ObjectVisible, "ObjectVisible", {V, F, V}, 3},
    {Op::ObjectLayer, "ObjectLayer", {V, F, V}, 3},
    {Op::ObjectPlane, "ObjectPlane", {V, F, V}, 3},
    {Op::ObjectX, "ObjectX", {V, F, V}, 3},
    {Op::ObjectY, "ObjectY", {V, F, V}, 3},
    {Op::ObjectFacing, "ObjectFacing", {V, F, V}, 3},
    {Op::ObjectSheet, "ObjectSheet", {V, F, V}, 3},
    {Op::ObjectEnabled, "ObjectEnabled", {V, F, V}, 3},
    {Op::ObjectDetached, "ObjectDetached", {V, F, V}, 3},
    {Op::ObjectSpeed, "ObjectSpeed", {V, F, V}, 3},
    {Op::SetActive, "SetActive", {V, V, V}, 0},
    {Op::FacePlayerDir, "FacePlayerDir", {V, R, V}, 0},
    {Op::Say, "Say", {V, V, V}, 0},
    {Op::SayPlain, "SayPlain", {V, V, V}, 0},
    {Op::TestCell, "TestCell", {R, V, V}, 0},
    {Op::DirVector, "DirVector", {R, R, V}, 0},
    {Op::DumpLocals, "DumpLocals", {V, V, V}, 0},
    {Op::DumpShared, "DumpShared", {V, V, V}, 0},
    {Op::DumpAlloced, "DumpAlloced", {V, V, V}, 0},
};
// clang-format on

// In the order of kCommands.
constexpr CommandHelp kHelp[] = {
    {Op::Break, "", "fails: the error report"},
    {Op::Nop, "", "does nothing"},
    {Op::Yield, "", "goes on with the next command in the next frame"},
    {Op::Jump, "P1 target", "goes on at label or address P1; no such label: error 10"},
    {Op::Restart, "", "starts again at address 0 in the next frame"},
    {Op::End, "", "ends the script"},
    {Op::Chain, "P1 name/number", "goes on at address 0 of script P1; no such name: error 10"},
    {Op::Label, "P1 name", "marks a jump target (written name:)"},
    {Op::Wait, "P1 reg start, P2 ms", "waits until start + ms passed"},
    {Op::JumpIfNotZero, "P1 target", "jumps to P1 when not zeroFlag"},
    {Op::JumpIfZero, "P1 target", "jumps to P1 when zeroFlag"},
    {Op::JumpIfNotNegative, "P1 target", "jumps to P1 when not negativeFlag"},
    {Op::JumpIfNegative, "P1 target", "jumps to P1 when negativeFlag"},
    {Op::JumpIfValid, "P1 target", "jumps to P1 when not invalidFlag"},
    {Op::JumpIfInvalid, "P1 target", "jumps to P1 when invalidFlag"},
    {Op::Set, "P1 reg, P2 value", "reg P1 = P2"},
    {Op::Move, "P1 reg, P2 reg", "reg P1 = reg P2"},
    {Op::Alloc, "P1 reg, P2 map, P3 count", "reg P1 = start of a new block"},
    {Op::FreeBlock, "P1 map, P2 start", "frees the block starting at P2"},
    {Op::FreeRange, "P1 map, P2 first, P3 count", "frees P3 entries from P2 on"},
    {Op::Select, "P1 space, P2 index, P3 map", "space, varIndex, mapSelect"},
    {Op::Dim, "P1 reg, P2 area, P3 count", "re-creates an area; reg P1 = old count"},
    {Op::Extend, "P1 reg, P2 area, P3 count", "grows an area; reg P1 = first new"},
    {Op::Add, "P1 reg, P2 reg", "R1 = reg P1 + reg P2"},
    {Op::AddValue, "P1 reg, P2 value", "R1 = reg P1 + P2"},
    {Op::Sub, "P1 reg, P2 reg", "R1 = reg P1 - reg P2"},
    {Op::SubValue, "P1 reg, P2 value", "R1 = reg P1 - P2"},
    {Op::Mul, "P1 reg, P2 reg", "R1 = reg P1 * reg P2"},
    {Op::MulValue, "P1 reg, P2 value", "R1 = reg P1 * P2"},
    {Op::IntDiv, "P1 reg, P2 reg", "R1 = quotient of reg P1 by reg P2, then R4 = remainder"},
    {Op::IntDivValue, "P1 reg, P2 value", "R1 = quotient of reg P1 by P2, then R4 = remainder"},
    {Op::Inc, "P1 reg", "reg P1 = reg P1 + 1"},
    {Op::Dec, "P1 reg", "reg P1 = reg P1 - 1"},
    {Op::Div, "P1 reg, P2 reg", "R1 = reg P1 / reg P2 (real)"},
    {Op::DivValue, "P1 reg, P2 value", "R1 = reg P1 / P2 (real)"},
    {Op::Int, "P1 reg", "reg P1 = floor(reg P1)"},
    {Op::Sign, "P1 reg, P2 reg", "reg P1 = sign of reg P2 (16-bit)"},
    {Op::Random, "P1 reg, P2 reg", "reg P1 = int(rnd * (reg P2 + 1))"},
    {Op::RandomValue, "P1 reg, P2 value", "reg P1 = int(rnd * (P2 + 1))"},
    {Op::Compare, "P1 reg, P2 reg", "flags from reg P1 against reg P2"},
    {Op::CompareValue, "P1 reg, P2 value", "flags from reg P1 against P2"},
    {Op::Length, "P1 reg, P2 X", "reg P1 = length of X(P2)"},
    {Op::Concat, "P1 reg, P2 X, P3 X", "reg P1 = X(P2) followed by X(P3)"},
    {Op::Left, "P1 X, P2 reg", "R1 = first reg P2 characters of X(P1)"},
    {Op::LeftValue, "P1 X, P2 count", "R1 = first P2 characters of X(P1)"},
    {Op::Right, "P1 X, P2 reg", "R1 = last reg P2 characters of X(P1)"},
    {Op::RightValue, "P1 X, P2 count", "R1 = last P2 characters of X(P1)"},
    {Op::ToNumber, "P1 reg", "reg P1 = leading number (64-bit real)"},
    {Op::Message, "P1 text", "shows an OK box"},
    {Op::SetShade, "P1 level 0..3", "darkens the field (0 none)"},
    {Op::PlayerStep, "P2 dir, -1 rnd", "the player takes one step and the script waits for it"},
    {Op::PlayerVisible, "P1 field, P2 switch", "player visible (boolean)"},
    {Op::PlayerLayer, "P1 field, P2 switch", "player layer"},
    {Op::PlayerPlane, "P1 field, P2 switch", "player plane"},
    {Op::PlayerX, "P1 field, P2 switch", "player x"},
    {Op::PlayerY, "P1 field, P2 switch", "player y"},
    {Op::PlayerFacing, "P1 field, P2 switch", "player facing"},
    {Op::PlayerSheet, "P1 field, P2 switch", "player chipSheet, 0 or 1"},
    {Op::ObjectStep, "P1 object, P2 dir, -1 rnd", "one step; then R1 = 1 moved, 2 refused"},
    {Op::ObjectVisible, "P1 object, P2 field, P3 switch", "visible (boolean)"},
    {Op::ObjectLayer, "P1 object, P2 field, P3 switch", "layer; a set moves the object"},
    {Op::ObjectPlane, "P1 object, P2 field, P3 switch", "plane; a set moves the object"},
    {Op::ObjectX, "P1 object, P2 field, P3 switch", "x; a set moves the object"},
    {Op::ObjectY, "P1 object, P2 field, P3 switch", "y; a set moves the object"},
    {Op::ObjectFacing, "P1 object, P2 field, P3 switch", "facing"},
    {Op::ObjectSheet, "P1 object, P2 field, P3 switch", "chipSheet, 0 or 1"},
    {Op::ObjectEnabled, "P1 object, P2 field, P3 switch", "enabled (boolean)"},
    {Op::ObjectDetached, "P1 object, P2 field, P3 switch", "detached; a set (re)attaches"},
    {Op::ObjectSpeed, "P1 object, P2 field, P3 switch", "stepInterval (frames per step)"},
    {Op::SetActive, "P1 object", "activeObject = P1; flags from P1"},
    {Op::FacePlayerDir, "P1 object, P2 reg", "reg P2 = direction to the player"},
    {Op::Say, "P1 object, P2 text", "turn to the player first, then OK box"},
    {Op::SayPlain, "P1 object, P2 text", "OK box"},
    {Op::TestCell, "P1 reg", "reg P1 = test cell enterable (boolean)"},
    {Op::DirVector, "P1 reg, P2 reg, P3 dir", "column and row change of direction P3"},
    {Op::DumpLocals, "", "listing of the locals"},
    {Op::DumpShared, "", "listing of the shared variables"},
    {Op::DumpAlloced, "P1 map (0 own)", "listing of an allocation map"},
};
static_assert(std::size(kHelp) == std::size(kCommands));

struct RegisterName {
    Reg reg;
    std::string_view name;
    std::string_view help;
};

// The run fields go by their record names.
constexpr RegisterName kRegisters[] = {
    {Reg::Var, "var", "the selected variable (space, varIndex, mapSelect)"},
    {Reg::R1, "R1", "accumulator; a write to R1..R5 applies the flag rule"},
    {Reg::R2, "R2", "general register"},
    {Reg::R3, "R3", "general register"},
    {Reg::R4, "R4", "general register; also the remainder of IntDiv"},
    {Reg::R5, "R5", "general register"},
    {Reg::Space, "space", "the selected variable's space: 0 local, 1 shared, 2 allocated"},
    {Reg::VarIndex, "varIndex", "the selected variable's index"},
    {Reg::MapSelect, "mapSelect", "the selected allocation map (write only)"},
    {Reg::D1, "D1", "stands in for an omitted P1"},
    {Reg::D2, "D2", "stands in for an omitted P2"},
    {Reg::D3, "D3", "stands in for an omitted P3"},
    {Reg::Work, "work", "spare 32-bit register"},
    {Reg::ScriptNumber, "scriptNumber", "the running script's number"},
    {Reg::Address, "address", "the program counter"},
    {Reg::ZeroFlag, "zeroFlag",
     "set by writes to R1..R5 and comparisons; read by JumpIfZero, JumpIfNotZero"},
    {Reg::NegativeFlag, "negativeFlag", "set likewise; read by JumpIfNegative, JumpIfNotNegative"},
    {Reg::InvalidFlag, "invalidFlag", "set likewise; read by JumpIfInvalid, JumpIfValid"},
    {Reg::ActiveObject, "activeObject", "the object -1 stands for"},
    {Reg::TestLayer, "testLayer", "the layer of the cell TestCell looks at"},
    {Reg::TestPlane, "testPlane", "its plane"},
    {Reg::TestX, "testX", "its column"},
    {Reg::TestY, "testY", "its row"},
};

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

const CommandInfo* commandInfo(std::int16_t code) {
    const auto* it =
        std::lower_bound(std::begin(kCommands), std::end(kCommands), code,
                         [](const CommandInfo& c, std::int16_t k) { return opCode(c.op) < k; });
    return it != std::end(kCommands) && opCode(it->op) == code ? it : nullptr;
}

const CommandInfo* commandNamed(std::string_view name) {
    for (const CommandInfo& c : kCommands)
        if (sameName(c.name, name)) return &c;
    return nullptr;
}

std::span<const CommandInfo> allCommands() {
    return kCommands;
}

std::string_view registerName(std::int16_t number) {
    for (const RegisterName& r : kRegisters)
        if (regNumber(r.reg) == number) return r.name;
    return {};
}

bool registerNamed(std::string_view name, std::int16_t& number) {
    for (const RegisterName& r : kRegisters)
        if (sameName(r.name, name)) {
            number = regNumber(r.reg);
            return true;
        }
    return false;
}

CommandHelp commandHelp(Op op) {
    for (const CommandHelp& h : kHelp)
        if (h.op == op) return h;
    return {op, {}, {}};
}

std::string_view registerHelp(std::int16_t number) {
    for (const RegisterName& r : kRegisters)
        if (regNumber(r.reg) == number) return r.help;
    return {};
}

OperandRange operandRange(Op op, int param) {
    constexpr OperandRange kObject{-1, -1, true, "an object"};
    constexpr OperandRange kDirection{-1, 7, false, "a direction"};
    switch (op) {
    case Op::SetShade:
        return param == 1 ? OperandRange{0, 3, false, "a shade level"} : OperandRange{};
    case Op::PlayerStep: return param == 2 ? kDirection : OperandRange{};
    case Op::DirVector:
        return param == 3 ? OperandRange{0, 7, false, "a direction"} : OperandRange{};
    case Op::ObjectStep: return param == 1 ? kObject : param == 2 ? kDirection : OperandRange{};
    default: break;
    }
    const bool objectFirst =
        (opCode(op) >= opCode(Op::ObjectVisible) && opCode(op) <= opCode(Op::SayPlain));
    return objectFirst && param == 1 ? kObject : OperandRange{};
}

bool isPlainLabel(std::u16string_view name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c <= u' ' || c == 0x7F || c == u',' || c == u';' || c == u'"' || c == u':')
            return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

} // namespace tekkel
