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

struct RegisterName {
    Reg reg;
    std::string_view name;
};

// The run fields go by their record names.
constexpr RegisterName kRegisters[] = {
    {Reg::Var, "var"},
    {Reg::R1, "R1"},
    {Reg::R2, "R2"},
    {Reg::R3, "R3"},
    {Reg::R4, "R4"},
    {Reg::R5, "R5"},
    {Reg::Space, "space"},
    {Reg::VarIndex, "varIndex"},
    {Reg::MapSelect, "mapSelect"},
    {Reg::D1, "D1"},
    {Reg::D2, "D2"},
    {Reg::D3, "D3"},
    {Reg::Work, "work"},
    {Reg::ScriptNumber, "scriptNumber"},
    {Reg::Address, "address"},
    {Reg::ZeroFlag, "zeroFlag"},
    {Reg::NegativeFlag, "negativeFlag"},
    {Reg::InvalidFlag, "invalidFlag"},
    {Reg::ActiveObject, "activeObject"},
    {Reg::TestLayer, "testLayer"},
    {Reg::TestPlane, "testPlane"},
    {Reg::TestX, "testX"},
    {Reg::TestY, "testY"},
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
