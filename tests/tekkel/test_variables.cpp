// Variables: the three spaces behind register -1, Dim and Extend, and the allocation maps.
#include <gtest/gtest.h>

#include <random>

#include "TekkelKit.h"
#include "tekkel/Compiler.h"

using namespace tekkel_test;

namespace {

std::vector<std::int32_t> entries(const tekkel::AllocMap& m) {
    return {m.entries.begin() + 1, m.entries.end()};
}

} // namespace

TEST(TekkelVariables, SelectedVariableInEachSpace) {
    Tekkel t;
    t.exec({C(Op::Dim, I(1), I(0), I(3)), C(Op::Dim, I(1), I(1), I(2)),
            C(Op::Select, I(0), I(3), I(0)), C(Op::Set, I(-1), S(u"local")),
            C(Op::Select, I(1), I(2), I(0)), C(Op::Set, I(-1), I(7)), C(Op::Move, I(2), I(-1)),
            C(Op::End)});
    EXPECT_EQ(t.sys().locals[3], S(u"local"));
    EXPECT_EQ(t.world.machine.sharedValues[2], I(7));
    EXPECT_EQ(t.sys().R2, I(7));
    EXPECT_EQ(t.reports(), 0u);
    // Out of range: index 0, index past the count, an unknown map, an unknown space.
    t.exec({C(Op::Select, I(0), I(0), I(0)), C(Op::Move, I(1), I(-1)), C(Op::End)});
    t.exec({C(Op::Select, I(1), I(3), I(0)), C(Op::Set, I(-1), I(1)), C(Op::End)});
    t.exec({C(Op::Select, I(2), I(1), I(5)), C(Op::Move, I(1), I(-1)), C(Op::End)});
    t.exec({C(Op::Select, I(2), I(1), I(-1)), C(Op::Set, I(-1), I(1)), C(Op::End)});
    EXPECT_EQ(t.reports(), 4u);
    EXPECT_EQ(t.lastErrorNumber(), 0); // these failures carry no number
    t.exec({C(Op::Select, I(3), I(1), I(0)), C(Op::Move, I(1), I(-1)), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 2);
}

TEST(TekkelVariables, WritingAVariableLeavesTheFlags) {
    Tekkel t;
    t.exec({C(Op::Dim, I(1), I(0), I(1)), C(Op::Select, I(0), I(1), I(0)), C(Op::Set, I(1), I(0)),
            C(Op::Set, I(-1), I(-9)), C(Op::End)});
    EXPECT_TRUE(t.sys().zeroFlag);
    EXPECT_FALSE(t.sys().negativeFlag);
}

TEST(TekkelVariables, DimAndExtend) {
    Tekkel t;
    tekkel::Run& r = t.sys();
    t.exec({C(Op::Dim, I(2), I(0), I(3)), C(Op::Select, I(0), I(1), I(0)), C(Op::Set, I(-1), I(5)),
            C(Op::Extend, I(3), I(0), I(2)), C(Op::End)});
    EXPECT_EQ(r.R2, L(0));
    EXPECT_EQ(r.R3, L(4));
    EXPECT_EQ(r.localCount, 5);
    EXPECT_EQ(r.locals[1], I(5));
    t.exec({C(Op::Dim, I(2), I(0), I(2)), C(Op::End)}); // Dim discards
    EXPECT_EQ(r.R2, L(5));
    EXPECT_TRUE(r.locals[1].isEmpty());
    t.exec({C(Op::Dim, I(2), I(2), I(2)), C(Op::Extend, I(3), I(2), I(1)), C(Op::End)});
    EXPECT_EQ(r.R3, L(3));
    EXPECT_EQ(t.world.machine.allocTable.size(), 4u);
    EXPECT_EQ(t.reports(), 0u);
    t.exec({C(Op::Dim, I(2), I(0), I(0)), C(Op::End)});    // count 0
    t.exec({C(Op::Extend, I(2), I(3), I(1)), C(Op::End)}); // area 3
    EXPECT_EQ(t.reports(), 2u);
    t.exec(
        {C(Op::Dim, I(2), I(1), L(2000000000)), C(Op::End)}); // a count that would exhaust memory
    EXPECT_EQ(t.lastErrorNumber(), 1);
    EXPECT_TRUE(t.world.machine.sharedValues.empty()); // untouched
}

TEST(TekkelVariables, AllocReusesTrailingFreeEntriesAndFreedBlocks) {
    Tekkel t;
    const auto& own = t.sys().ownMap;
    t.exec({C(Op::Alloc, I(2), I(0), I(3)), C(Op::Alloc, I(3), I(0), I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R2, L(1));
    EXPECT_EQ(t.sys().R3, L(5));
    EXPECT_EQ(own.total, 7);
    EXPECT_EQ(entries(own), (std::vector<std::int32_t>{1, 2, 3, 0, 4, 5, 0}));
    // Allocated but unassigned: null; moving one into R1 sets invalidFlag.
    t.exec({C(Op::Select, I(2), I(5), I(0)), C(Op::Move, I(1), I(-1)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, Value::null());
    EXPECT_TRUE(t.sys().invalidFlag);

    t.exec({C(Op::FreeBlock, I(0), I(1)), C(Op::Alloc, I(2), I(0), I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R2, L(1));
    EXPECT_EQ(entries(own), (std::vector<std::int32_t>{1, 2, 0, 0, 4, 5, 0}));
    EXPECT_TRUE(t.world.machine.sharedValues[3].isEmpty());
    EXPECT_EQ(t.reports(), 0u);
}

// Allocs and frees in any order place each block where a search from the map's first entry
// would: the twin forgets where the search may start before every command.
TEST(TekkelVariables, AllocPlacesBlocksAsASearchFromTheFirstEntryWould) {
    Tekkel t, twin;
    std::mt19937 random(11);
    for (int k = 0; k < 400; ++k) {
        const auto draw = [&](int below) { return static_cast<std::int32_t>(random() % below); };
        const std::int32_t total = t.sys().ownMap.total, at = total ? 1 + draw(total) : 0;
        auto c = C(Op::Alloc, I(2), I(0), I(1 + draw(4)));
        if (at && draw(2))
            c = draw(2) ? C(Op::FreeBlock, I(0), I(at))
                        : C(Op::FreeRange, I(0), I(at), I(1 + draw(std::min(3, total - at + 1))));
        twin.sys().ownMap.searchFrom = 1;
        t.exec({c, C(Op::End)});
        twin.exec({c, C(Op::End)});
        ASSERT_EQ(entries(t.sys().ownMap), entries(twin.sys().ownMap)) << k;
    }
}

TEST(TekkelVariables, AllocTakesEmptySharedVariablesFirstThenGrows) {
    Tekkel t;
    t.exec({C(Op::Dim, I(2), I(1), I(2)), C(Op::Select, I(1), I(2), I(0)), C(Op::Set, I(-1), I(9)),
            C(Op::Dim, I(2), I(2), I(1)), C(Op::Alloc, I(3), I(1), I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R3, L(1));
    EXPECT_EQ(entries(t.world.machine.allocTable[1]), (std::vector<std::int32_t>{1, 3, 0}));
    EXPECT_EQ(t.world.machine.sharedValues.size(), 4u);
    EXPECT_EQ(t.world.machine.sharedValues[1], Value::null());
    EXPECT_EQ(t.world.machine.sharedValues[2], I(9));
    // A block ending on the map's last entry keeps one 0 before the next one.
    auto& m = t.world.machine.allocTable[1];
    m.entries = {0, 1, 3};
    m.total = 2;
    t.exec({C(Op::Alloc, I(3), I(1), I(1)), C(Op::End)});
    EXPECT_EQ(t.sys().R3, L(4));
    EXPECT_EQ(entries(m), (std::vector<std::int32_t>{1, 3, 0, 4, 0}));
    // The empty ones past runs of filled ones, then the variables grow.
    auto& shared = t.world.machine.sharedValues;
    shared.assign(9, I(7));
    shared[3] = shared[8] = Value();
    t.world.machine.firstMaybeEmpty = 1; // emptied from outside the commands
    t.exec({C(Op::Alloc, I(3), I(1), I(3)), C(Op::End)});
    EXPECT_EQ(shared, (std::vector<Value>{I(7), I(7), I(7), Value::null(), I(7), I(7), I(7), I(7),
                                          Value::null(), Value::null()}));
    t.exec({C(Op::Alloc, I(3), I(2), I(1)), C(Op::End)}); // map 2 does not exist
    t.exec({C(Op::Alloc, I(3), I(0), I(0)), C(Op::End)});
    EXPECT_EQ(t.reports(), 2u);
}

TEST(TekkelVariables, AllocFindsASharedVariableEmptiedBelowTheFilledOnes) {
    // Five shared variables, four filled by an Alloc, then one emptied in each way a script can;
    // the next Alloc takes the first empty one.
    const struct {
        std::vector<Command> emptier;
        std::int32_t taken;
    } cases[] = {
        {{}, 5},
        {{C(Op::FreeRange, I(0), I(2), I(1))}, 2},
        {{C(Op::Select, I(1), I(2), I(0)), C(Op::Move, I(-1), I(5))}, 2}, // R5 was never written
        {{C(Op::Dim, I(1), I(1), I(5))}, 1},
    };
    for (const bool fullWay : {false, true}) {
        for (const auto& c : cases) {
            Tekkel t;
            std::vector<Command> code = {C(Op::Dim, I(1), I(1), I(5)),
                                         C(Op::Alloc, I(2), I(0), I(4))};
            code.insert(code.end(), c.emptier.begin(), c.emptier.end());
            code.push_back(C(Op::Alloc, I(3), I(0), I(1)));
            code.push_back(C(Op::End));
            t.load(1, std::move(code));
            if (fullWay) tekkel::compileFullWay(t.world.machine.scripts[1]);
            t.start(1);
            const auto& own = t.sys().ownMap.entries;
            const auto at = static_cast<std::size_t>(t.sys().R3.i);
            EXPECT_EQ(t.reports(), 0u);
            ASSERT_LT(at, own.size());
            EXPECT_EQ(own[at], c.taken) << fullWay << ' ' << c.emptier.size();
            EXPECT_EQ(t.world.machine.sharedValues.size(), 6u) << "no shared variable added";
        }
    }
}

TEST(TekkelVariables, FreeRangeCrossesTerminatorsAndFailuresKeepWhatWasFreed) {
    Tekkel t;
    const auto& own = t.sys().ownMap;
    t.exec({C(Op::Alloc, I(2), I(0), I(2)), C(Op::Alloc, I(2), I(0), I(2)),
            C(Op::FreeRange, I(0), I(2), I(3)), C(Op::End)});
    EXPECT_EQ(entries(own), (std::vector<std::int32_t>{1, 0, 0, 0, 4, 0}));
    EXPECT_TRUE(t.world.machine.sharedValues[2].isEmpty());
    EXPECT_TRUE(t.world.machine.sharedValues[3].isEmpty());
    EXPECT_EQ(t.world.machine.sharedValues[4], Value::null());
    t.exec({C(Op::FreeRange, I(0), I(1), I(0)), C(Op::FreeRange, I(0), I(9), I(-3)),
            C(Op::FreeRange, I(0), I(0), I(0)),
            C(Op::End)}); // frees nothing, whatever the first entry
    EXPECT_EQ(t.reports(), 0u);
    t.exec({C(Op::FreeRange, I(0), I(5), I(3)), C(Op::End)}); // past the end
    t.exec({C(Op::FreeRange, I(0), I(0), I(2)), C(Op::End)}); // entry 0
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.exec({C(Op::FreeBlock, I(0), I(7)), C(Op::End)});
    EXPECT_EQ(t.reports(), 3u);
    // An entry naming no shared variable stops the walk; entries before it stay freed.
    t.sys().ownMap.entries = {0, 1, 99, 4, 0};
    t.sys().ownMap.total = 4;
    t.exec({C(Op::FreeBlock, I(0), I(1)), C(Op::End)});
    EXPECT_EQ(t.reports(), 4u);
    EXPECT_EQ(entries(own), (std::vector<std::int32_t>{0, 99, 4, 0}));
}

TEST(TekkelVariables, ListingsChangeNothing) {
    Tekkel t;
    t.exec({C(Op::Dim, I(2), I(0), I(1)), C(Op::Alloc, I(2), I(0), I(1)), C(Op::DumpLocals),
            C(Op::DumpShared), C(Op::DumpAlloced, I(0)), C(Op::End)});
    const std::string text = t.listing.str();
    EXPECT_NE(text.find("[Local]\n  1: Empty"), std::string::npos);
    EXPECT_NE(text.find("[Shared]\n  1: Null"), std::string::npos);
    EXPECT_NE(text.find("[Alloced]\n  1: 1\n  2: 0\n"), std::string::npos);
    t.exec({C(Op::DumpAlloced, I(3)), C(Op::End)});
    EXPECT_EQ(t.reports(), 1u);
}

TEST(TekkelVariables, AreasShareOneBudget) {
    constexpr std::int32_t kBudget = static_cast<std::int32_t>(tekkel::kMaxValues);
    // The locals hold 100,000 (a sieve's worth, refused by the old per-area cap of 65,536);
    // each growth below would take all areas together one past the budget.
    const Command over[] = {
        C(Op::Dim, I(2), I(1), L(kBudget - 99999)),
        C(Op::Extend, I(2), I(2), L(kBudget - 99999)),
        C(Op::Extend, I(2), I(0), L(kBudget - 99999)),
        C(Op::Alloc, I(2), I(0), L(kBudget - 100000)), // the block's terminator is one more
        C(Op::Dim, I(2), I(0), L(kBudget + 1)),        // the old locals would go first
    };
    for (const Command& c : over) {
        Tekkel t;
        t.exec({C(Op::Dim, I(1), I(0), L(100000)), c, C(Op::End)});
        EXPECT_EQ(t.reports(), 1u) << c.code;
        EXPECT_EQ(t.lastErrorNumber(), 1) << c.code;
        EXPECT_EQ(t.sys().localCount, 100000);
        EXPECT_EQ(t.world.machine.sharedValues.size(), 0u) << c.code; // nothing changed
    }
    // A text that keeps doubling stops at 16,777,216 code units.
    Tekkel t;
    t.exec({C(Op::Set, I(2), S(u"x")), C(Op::Label, S(u"L")), C(Op::Concat, I(2), I(2), I(2)),
            C(Op::Jump, S(u"L"))});
    EXPECT_EQ(t.lastErrorNumber(), 1);
    EXPECT_EQ(t.sys().R2.s.size(), std::size_t{1} << 24);
}

// A jump to the label named in D1 comes from anywhere: the record after the label finds the
// selected variable anew, though the one before it found one.
TEST(TekkelVariables, ARecordAfterALabelNamedInD1FindsTheSelectedVariable) {
    Tekkel t;
    t.exec({C(Op::Dim, I(1), I(0), I(2)), C(Op::Select, I(0), I(2), I(0)), C(Op::Set, I(-1), I(20)),
            C(Op::Select, I(0), I(1), I(0)), C(Op::Set, I(-1), I(10)),
            C(Op::Set, I(20), S(u"back")), C(Op::Jump, S(u"go")), C(Op::Move, I(3), I(-1)),
            C(Op::Label, S(u"back")), C(Op::Move, I(4), I(-1)), C(Op::End), C(Op::Label, S(u"go")),
            C(Op::Set, I(11), I(2)), C(Op::Jump)});
    EXPECT_EQ(t.sys().R4, I(20));
    EXPECT_EQ(t.reports(), 0u);
}
