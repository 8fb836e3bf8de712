// The function library: trigonometric and hyperbolic functions, the stack and its statistics,
// dates on a fixed clock, calculus with its Plot samples, primes and factors, and random numbers
// from a scripted source.
#include "EvaluatorTestSupport.h"

#include "common/Numbers.h"
#include "state/Helpers.h"

#include <chrono>
#include <cmath>
#include <deque>
#include <string>
#include <utility>
#include <vector>

using evaluator_test::Assign;
using evaluator_test::Case;
using evaluator_test::ExpectCase;
using namespace evaluator_errors;

namespace {

const double kPi = std::acos(-1.0);

// Pushes the items so that the first one given ends on top.
void PushTopFirst(Evaluator& ev, const std::vector<double>& topFirst) {
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it)
        ev.SetFormula("push(" + FormatNumber(*it) + ")");
}

// Runs each case on a fresh evaluator holding the given stack, top first.
void ExpectCasesOnStack(const std::vector<double>& topFirst, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        Evaluator ev;
        PushTopFirst(ev, topFirst);
        ExpectCase(c, Assign(ev, c.formula));
    }
}

// The day count of a calendar date: days since 15 October 1582.
double DayCountOf(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return static_cast<double>(
        (sys_days{year{y} / month{m} / day{d}} - sys_days{year{1582} / October / 15}).count());
}

} // namespace

TEST(EvaluatorFunctions, TrigonometricFunctionsGiveTheRightValueInEveryQuadrant) {
    ExpectCasesOnStack({}, {
                               {"sin(pi/6)", 0.5},
                               {"cos(pi/3)", 0.5},
                               {"tan(pi/4)", 1},
                               {"tan(3*pi/4)", -1},
                               {"tan(5*pi/4)", 1},
                               {"tan(-pi/4)", -1},
                               {"cot(pi/4)", 1},
                               {"cot(3*pi/4)", -1},
                               {"cot(-pi/4)", -1},
                               {"cot(-3*pi/4)", 1},
                               {"cot(0)", 0, DivisionByZero},
                               {"sec(pi/3)", 2},
                               {"cosec(pi/6)", 2},
                               {"cosec(0)", 0, DivisionByZero},
                               {"atn(1)", kPi / 4},
                               {"arcsin(0.5)", kPi / 6},
                               {"arcsin(-0.5)", -kPi / 6},
                               {"arcsin(1)", 0, DivisionByZero},
                               {"arcsin(2)", 0, InvalidArgument},
                               {"arccos(0.5)", kPi / 3},
                               {"arccos(-0.5)", 2 * kPi / 3},
                               {"arccos(0)", kPi / 2},
                               {"arccos(1)", 0, DivisionByZero},
                               {"arcsec(2)", kPi / 3},
                               {"arcsec(-2)", 2 * kPi / 3},
                               {"arcsec(1)", 0},
                               {"arcsec(0.5)", 0, InvalidArgument},
                               {"arccosec(2)", kPi / 6},
                               {"arccosec(-2)", -kPi / 6},
                               {"arccosec(1)", kPi / 2},
                               {"arccosec(0)", 0, InvalidArgument},
                               {"arccot(1)", kPi / 4},
                               {"arccot(0)", kPi / 2},
                               {"arccot(-1)", 3 * kPi / 4},
                               {"deg(pi)", 180},
                               {"gra(pi)", 200},
                               {"arc(180)", kPi},
                               {"rad(90)", kPi / 2},
                               {"SIN(0)", 0},
                           });
}

TEST(EvaluatorFunctions, HyperbolicAndElementaryFunctions) {
    ExpectCasesOnStack({}, {
                               {"hsin(1)", std::sinh(1.0)},
                               {"hcos(0)", 1},
                               {"htan(1)", std::tanh(1.0)},
                               {"htan(1000)", 1},
                               {"hsec(0)", 1},
                               {"hcot(1)", 1 / std::tanh(1.0)},
                               {"hcot(0)", 0, DivisionByZero},
                               {"hsin(1000)", 0, Overflow},
                               {"harcsin(hsin(1))", 1},
                               {"harcsin(-1e200)", std::asinh(-1e200)},
                               {"harccos(hcos(2))", 2},
                               {"harccos(0.5)", 0, InvalidArgument},
                               {"harctan(0.5)", std::atanh(0.5)},
                               {"harctan(1)", 0, DivisionByZero},
                               {"harctan(2)", 0, InvalidArgument},
                               {"harccot(2)", std::atanh(0.5)},
                               {"harccot(1)", 0, DivisionByZero},
                               {"harccot(0.5)", 0, InvalidArgument},
                               {"harcsec(0.5)", std::acosh(2.0)},
                               {"harcsec(0)", 0, DivisionByZero},
                               {"harcsec(2)", 0, InvalidArgument},
                               {"harccosec(2)", std::asinh(0.5)},
                               {"harccosec(-2)", std::asinh(-0.5)},
                               {"harccosec(0)", 0, DivisionByZero},
                               {"sqr(9)", 3},
                               {"sqr(-1)", 0, InvalidArgument},
                               {"ln(e)", 1},
                               {"ln(0)", 0, InvalidArgument},
                               {"log(1000)", 3},
                               {"int(log(1000))", 3},
                               {"log(-1)", 0, InvalidArgument},
                               {"exp(1)", std::exp(1.0)},
                               {"exp(710)", 0, Overflow},
                               {"abs(-2)", 2},
                               {"neg(2)", -2},
                               {"int(-2.5)", -3},
                               {"fix(-2.5)", -2},
                               {"frac(-2.5)", -0.5},
                               {"not(0)", -1},
                               {"not(5)", -6},
                               {"not(-1)", 0},
                               {"not(1e10)", 0, Overflow},
                               {"notin(0.25)", 0.75},
                               {"fah(100)", 212},
                               {"cel(212)", 100},
                               {"fac(5)", 120},
                               {"fac(0)", 1},
                               {"fac(5.9)", 120},
                               {"fac(170)", std::tgamma(171.0)},
                               {"fac(171)", 0, Overflow},
                               {"fac(-1)", 0, InvalidArgument},
                               {"sin(1)2", 0, MissingOperand},
                               {"sqr(4)+sqr(9)", 5},
                           });
}

TEST(EvaluatorFunctions, ConditionEvaluatesOnlyTheChosenGroup) {
    ExpectCasesOnStack({}, {
                               {"if(1)(5)(6)", 5},
                               {"if(0)(5)(6)", 6},
                               {"if(0)(5)", 0, MissingOperand},
                               {"if(1)(5)", 5},
                               {"if(2>1)(7)(8)", 7},
                               {"if(1)(5)(1/0)", 5},
                               {"if(0)(1/0)(6)", 6},
                               {"if(1<0)(5)(if(1)(7)(8))", 7},
                               {"2*if(0)(5)(6)", 12},
                           });
}

TEST(EvaluatorFunctions, StackFunctionsReadTheItemsWithoutEvaluatingTheirBrackets) {
    ExpectCasesOnStack({3, 2, 1}, {
                                      {"top()", 3},
                                      {"bottom()", 1},
                                      {"sum()", 6},
                                      {"sum(1/0)", 6},
                                      {"avg()", 2},
                                      {"med()", 2},
                                      {"num()", 3},
                                      {"element(2)", 2},
                                      {"element(3.7)", 1},
                                      {"element(4)", 0, SubscriptOutOfRange},
                                      {"element(0)", 0, SubscriptOutOfRange},
                                      {"prod()", 6},
                                      {"min()", 1},
                                      {"max()", 3},
                                      {"scm()", 6},
                                      {"lcd()", 1},
                                  });
    ExpectCasesOnStack({}, {
                               {"top()", 0, NotEnoughItems},
                               {"pop()", 0, NotEnoughItems},
                               {"popall()", 0, NotEnoughItems},
                               {"sum()", 0, NotEnoughItems},
                               {"avg()", 0, NotEnoughItems},
                               {"prod()", 0, NotEnoughItems},
                               {"min()", 0, NotEnoughItems},
                               {"max()", 0, NotEnoughItems},
                               {"med()", 0, NotEnoughItems},
                               {"lcd()", 0, NotEnoughItems},
                               {"var()", 0, NotEnoughItems},
                               {"bottom()", 0, SubscriptOutOfRange},
                               {"num()", 0},
                               {"scm()", 1},
                           });
    ExpectCasesOnStack({1e200, 1e200}, {{"prod()", 0, Overflow}, {"sum()", 2e200}});
}

TEST(EvaluatorFunctions, StatisticsOverTheStack) {
    ExpectCasesOnStack({4, 1, 3, 2}, {{"med()", 2.5}});
    ExpectCasesOnStack({2, 2, 5}, {{"med()", 2}});
    ExpectCasesOnStack({2, 4, 4, 4, 5, 5, 7, 9}, {{"var()", 2}, {"vnc()", std::sqrt(32.0 / 7)}});
    // Equal items have no spread, even where rounding makes the radicand slightly negative.
    ExpectCasesOnStack({0.1, 0.1, 0.1}, {{"var()", 0}, {"vnc()", 0}});
    ExpectCasesOnStack({3.3, 3.3, 3.3, 3.3, 3.3, 3.3, 3.3, 3.3}, {{"var()", 0}, {"vnc()", 0}});
    ExpectCasesOnStack({5}, {{"vnc()", 0, NotEnoughItems}, {"var()", 0}});
    ExpectCasesOnStack({12, 18, 24}, {{"lcd()", 6}, {"scm()", 72}});
    ExpectCasesOnStack({4, 6}, {{"scm()", 12}, {"lcd()", 2}});
    ExpectCasesOnStack({0, 0}, {{"lcd()", 0, NotEnoughItems}, {"scm()", 1}});
    ExpectCasesOnStack({0, 12, -18}, {{"lcd()", 6}});
    ExpectCasesOnStack({4e9, 6}, {{"lcd()", 0, Overflow}});
    // Pairs read from the top: x1, y1, x2, y2, ...
    ExpectCasesOnStack({1, 2, 2, 4, 3, 6}, {{"cor()", 2}, {"pcor()", 1}});
    ExpectCasesOnStack({1, -1, 2, -2, 3, -3}, {{"cor()", -1}, {"pcor()", -1}});
    ExpectCasesOnStack({1, 5, 2, 3, 3, 4}, {{"cor()", -0.5}, {"pcor()", -0.5}});
    ExpectCasesOnStack({2, 1, 2, 2, 2, 3}, {{"cor()", 1}, {"pcor()", 1}});
    ExpectCasesOnStack({1, 2, 3}, {{"cor()", 0, NotEnoughItems}, {"pcor()", 0, NotEnoughItems}});
    ExpectCasesOnStack({1, 2}, {{"cor()", 0, NotEnoughItems}});
}

TEST(EvaluatorFunctions, DatesCountDaysFromTheFirstGregorianDay) {
    const EvaluatorClockTime now{2026, 12, 10, 13, 4, 48}; // a Thursday
    const double today = DayCountOf(2026, 12, 10);
    const double timeOfDay = (13 * 3600 + 4 * 60 + 48) / 86400.0;
    const std::vector<Case> cases = {
        {"days(1582-10-15)", 0},
        {"days(10/15/1582)", 0},
        {"days(1899-12-30)", 115858},
        {"days(2001-01-01)", DayCountOf(2001, 1, 1)},
        {"days(1/1/01)", DayCountOf(2001, 1, 1)},
        {"days(1/1/99)", DayCountOf(1999, 1, 1)},
        {"days(2001-01-01@12:00)", DayCountOf(2001, 1, 1) + 0.5},
        {"days(2001-01-01@06:00:36)", DayCountOf(2001, 1, 1) + 0.25 + 36 / 86400.0},
        {"days(12:00)", 115858.5},
        {"days(now)", today + timeOfDay},
        {"weeks(2001-01-01)", DayCountOf(2001, 1, 1) / 7},
        {"hours(2001-01-01@12:00)", (DayCountOf(2001, 1, 1) + 0.5) * 24},
        {"minutes(2001-01-01)", DayCountOf(2001, 1, 1) * 1440},
        {"seconds(2001-01-01)", DayCountOf(2001, 1, 1) * 86400},
        {"weekday(1/1/2001)", 1},
        {"weekday(2001-01-07)", 7},
        {"weekday(now)", 4},
        {"days(now)-days(2026-12-09)", 1 + timeOfDay},
        {"days(2001-02-30)", 0, TypeMismatch},
        // A day or month beyond a byte must not wrap round into a real date.
        {"days(2001-01-257)", 0, TypeMismatch},
        {"days(2001-257-01)", 0, TypeMismatch},
        {"days(257/1/2001)", 0, TypeMismatch},
        {"days(tomorrow)", 0, TypeMismatch},
        {"days(NOW)", 0, TypeMismatch},
        {"days(2001-01-01@25:00)", 0, TypeMismatch},
        {"days()", 0, TypeMismatch},
    };
    for (const Case& c : cases) {
        Evaluator ev;
        ev.Clock = [&] { return now; };
        ExpectCase(c, Assign(ev, c.formula));
    }
}

TEST(EvaluatorFunctions, IntegralSamplesThroughPlotAndDerivativeUsesTheTopItem) {
    Evaluator ev;
    std::vector<std::pair<double, double>> plotted;
    ev.Plot = [&](double x, double value) { plotted.emplace_back(x, value); };
    PushTopFirst(ev, {1, 0, 2}); // B = 1, A = 0, n = 2
    ExpectCase({"intg(x\xB2)", 1.0 / 3}, Assign(ev, "intg(x\xB2)"));
    const std::vector<std::pair<double, double>> expected = {{1, 1}, {0.5, 0.25}, {0, 0}};
    EXPECT_EQ(plotted, expected);
    EXPECT_EQ(ev.StackItems(), (std::vector<double>{1, 0, 2}));

    // Limits in either order give the same value; a fractional count runs real loop bounds.
    ExpectCase({"intg(2*x)", 1}, Assign(ev, "intg(2*x)"));
    Evaluator reversed;
    PushTopFirst(reversed, {0, 1, 4});
    ExpectCase({"intg(x\xB3)", 0.25}, Assign(reversed, "intg(x\xB3)"));
    // 2.5 intervals of 0.4: one inner point (k = 1.5) and two midpoints (k = 2.5, 1.5).
    Evaluator fractional;
    plotted.clear();
    fractional.Plot = ev.Plot;
    PushTopFirst(fractional, {1, 0, 2.5});
    ExpectCase({"intg(1)", 0.8}, Assign(fractional, "intg(1)"));
    EXPECT_EQ(plotted.size(), 3u);
    EXPECT_NEAR(plotted.at(1).first, 0.6, 1e-12);

    Evaluator slope;
    PushTopFirst(slope, {2});
    // The central difference of a cubic is exact but for h squared, h being 2^-13.
    ExpectCase({"diff(x\xB3)", 12 + std::ldexp(1.0, -26)}, Assign(slope, "diff(x\xB3)"));
    EXPECT_NEAR(Assign(slope, "diff(sin(x))").value, std::cos(2.0), 1e-7);
    // Outside calculus x is an ordinary token again.
    ExpectCase({"x", 0, NoTokenValue}, Assign(slope, "x"));
}

TEST(EvaluatorFunctions, CalculusErrors) {
    ExpectCasesOnStack({1, 0, 2}, {
                                      {"diff(diff(x))", 0, NestedCalculus},
                                      {"intg(diff(x))", 0, NestedCalculus},
                                      {"intg(intg(x))", 0, NestedCalculus},
                                      {"diff(1/0)", 0, DivisionByZero},
                                  });
    ExpectCasesOnStack({}, {{"diff(diff(x))", 0, NotEnoughItems}, {"intg(diff(x))", 0, NotEnoughItems}});
    ExpectCasesOnStack({1, 0}, {{"intg(x)", 0, NotEnoughItems}, {"diff(x)", 1}});
    ExpectCasesOnStack({1, 0, 0}, {{"intg(x)", 0, ZeroIntervals}});
    // A count of intervals too large to finish ends as a formula too complex.
    ExpectCasesOnStack({1, 0, 1e12}, {{"intg(x)", 0, TooComplex}});
    ExpectCasesOnStack({1, 0, 1e300}, {{"intg(x)", 0, TooComplex}});
}

TEST(EvaluatorFunctions, PrimesAndFactors) {
    ExpectCasesOnStack({}, {
                               {"prim(10)", 11},
                               {"prim(9)", 11},
                               {"prim(2.5)", 3},
                               {"prim(1)", 2},
                               {"prim(-7)", 7},
                               {"prim(5.5)", 5},
                               {"prim(3.5)", 5},
                               {"prim(8)", 11},
                               {"prim(1619)", 1619},
                               {"prim(2621000)", 2621023},
                               {"prim(2621161)", 0, PrimeTableTooSmall},
                               {"prim(1e300)", 0, PrimeTableTooSmall},
                               {"fact(0)", 0},
                               {"fact(7919)", 0, PrimeTableTooSmall},
                               {"fact(1)", 0, PrimeTableTooSmall},
                               {"fact(-12)", 0, PrimeTableTooSmall},
                               {"fact(1024)", 11},
                               {"fact(1e300)", 0, PrimeTableTooSmall},
                           });

    Evaluator ev;
    ev.SetFormula("push(42)");
    ExpectCase({"fact(12)", 4}, Assign(ev, "fact(12)"));
    EXPECT_EQ(ev.StackItems(), (std::vector<double>{1, 2, 2, 3, 42}));
    // A failed factorisation takes back what it pushed.
    EXPECT_EQ(Assign(ev, "fact(7919*2)").error, PrimeTableTooSmall);
    EXPECT_EQ(ev.StackItems(), (std::vector<double>{1, 2, 2, 3, 42}));
}

TEST(EvaluatorFunctions, RandomNumbersComeFromTheInjectedSourceInTheirOrder) {
    std::deque<double> draws;
    Evaluator ev;
    ev.Random = [&] {
        const double r = draws.front();
        draws.pop_front();
        return r;
    };
    auto run = [&](std::vector<double> script, const std::string& formula) {
        draws.assign(script.begin(), script.end());
        ev.SetFormula(formula); // one evaluation
        EXPECT_TRUE(draws.empty()) << formula;
        return ev.Result();
    };
    EXPECT_EQ(run({0}, "dice(6)"), 1);
    EXPECT_EQ(run({0.5}, "dice(6)"), 4);
    EXPECT_EQ(run({0.9999}, "dice(6)"), 6);
    // A draw just below 1 is kept below 1 at single precision, so a die never shows 7.
    EXPECT_EQ(run({1 - 1e-12}, "dice(6)"), 6);
    EXPECT_EQ(run({0.25}, "rnd(10)"), 2.5);
    // rnd draws before its argument is evaluated, dice after.
    EXPECT_EQ(run({0.5, 0.25}, "rnd(dice(10))"), 1.5);
    EXPECT_EQ(run({0.5, 0.25}, "dice(rnd(10)*10)"), 13);
    EXPECT_EQ(run({0.5, 0.5}, "dice(6)+dice(6)"), 8);
}

TEST(EvaluatorFunctions, DefaultRandomSourceIsTheProgramGenerator) {
    Evaluator ev;
    // Seeding the program's generator repeats the rolls.
    auto rolls = [&] {
        std::vector<double> values;
        for (int i = 0; i < 20; ++i)
            values.push_back(Assign(ev, "dice(1000)").value);
        return values;
    };
    SeedRandom(12345);
    const auto first = rolls();
    SeedRandom(12345);
    EXPECT_EQ(rolls(), first);

    for (int i = 0; i < 200; ++i) {
        ev.SetFormula("dice(6)");
        EXPECT_GE(ev.Result(), 1);
        EXPECT_LE(ev.Result(), 6);
        EXPECT_EQ(ev.Result(), std::floor(ev.Result()));
        ev.SetFormula("rnd(10)");
        EXPECT_GE(ev.Result(), 0);
        EXPECT_LT(ev.Result(), 10);
    }
}
