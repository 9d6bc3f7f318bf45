// Tekkel's names: the command codes and the register numbers, with the operand kinds the text
// form needs to write register names where a parameter numbers a register.
//
// reg P is the register numbered by P; X(P) is P itself when P is a string, else reg P. A target
// is a label name (string) or an address. "field" is a value to set, or the register a get
// writes into, chosen by the set switch (P2 for the player, P3 for objects; empty and null are
// false). An object is an event-object number, -1 the active object.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tekkel {

// clang-format off
enum class Op : std::int16_t {
    // name            code     P1          P2          P3       effect / step result
    Break             = 0,   //                                  Failed (the error report)
    Nop               = 1,   //                                  Next
    Yield             = 3,   //                                  NextAndYield
    Jump              = 4,   // target                           Goto; unknown label error 10
    Restart           = 5,   //                                  GotoAndYield to address 0
    End               = 6,   //                                  Ended
    Chain             = 7,   // name/number                      SwitchScript; unknown name error 10
    Label             = 10,  // name                             Next (marks a jump target)
    Wait              = 11,  // reg start   ms                   Suspend until start + ms passed
    JumpIfNotZero     = 20,  // target                           Goto when not zeroFlag
    JumpIfZero        = 21,  // target                           Goto when zeroFlag
    JumpIfNotNegative = 22,  // target                           Goto when not negativeFlag
    JumpIfNegative    = 23,  // target                           Goto when negativeFlag
    JumpIfValid       = 24,  // target                           Goto when not invalidFlag
    JumpIfInvalid     = 25,  // target                           Goto when invalidFlag
    Set               = 50,  // reg         value                reg P1 = P2
    Move              = 51,  // reg         reg                  reg P1 = reg P2
    Alloc             = 54,  // reg         map         count    reg P1 = start of a new block
    FreeBlock         = 55,  // map         start                frees the block starting at P2
    FreeRange         = 56,  // map         first       count    frees P3 entries from P2 on
    Select            = 57,  // space       index       map      space, varIndex, mapSelect
    Dim               = 58,  // reg         area        count    re-creates an area; reg P1 = old count
    Extend            = 59,  // reg         area        count    grows an area; reg P1 = first new
    Add               = 60,  // reg         reg                  R1 = reg P1 + reg P2
    AddValue          = 61,  // reg         value                R1 = reg P1 + P2
    Sub               = 62,  // reg         reg                  R1 = reg P1 - reg P2
    SubValue          = 63,  // reg         value                R1 = reg P1 - P2
    Mul               = 64,  // reg         reg                  R1 = reg P1 * reg P2
    MulValue          = 65,  // reg         value                R1 = reg P1 * P2
    IntDiv            = 66,  // reg         reg                  R1 = quotient, then R4 = remainder
    IntDivValue       = 67,  // reg         value                likewise with P2 as divisor
    Inc               = 68,  // reg                              reg P1 = reg P1 + 1
    Dec               = 69,  // reg                              reg P1 = reg P1 - 1
    Div               = 70,  // reg         reg                  R1 = reg P1 / reg P2 (real)
    DivValue          = 71,  // reg         value                R1 = reg P1 / P2 (real)
    Int               = 72,  // reg                              reg P1 = floor(reg P1)
    Sign              = 73,  // reg         reg                  reg P1 = sign of reg P2 (16-bit)
    Random            = 74,  // reg         reg                  reg P1 = int(rnd * (reg P2 + 1))
    RandomValue       = 75,  // reg         value                reg P1 = int(rnd * (P2 + 1))
    Compare           = 76,  // reg         reg                  flags from reg P1 against reg P2
    CompareValue      = 77,  // reg         value                flags from reg P1 against P2
    Length            = 90,  // reg         X                    reg P1 = length of X(P2)
    Concat            = 91,  // reg         X           X        reg P1 = X(P2) followed by X(P3)
    Left              = 92,  // X           reg                  R1 = first reg P2 characters of X(P1)
    LeftValue         = 93,  // X           count                R1 = first P2 characters of X(P1)
    Right             = 94,  // X           reg                  R1 = last reg P2 characters of X(P1)
    RightValue        = 95,  // X           count                R1 = last P2 characters of X(P1)
    ToNumber          = 96,  // reg                              reg P1 = leading number (64-bit real)
    Message           = 150, // text                             OK box; Next
    SetShade          = 160, // level 0..3                       World shadeLevel
    PlayerStep        = 200, //             dir, -1 rnd          one step; Suspend until it ends
    PlayerVisible     = 210, // field       switch               player visible (boolean)
    PlayerLayer       = 211, // field       switch               player layer
    PlayerPlane       = 212, // field       switch               player plane
    PlayerX           = 213, // field       switch               player x
    PlayerY           = 214, // field       switch               player y
    PlayerFacing      = 215, // field       switch               player facing
    PlayerSheet       = 218, // field       switch               player chipSheet, 0 or 1
    ObjectStep        = 300, // object      dir, -1 rnd          one step; then R1 = 1 moved, 2 refused
    ObjectVisible     = 310, // object      field       switch   visible (boolean)
    ObjectLayer       = 311, // object      field       switch   layer; a set moves the object
    ObjectPlane       = 312, // object      field       switch   plane; a set moves the object
    ObjectX           = 313, // object      field       switch   x; a set moves the object
    ObjectY           = 314, // object      field       switch   y; a set moves the object
    ObjectFacing      = 315, // object      field       switch   facing
    ObjectSheet       = 318, // object      field       switch   chipSheet, 0 or 1
    ObjectEnabled     = 320, // object      field       switch   enabled (boolean)
    ObjectDetached    = 321, // object      field       switch   detached; a set (re)attaches
    ObjectSpeed       = 322, // object      field       switch   stepInterval (frames per step)
    SetActive         = 330, // object                           activeObject = P1; flags from P1
    FacePlayerDir     = 331, // object      reg                  reg P2 = direction to the player
    Say               = 350, // object      text                 turn to the player first, then OK box
    SayPlain          = 351, // object      text                 OK box
    TestCell          = 410, // reg                              reg P1 = test cell enterable (boolean)
    DirVector         = 411, // reg         reg         dir      column and row change of direction P3
    DumpLocals        = 900, //                                  listing of the locals
    DumpShared        = 901, //                                  listing of the shared variables
    DumpAlloced       = 902, // map (0 own)                      listing of an allocation map
};
// Codes 2, 8, 9, 52 and 53 are reserved (error 2); every code not listed fails with error 1.
// SetShade and the codes from 200 on are host commands: the language knows their names and
// operands for the text form, and the host that embeds it runs them (Host.h).

enum class Reg : std::int16_t {
    Var          = -1,  // the selected variable (space, varIndex, mapSelect)
    Zero         = 0,   // reads 16-bit 0, discards writes
    R1           = 1,   // accumulator; a write to R1..R5 applies the flag rule
    R2           = 2,
    R3           = 3,
    R4           = 4,   // also the remainder of IntDiv
    R5           = 5,
    Space        = 10,  // 0 local, 1 shared, 2 allocated
    VarIndex     = 11,
    MapSelect    = 12,  // write only
    D1           = 20,  // stands in for an omitted P1
    D2           = 21,  // ... P2
    D3           = 22,  // ... P3
    Work         = 30,  // spare 32-bit register
    ScriptNumber = 31,
    Address      = 32,  // the program counter
    ZeroFlag     = 80,
    NegativeFlag = 81,
    InvalidFlag  = 82,
    ActiveObject = 300,
    TestLayer    = 400, // the cell TestCell looks at
    TestPlane    = 401,
    TestX        = 402,
    TestY        = 403,
};
// clang-format on

constexpr std::int16_t opCode(Op op) {
    return static_cast<std::int16_t>(op);
}
constexpr std::int16_t regNumber(Reg r) {
    return static_cast<std::int16_t>(r);
}

// The reserved codes: known to the command table, but no command runs them.
constexpr bool isReservedCode(std::int16_t code) {
    return code == 2 || code == 8 || code == 9 || code == 52 || code == 53;
}

// How the text form treats one parameter of a command.
enum class Operand : std::uint8_t {
    Value,    // a value; register names are refused
    Register, // a register number; written and read as a register name
    Text,     // X(P): a string, or a register number
    Field,    // a get/set field: the value to set, or the register a get writes into
};

struct CommandInfo {
    Op op;
    std::string_view name;
    Operand operands[3];
    std::int8_t switchParam; // 1..3: the set switch of a get/set command, 0 none
};

// The command with this code, or nullptr for a code not in the set.
const CommandInfo* commandInfo(std::int16_t code);
// The command of this name (ASCII case-insensitive), or nullptr.
const CommandInfo* commandNamed(std::string_view name);
// Every command, in code order.
std::span<const CommandInfo> allCommands();

// The name of a register number ("R1", "var", "testX"), or "" for a number that names none.
std::string_view registerName(std::int16_t number);
// The register of this name (ASCII case-insensitive); false when none has it.
bool registerNamed(std::string_view name, std::int16_t& number);

// The command table's words for `tekkel help`: the operands ("P1 reg, P2 value") and the
// effect ("R1 = reg P1 + P2"), as the list above writes them; empty for a code not in the set.
struct CommandHelp {
    Op op;
    std::string_view operands;
    std::string_view effect;
};
CommandHelp commandHelp(Op op);
// What a named register holds, or "" for a number that names none.
std::string_view registerHelp(std::int16_t number);

// What a literal parameter may be, where the command table gives a range; the checks
// (Checks.h) hold written numbers to it. `object`: -1 or an object of the field.
struct OperandRange {
    std::int32_t low = 0, high = -1; // low > high: any value
    bool object = false;
    std::string_view what; // "a shade level"
};
OperandRange operandRange(Op op, int param); // param 1..3

// Whether a label name can be written as a line `name:`: not empty, and without blanks,
// control characters, unpaired surrogates or any of , ; " :
bool isPlainLabel(std::u16string_view name);

} // namespace tekkel
