// The evaluator's functions: trigonometry, hyperbolic functions, the value stack and its
// statistics, calculus, dates, random numbers and the condition. A name that is no function is
// a token whose value is put in front of the bracket text.
#include "services/Evaluator.h"

#include "common/Numbers.h"
#include "services/EvaluatorDates.h"
#include "services/EvaluatorMath.h"
#include "state/Helpers.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

using namespace evaluator_errors;
using namespace evaluator_math;

const double kQuarterPi = std::atan(1.0);

// The text inside a date function's brackets, read literally.
std::string_view DateText(std::string_view args) {
    if (args.size() < 2 || args.back() != ')') Raise(TypeMismatch);
    return args.substr(1, args.size() - 2);
}

// Gcd as the platform's integer remainder computes it: both values are rounded on every step.
double Gcd(double a, double b) {
    while (a != 0) {
        const double t = IntegerRemainder(b, a);
        b = a;
        a = t;
    }
    return b;
}

// A square root whose radicand is mathematically never negative, so that rounding below zero
// counts as zero.
double NonNegativeRoot(double radicand) {
    return std::sqrt(std::max(0.0, Finite(radicand)));
}

} // namespace

// The table lives in a function of its own: built once, its initialiser list would otherwise
// take kilobytes of every recursive call's stack frame.
const std::unordered_map<std::string_view, Evaluator::Handler>& Evaluator::FunctionTable() {
    static const std::unordered_map<std::string_view, Handler> functions = {
        {"harccosec",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return Finite(std::asinh(Divide(1, a)));
         }},
        {"element", [](Evaluator& ev, std::string_view t) { return ev.Element(ev.EvaluateExpression(t)); }},
        {"arccosec",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             if (!(std::fabs(a) >= 1)) Raise(InvalidArgument);
             return std::asin(1 / a);
         }},
        {"harcsin", [](Evaluator& ev, std::string_view t) { return std::asinh(ev.EvaluateExpression(t)); }},
        {"harccos",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             if (!(a >= 1)) Raise(InvalidArgument);
             return std::acosh(a);
         }},
        {"harctan",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             if (a == 1) Raise(DivisionByZero);
             if (!(std::fabs(a) < 1)) Raise(InvalidArgument);
             return std::atanh(a);
         }},
        {"harccot",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             if (a == 1) Raise(DivisionByZero);
             if (!(std::fabs(a) > 1)) Raise(InvalidArgument);
             return std::atanh(1 / a);
         }},
        {"harcsec",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             if (a == 0) Raise(DivisionByZero);
             if (a < 0 || a > 1) Raise(InvalidArgument);
             return std::acosh(Finite(1 / a));
         }},
        {"arcsin",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return std::atan(Divide(a, SquareRoot(1 - a * a)));
         }},
        {"arccos",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return ev.EvaluateExpression("ArcSin(-" + FormatNumber(a) + ") + 2 * Atn(1)");
         }},
        {"arcsec",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             if (!(std::fabs(a) >= 1)) Raise(InvalidArgument);
             return std::acos(1 / a);
         }},
        {"arccot",
         [](Evaluator& ev, std::string_view t) { return 2 * kQuarterPi - std::atan(ev.EvaluateExpression(t)); }},
        {"dice",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return Finite(std::floor(ev.DrawRandom() * a + 1));
         }},
        {"popall",
         [](Evaluator& ev, std::string_view) {
             const double top = ev.EvaluateExpression("pop()");
             ev.pendingStackAction_ |= 2;
             return top;
         }},
        {"bottom",
         [](Evaluator& ev, std::string_view) {
             if (ev.state_.stack.empty()) Raise(SubscriptOutOfRange);
             return ev.state_.stack.front();
         }},
        {"cosec",
         [](Evaluator& ev, std::string_view t) { return Divide(1, std::sin(ev.EvaluateExpression(t))); }},
        {"notin", [](Evaluator& ev, std::string_view t) { return Finite(1 - ev.EvaluateExpression(t)); }},
        {"prim",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             ev.BuildPrimeTable();
             const double b = std::fabs(a);
             if (b <= 2) return 2.0;
             if (b <= 3) return 3.0;
             return static_cast<double>(ev.FillPrimeTable(b));
         }},
        {"fact", [](Evaluator& ev, std::string_view t) { return ev.Factorise(ev.EvaluateExpression(t)); }},
        {"hsin", [](Evaluator& ev, std::string_view t) { return Finite(std::sinh(ev.EvaluateExpression(t))); }},
        {"hcos", [](Evaluator& ev, std::string_view t) { return Finite(std::cosh(ev.EvaluateExpression(t))); }},
        {"htan", [](Evaluator& ev, std::string_view t) { return std::tanh(ev.EvaluateExpression(t)); }},
        {"hsec", [](Evaluator& ev, std::string_view t) { return 1 / std::cosh(ev.EvaluateExpression(t)); }},
        {"hcot",
         [](Evaluator& ev, std::string_view t) { return Divide(1, std::tanh(ev.EvaluateExpression(t))); }},
        {"diff", [](Evaluator& ev, std::string_view t) { return ev.Differentiate(t); }},
        {"intg", [](Evaluator& ev, std::string_view t) { return ev.Integrate(t); }},
        {"push",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             ev.state_.stack.push_back(a);
             return a;
         }},
        {"prod",
         [](Evaluator& ev, std::string_view) {
             const auto& items = ev.NonEmptyStack();
             double product = 1;
             for (double v : items) product *= v;
             return Finite(product);
         }},
        {"pcor", [](Evaluator& ev, std::string_view) { return ev.Regression(true); }},
        {"frac",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return a - std::trunc(a);
         }},
        {"weeks",
         [](Evaluator& ev, std::string_view t) { return evaluator_dates::DayCount(DateText(t), ev.Clock) / 7; }},
        {"weekday",
         [](Evaluator& ev, std::string_view t) {
             return static_cast<double>(evaluator_dates::Weekday(DateText(t), ev.Clock));
         }},
        {"days", [](Evaluator& ev, std::string_view t) { return evaluator_dates::DayCount(DateText(t), ev.Clock); }},
        {"hours",
         [](Evaluator& ev, std::string_view t) { return evaluator_dates::DayCount(DateText(t), ev.Clock) * 24; }},
        {"minutes",
         [](Evaluator& ev, std::string_view t) { return evaluator_dates::DayCount(DateText(t), ev.Clock) * 1440; }},
        {"seconds",
         [](Evaluator& ev, std::string_view t) {
             return evaluator_dates::DayCount(DateText(t), ev.Clock) * 86400;
         }},
        {"sec", [](Evaluator& ev, std::string_view t) { return Divide(1, std::cos(ev.EvaluateExpression(t))); }},
        {"cot",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return Divide(std::cos(a), std::sin(a));
         }},
        {"log",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             NaturalLog(a); // the domain check
             return std::log10(a);
         }},
        {"sin", [](Evaluator& ev, std::string_view t) { return std::sin(ev.EvaluateExpression(t)); }},
        {"cos", [](Evaluator& ev, std::string_view t) { return std::cos(ev.EvaluateExpression(t)); }},
        {"tan", [](Evaluator& ev, std::string_view t) { return Finite(std::tan(ev.EvaluateExpression(t))); }},
        {"atn", [](Evaluator& ev, std::string_view t) { return std::atan(ev.EvaluateExpression(t)); }},
        {"pop",
         [](Evaluator& ev, std::string_view) {
             const double top = ev.StackTop();
             ev.pendingStackAction_ |= 1;
             return top;
         }},
        {"top", [](Evaluator& ev, std::string_view) { return ev.StackTop(); }},
        {"sum",
         [](Evaluator& ev, std::string_view) {
             const auto& items = ev.NonEmptyStack();
             double sum = 0;
             for (double v : items) sum += v;
             return Finite(sum);
         }},
        {"avg",
         [](Evaluator& ev, std::string_view) {
             const double sum = ev.EvaluateExpression("sum()");
             return sum / static_cast<double>(ev.state_.stack.size());
         }},
        {"min",
         [](Evaluator& ev, std::string_view) {
             const auto& items = ev.NonEmptyStack();
             return *std::min_element(items.begin(), items.end());
         }},
        {"max",
         [](Evaluator& ev, std::string_view) {
             const auto& items = ev.NonEmptyStack();
             return *std::max_element(items.begin(), items.end());
         }},
        {"med",
         [](Evaluator& ev, std::string_view) {
             std::vector<double> sorted = ev.NonEmptyStack();
             std::sort(sorted.begin(), sorted.end());
             const std::size_t n = sorted.size();
             return n % 2 == 1 ? sorted[n / 2] : sorted[n / 2 - 1] / 2 + sorted[n / 2] / 2;
         }},
        {"lcd", [](Evaluator& ev, std::string_view) { return ev.CommonDivisor(); }},
        {"scm", [](Evaluator& ev, std::string_view) { return ev.CommonMultiple(); }},
        {"cor", [](Evaluator& ev, std::string_view) { return ev.Regression(false); }},
        {"sqr", [](Evaluator& ev, std::string_view t) { return SquareRoot(ev.EvaluateExpression(t)); }},
        {"abs", [](Evaluator& ev, std::string_view t) { return std::fabs(ev.EvaluateExpression(t)); }},
        {"neg", [](Evaluator& ev, std::string_view t) { return -ev.EvaluateExpression(t); }},
        {"num", [](Evaluator& ev, std::string_view) { return static_cast<double>(ev.state_.stack.size()); }},
        {"var", [](Evaluator& ev, std::string_view) { return ev.Variance(false); }},
        {"vnc", [](Evaluator& ev, std::string_view) { return ev.Variance(true); }},
        {"not",
         [](Evaluator& ev, std::string_view t) {
             const double a = ev.EvaluateExpression(t);
             return -1.0 - ToInt32(std::floor(a));
         }},
        {"int", [](Evaluator& ev, std::string_view t) { return std::floor(ev.EvaluateExpression(t)); }},
        {"fix", [](Evaluator& ev, std::string_view t) { return std::trunc(ev.EvaluateExpression(t)); }},
        {"fah", [](Evaluator& ev, std::string_view t) { return Finite(ev.EvaluateExpression(t) * 1.8 + 32); }},
        {"cel", [](Evaluator& ev, std::string_view t) { return (ev.EvaluateExpression(t) - 32) / 1.8; }},
        {"fac", [](Evaluator& ev, std::string_view t) { return Factorial(ev.EvaluateExpression(t)); }},
        {"exp", [](Evaluator& ev, std::string_view t) { return Finite(std::exp(ev.EvaluateExpression(t))); }},
        {"deg",
         [](Evaluator& ev, std::string_view t) { return Finite(ev.EvaluateExpression(t) / kQuarterPi * 45); }},
        {"gra",
         [](Evaluator& ev, std::string_view t) { return Finite(ev.EvaluateExpression(t) / kQuarterPi * 50); }},
        {"arc", [](Evaluator& ev, std::string_view t) { return kQuarterPi * ev.EvaluateExpression(t) / 45; }},
        {"rad", [](Evaluator& ev, std::string_view t) { return kQuarterPi * ev.EvaluateExpression(t) / 45; }},
        {"rnd",
         [](Evaluator& ev, std::string_view t) {
             const double r = ev.DrawRandom();
             return r * ev.EvaluateExpression(t);
         }},
        {"if", [](Evaluator& ev, std::string_view t) { return ev.Condition(t); }},
        {"ln", [](Evaluator& ev, std::string_view t) { return NaturalLog(ev.EvaluateExpression(t)); }},
    };
    return functions;
}

double Evaluator::CallFunction(const std::string& name, std::string_view word, std::string_view args) {
    const auto& functions = FunctionTable();
    const auto found = functions.find(name);
    if (found != functions.end()) return found->second(*this, args);
    return EvaluateToken(std::string(word), args);
}

double Evaluator::DrawRandom() {
    double r = Random ? Random() : NextRandom();
    if (!(r >= 0) || r >= 1) r = 0;
    // Draws have single precision; cutting (not rounding) to 24 bits keeps them below 1.
    return std::floor(r * 0x1.0p24) * 0x1.0p-24;
}

double Evaluator::Element(double position) const {
    const double k = std::floor(position);
    if (!(k >= 1 && k <= static_cast<double>(state_.stack.size()))) Raise(SubscriptOutOfRange);
    return state_.stack[state_.stack.size() - static_cast<std::size_t>(k)];
}

const std::vector<double>& Evaluator::WalkStack() {
    CountWork(state_.stack.size());
    return state_.stack;
}

const std::vector<double>& Evaluator::NonEmptyStack() {
    if (state_.stack.empty()) Raise(NotEnoughItems);
    return WalkStack();
}

double Evaluator::StackTop() const {
    if (state_.stack.empty()) Raise(NotEnoughItems);
    return state_.stack.back();
}

double Evaluator::Condition(std::string_view groups) {
    const std::size_t conditionEnd = MatchBracket(groups);
    const double condition = EvaluateExpression(groups.substr(0, conditionEnd));
    const std::string_view rest = groups.substr(std::min(conditionEnd, groups.size()));
    const std::size_t thenEnd = MatchBracket(rest);
    if (condition != 0) return EvaluateExpression(rest.substr(0, thenEnd));
    const std::string_view otherwise = rest.substr(std::min(thenEnd, rest.size()));
    return EvaluateExpression(otherwise.substr(0, MatchBracket(otherwise)));
}

double Evaluator::Differentiate(std::string_view integrand) {
    if (calculusActive_) Raise(NestedCalculus);
    if (state_.stack.empty()) Raise(NotEnoughItems);
    const double x0 = state_.stack.back();
    const double h = 0x1.0p-13;
    calculusActive_ = true;
    integrationVariable_ = x0 - h;
    const double f1 = EvaluateExpression(integrand);
    integrationVariable_ = x0 + h;
    const double f2 = EvaluateExpression(integrand);
    calculusActive_ = false;
    return Finite(f2 / 0x1.0p-12 - f1 / 0x1.0p-12);
}

double Evaluator::Integrate(std::string_view integrand) {
    if (calculusActive_) Raise(NestedCalculus);
    if (state_.stack.size() < 3) Raise(NotEnoughItems);
    const double b = state_.stack[state_.stack.size() - 1];
    const double a = state_.stack[state_.stack.size() - 2];
    const double n = state_.stack[state_.stack.size() - 3];
    if (n == 0) Raise(ZeroIntervals);
    auto sample = [&](double x) {
        integrationVariable_ = x;
        return EvaluateExpression(integrand);
    };
    auto plot = [&](double x, double value) {
        if (Plot) Plot(x, value);
    };

    calculusActive_ = true;
    const double fb = sample(b);
    plot(b, fb);
    const double fa = sample(a);
    double s = (fa + fb) / 2;
    const double h = Finite((b - a) / n);
    // The interval count may be fractional; the loops run over real bounds. Every sample costs
    // evaluation work, so a huge count ends with error 28 rather than running on.
    for (double k = n - 1; k >= 1; k -= 1) {
        const double x = a + k * h;
        const double f = sample(x);
        plot(x, f);
        s += f;
    }
    plot(a, sample(a));
    for (double k = n; k >= 1; k -= 1)
        s += 2 * sample(a - h / 2 + k * h);
    calculusActive_ = false;
    return Finite(std::fabs(h) * s / 3);
}

double Evaluator::Variance(bool sample) {
    if (sample && state_.stack.size() < 2) Raise(NotEnoughItems);
    const double squareOfSum = EvaluateExpression("sum()\xB2");
    const double n = static_cast<double>(state_.stack.size());
    double sumOfSquares = 0;
    for (double v : WalkStack())
        sumOfSquares += v * v;
    return NonNegativeRoot((Finite(sumOfSquares) - squareOfSum / n) / (sample ? n - 1 : n));
}

double Evaluator::Regression(bool correlation) {
    const std::size_t count = WalkStack().size();
    if (count < 4 || count % 2 != 0) Raise(NotEnoughItems);
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    // Read from the top: the first of each pair is x, the second its y.
    for (std::size_t i = count; i >= 2; i -= 2) {
        const double x = state_.stack[i - 1];
        const double y = state_.stack[i - 2];
        sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
    }
    const double m = static_cast<double>(count / 2);
    const double numerator = Finite(m * sxy - sx * sy);
    double d;
    if (correlation) {
        d = NonNegativeRoot(Finite(m * sxx - sx * sx)) * NonNegativeRoot(Finite(m * syy - sy * sy));
    } else {
        d = Finite(m * sxx - sx * sx);
    }
    return d == 0 ? 1 : Finite(numerator / d);
}

double Evaluator::CommonDivisor() {
    const auto& items = NonEmptyStack();
    double g = std::fabs(std::floor(items.back()));
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (*it != 0) g = Gcd(g, std::fabs(*it));
    }
    if (g == 0) Raise(NotEnoughItems);
    return g;
}

double Evaluator::CommonMultiple() {
    double m = 1;
    const auto& items = WalkStack();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const double v = std::floor(std::fabs(*it));
        if (v != 0 && std::floor(m / v) != m / v) m = Finite(v * m / Gcd(m, v));
    }
    return m;
}
