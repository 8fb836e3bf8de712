// The evaluator's state rules: what Formula, Evaluate, Result, PreviousResult, "pr" and the
// stack actions of push, pop and popall leave behind, after success and after an error; and the
// prime table size at run time and design time.
#include "EvaluatorTestSupport.h"

#include "state/Model.h"

#include <deque>
#include <string>
#include <vector>

using evaluator_test::Assign;
using namespace evaluator_errors;

namespace {

using Items = std::vector<double>;

} // namespace

TEST(EvaluatorState, FormulaEvaluateAndStackFollowTheirRulesInSequence) {
    Evaluator ev;
    EXPECT_EQ(ev.Formula(), "");
    EXPECT_EQ(ev.Result(), 0);

    // "pr" needs one formula that is not a push formula; a push formula alone does not do.
    EXPECT_EQ(Assign(ev, "pr").error, NoPreviousResult);
    EXPECT_EQ(Assign(ev, "PUSH(4)").value, 4);
    EXPECT_EQ(ev.PreviousResult(), 0);
    EXPECT_EQ(Assign(ev, "pr").error, NoPreviousResult);

    ev.SetFormula("  2+3  ");
    EXPECT_EQ(ev.Formula(), "2+3");
    EXPECT_EQ(ev.Result(), 5);
    EXPECT_EQ(ev.PreviousResult(), 4);

    ev.SetFormula("pr*2");
    EXPECT_EQ(ev.Result(), 10);
    EXPECT_EQ(ev.PreviousResult(), 5);

    // A push formula pushes at once, becomes Result and leaves PreviousResult alone.
    ev.SetFormula("push(1)");
    ev.SetFormula("Push(2)");
    ev.SetFormula("push(3)");
    EXPECT_EQ(ev.Result(), 3);
    EXPECT_EQ(ev.PreviousResult(), 5);
    EXPECT_EQ(ev.StackItems(), (Items{3, 2, 1, 4}));

    // pop marks the top item, which goes once the whole formula is done: read twice, removed once.
    ev.SetFormula("pop()+pop()");
    EXPECT_EQ(ev.Result(), 6);
    EXPECT_EQ(ev.PreviousResult(), 3);
    EXPECT_EQ(ev.StackItems(), (Items{2, 1, 4}));

    // Evaluate alone neither moves Result into PreviousResult nor carries out a pending pop.
    EXPECT_EQ(ev.Evaluate(), 4);
    EXPECT_EQ(ev.Result(), 4);
    EXPECT_EQ(ev.PreviousResult(), 3);
    EXPECT_EQ(ev.StackItems(), (Items{2, 1, 4}));

    ev.SetFormula("pop()");
    EXPECT_EQ(ev.Result(), 2);
    EXPECT_EQ(ev.StackItems(), (Items{1, 4}));

    ev.SetFormula("popall()");
    EXPECT_EQ(ev.Result(), 1);
    EXPECT_TRUE(ev.StackItems().empty());
    EXPECT_EQ(Assign(ev, "pop()").error, NotEnoughItems);

    // Setting a formula and then calling Evaluate, as dice and effects do, evaluates it twice.
    ev.SetFormula("push(5)");
    EXPECT_EQ(ev.Evaluate(), 5);
    EXPECT_EQ(ev.StackItems(), (Items{5, 5}));

    // An empty or blank formula is 0.
    ev.SetFormula("   ");
    EXPECT_EQ(ev.Formula(), "");
    EXPECT_EQ(ev.Result(), 0);
}

TEST(EvaluatorState, SecondEvaluationDrawsAgainAndItsValueCounts) {
    std::deque<double> draws = {0.25, 0.75};
    Evaluator ev;
    ev.Random = [&] {
        const double r = draws.front();
        draws.pop_front();
        return r;
    };
    ev.SetFormula("rnd(1)");
    EXPECT_EQ(ev.Result(), 0.25);
    EXPECT_EQ(ev.Evaluate(), 0.75);
    EXPECT_EQ(ev.Result(), 0.75);
}

TEST(EvaluatorState, ErrorKeepsTheResultAndSkipsThePendingStackAction) {
    Evaluator ev;
    // An error in the very first formula leaves "pr" unavailable.
    EXPECT_EQ(Assign(ev, "1/0").error, DivisionByZero);
    EXPECT_EQ(Assign(ev, "pr").error, NoPreviousResult);

    ev.SetFormula("push(1)");
    ev.SetFormula("push(2)");
    ev.SetFormula("7");
    ASSERT_EQ(ev.StackItems(), (Items{2, 1}));

    const auto failed = Assign(ev, "pop()+push(9)+1/0");
    EXPECT_EQ(failed.error, DivisionByZero);
    EXPECT_EQ(ev.Formula(), "pop()+push(9)+1/0"); // the new text is kept
    EXPECT_EQ(ev.Result(), 7);                    // the result is not
    EXPECT_EQ(ev.PreviousResult(), 7);            // the old result already moved
    EXPECT_EQ(ev.StackItems(), (Items{9, 2, 1})); // pushed stays, the pending pop is dropped

    // A failed push formula leaves PreviousResult alone.
    ev.SetFormula("8");
    EXPECT_EQ(Assign(ev, "push(1/0)").error, DivisionByZero);
    EXPECT_EQ(ev.PreviousResult(), 7);
    EXPECT_EQ(ev.Result(), 8);

    // A failed integral leaves no trace in the next evaluation: x is a token again.
    ev.SetFormula("push(1)");
    EXPECT_EQ(Assign(ev, "intg(1/0)").error, DivisionByZero);
    EXPECT_EQ(Assign(ev, "x").error, NoTokenValue);
}

TEST(EvaluatorState, PrimeTableSizeIsLockedAtRunTime) {
    Evaluator ev;
    EXPECT_EQ(ev.PrimeTableSize(), 255);
    ev.SetPrimeTableSize(255); // the same value changes nothing
    try {
        ev.SetPrimeTableSize(300);
        ADD_FAILURE() << "the size changed at run time";
    } catch (const EvaluatorError& e) {
        EXPECT_EQ(e.Number(), LockedAtRuntime);
        EXPECT_EQ(e.Description(), "Property is locked at runtime");
    }
    EXPECT_EQ(ev.PrimeTableSize(), 255);
}

TEST(EvaluatorState, PrimeTableSizeAtDesignTimeIsKeptInRangeAndRebuildsTheTable) {
    Evaluator ev(true);
    EXPECT_EQ(Assign(ev, "prim(2000000)").value, 2000003);
    ev.SetPrimeTableSize(5);
    EXPECT_EQ(ev.PrimeTableSize(), 10);
    // Eleven primes end at 31, so candidates from 31 squared on cannot be decided.
    EXPECT_EQ(Assign(ev, "prim(900)").value, 907);
    EXPECT_EQ(Assign(ev, "prim(961)").error, PrimeTableTooSmall);
    EXPECT_EQ(Assign(ev, "prim(2000000)").error, PrimeTableTooSmall);
    try {
        ev.SetPrimeTableSize(200001);
        ADD_FAILURE() << "an oversized table was accepted";
    } catch (const EvaluatorError& e) {
        EXPECT_EQ(e.Number(), InvalidPropertyValue);
    }
    EXPECT_EQ(ev.PrimeTableSize(), 10);
    ev.SetPrimeTableSize(1000);
    EXPECT_EQ(Assign(ev, "prim(2000000)").value, 2000003);
}

// The table's evaluator, which dice and card effects share, keeps its results and its stack in the
// model: a fresh model starts it afresh, with no previous result for "pr".
TEST(EvaluatorState, TheTablesEvaluatorStartsAfreshWithTheModel) {
    Model().Reset();
    ::ev.SetFormula("push(4)");
    ::ev.SetFormula("2+3");
    EXPECT_EQ(::ev.StackItems(), (Items{4}));
    Model().Reset();
    EXPECT_EQ(::ev.Formula(), "");
    EXPECT_EQ(::ev.Result(), 0);
    EXPECT_TRUE(::ev.StackItems().empty());
    EXPECT_EQ(Assign(::ev, "pr").error, NoPreviousResult);
}
