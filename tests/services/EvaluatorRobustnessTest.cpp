// Formulas of any shape end with a value or a numbered error: many generated random formulas,
// and a few hostile shapes (very long, very deep, self-doubling), each in bounded time, under the
// sanitizers.
#include "EvaluatorTestSupport.h"

#include <pthread.h>

#include <chrono>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

using evaluator_test::Assign;
using evaluator_test::Outcome;
using evaluator_test::Repeat;
using namespace evaluator_errors;

namespace {

using Clock = std::chrono::steady_clock;

// A guard against hangs, not a speed test: under the sanitizers on a busy two-core machine a
// formula that ends at the work limit takes many times longer than on a quiet one.
constexpr auto kHangGuard = std::chrono::seconds(60);

const std::set<int> kKnownErrors = {InvalidArgument, Overflow,       SubscriptOutOfRange, NoPreviousResult,
                                    DivisionByZero,  TypeMismatch,   TooComplex,          BracketsNotPaired,
                                    ExtraCharacters, MissingOperand, NotEnoughItems,      NestedCalculus,
                                    ZeroIntervals,   NoTokenValue,   PrimeTableTooSmall};

const std::vector<std::string> kFunctions = {
    "harccosec", "element", "arccosec", "harcsin", "harccos", "harctan", "harccot", "harcsec", "arcsin",
    "arccos",    "arcsec",  "arccot",   "dice",    "cosec",   "notin",   "prim",    "fact",    "hsin",
    "hcos",      "htan",    "hsec",     "hcot",    "diff",    "intg",    "push",    "frac",    "sec",
    "cot",       "log",     "sin",      "cos",     "tan",     "atn",     "sqr",     "abs",     "neg",
    "not",       "int",     "fix",      "fah",     "cel",     "fac",     "exp",     "deg",     "gra",
    "arc",       "rad",     "rnd",      "ln",      "Sin",     "PUSH",    "f",       "g"};
const std::vector<std::string> kStackFunctions = {"popall", "bottom", "prod", "pcor", "pop", "top",
                                                  "sum",    "avg",    "min",  "max",  "med", "lcd",
                                                  "scm",    "cor",    "num",  "var",  "vnc"};
const std::vector<std::string> kDateFunctions = {"weeks", "weekday", "days", "hours", "minutes", "seconds"};
const std::vector<std::string> kDateTexts = {
    "now", "2001-01-01", "1/1/2001", "2001-01-01@12:30", "12:00", "2001-02-30", "nonsense", "", "now@now"};
const std::vector<std::string> kAtoms = {"0",     "1",      "2",  "7",  "0.5", "3,5", "1e3",  "2e-3",
                                         "1e308", "1e-308", "pi", "e",  "pr",  "x",   "X",    "a",
                                         "b",     "self",   "q",  "-1", "10",  "99",  "1619", "-0.0"};
const std::string kBinary = "+-*/\\]^[#=<>{}&|;:";
const std::string kPostfix = "!%\xB0\xB2\xB3'\"";

class FormulaGenerator {
  public:
    explicit FormulaGenerator(unsigned seed) : random_(seed) {}

    std::string Next() {
        std::string formula = Expression(Pick(1, 5));
        if (Chance(0.1)) Mangle(formula);
        return formula;
    }

  private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T> const T& OneOf(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Pick(0, static_cast<int>(items.size()) - 1))];
    }
    char OneOf(const std::string& chars) {
        return chars[static_cast<std::size_t>(Pick(0, static_cast<int>(chars.size()) - 1))];
    }

    std::string Expression(int depth) {
        if (depth <= 0) return Atom();
        switch (Pick(0, 9)) {
        case 0:
        case 1:
        case 2:
            return Expression(depth - 1) + OneOf(kBinary) + Expression(depth - 1);
        case 3:
            return Expression(depth - 1) + OneOf(kPostfix);
        case 4:
            return "(" + Expression(depth - 1) + ")";
        case 5:
            return OneOf(kFunctions) + "(" + Expression(depth - 1) + ")";
        case 6:
            return OneOf(kStackFunctions) + "()";
        case 7:
            return "if(" + Expression(depth - 1) + ")(" + Expression(depth - 1) + ")(" +
                   Expression(depth - 1) + ")";
        case 8:
            return OneOf(kDateFunctions) + "(" + OneOf(kDateTexts) + ")";
        default:
            return std::string(Chance(0.5) ? "-" : "+") + (Chance(0.3) ? " " : "") + Expression(depth - 1);
        }
    }

    std::string Atom() { return OneOf(kAtoms); }

    // Breaks the formula the way a typing slip would: a byte inserted, removed or replaced.
    void Mangle(std::string& formula) {
        const int edits = Pick(1, 3);
        for (int i = 0; i < edits; ++i) {
            const std::size_t at = static_cast<std::size_t>(Pick(0, static_cast<int>(formula.size())));
            const char byte = static_cast<char>(Pick(0, 255));
            switch (Pick(0, 2)) {
            case 0:
                formula.insert(formula.begin() + static_cast<std::ptrdiff_t>(at),
                               Chance(0.5) ? byte : OneOf("()"));
                break;
            case 1:
                if (at < formula.size()) formula.erase(at, 1);
                break;
            default:
                if (at < formula.size()) formula[at] = byte;
            }
        }
    }

    std::mt19937 random_;
};

// Evaluates one formula both ways the engine does and checks that each ends with a finite value
// or a known numbered error.
void ExpectValueOrNumberedError(Evaluator& ev, const std::string& formula) {
    const Outcome assigned = Assign(ev, formula);
    if (assigned.failed) {
        EXPECT_TRUE(kKnownErrors.count(assigned.error)) << assigned.error << " from \"" << formula << '"';
        EXPECT_FALSE(assigned.description.empty()) << formula;
    } else {
        EXPECT_TRUE(std::isfinite(assigned.value)) << formula;
    }
    try {
        EXPECT_TRUE(std::isfinite(ev.Evaluate())) << formula;
    } catch (const EvaluatorError& e) {
        EXPECT_TRUE(kKnownErrors.count(e.Number())) << e.Number() << " from \"" << formula << '"';
    }
}

void ConnectHost(Evaluator& ev, std::mt19937& random) {
    ev.QueryToken = [](const std::string& token, std::string& value) {
        if (token == "a") value = "2";
        if (token == "b") value = "a*3";
        if (token == "self") value = "self+1";
        if (token == "f") value = "sqr";
        if (token == "g") value = "pop";
    };
    ev.Plot = [](double, double) {};
    ev.Random = [&random] { return std::uniform_real_distribution<double>(0, 1)(random); };
    ev.Clock = [] { return EvaluatorClockTime{2026, 12, 10, 13, 4, 48}; };
}

} // namespace

TEST(EvaluatorRobustness, RandomFormulasGiveAValueOrANumberedError) {
    constexpr int kFormulas = 20000;
    const auto timeLimit = std::chrono::seconds(60);
    const auto slowLimit = kHangGuard;

    FormulaGenerator generator(20261210);
    std::mt19937 draws(7);
    Evaluator ev;
    ConnectHost(ev, draws);
    const auto start = Clock::now();
    int evaluated = 0;
    Clock::duration slowest{};
    std::string slowestFormula;
    for (; evaluated < kFormulas && Clock::now() - start < timeLimit; ++evaluated) {
        // Keep the stack in a few states: empty, short, and as the formulas leave it.
        if (evaluated % 64 == 0) (void)Assign(ev, "popall()");
        if (evaluated % 64 == 1) {
            for (const char* item : {"push(3)", "push(0)", "push(1)", "push(2)"})
                ev.SetFormula(item);
        }
        const std::string formula = generator.Next();
        const auto before = Clock::now();
        ExpectValueOrNumberedError(ev, formula);
        const auto took = Clock::now() - before;
        if (took > slowest) slowest = took, slowestFormula = formula;
    }
    EXPECT_LT(slowest, slowLimit) << "slowest formula: \"" << slowestFormula << '"';
    // The count is bounded by time too; on any machine most of the formulas must have run.
    EXPECT_GT(evaluated, kFormulas / 4);
    RecordProperty("formulas", evaluated);
}

TEST(EvaluatorRobustness, HostileShapesEndInBoundedTime) {
    const std::vector<std::string> formulas = {
        "1" + Repeat("+1", 500000),                       // very long and flat
        Repeat("-(", 100000) + "1" + Repeat(")", 100000), // very deep
        Repeat("(", 300000) + "1" + Repeat(")", 300000),  // deep brackets around it all
        Repeat("abs(", 1000) + "1" + Repeat(")", 1000),   // deep calls
        "1" + Repeat("!", 60),                            // each "!" evaluates twice
        "2" + Repeat("[2", 60),                           // each root evaluates twice
        Repeat("if(1)(", 300) + "1" + Repeat(")", 300),   // deep conditions
        Repeat("2^", 2000) + "2",                         // towers
        Repeat("push(1)+", 3000) + "num()",               // many pushes
        "self",                                           // a token that refers to itself
        Repeat(")(", 50000),                              // brackets in the wrong order
        std::string(100000, ' ') + "1",                   // blanks
        Repeat("--", 100000) + "1",                       // signs
        Repeat("1", 400) + "e-" + Repeat("9", 400),       // huge number words
        std::string("\0\xFF\x80\xB2(\xB0)", 7),           // odd bytes
        "days(" + Repeat("now", 200000) + ")",            // many clock readings in one date
    };
    std::mt19937 draws(3);
    for (const std::string& formula : formulas) {
        Evaluator ev;
        ConnectHost(ev, draws);
        const auto before = Clock::now();
        ExpectValueOrNumberedError(ev, formula);
        EXPECT_LT(Clock::now() - before, kHangGuard) << formula.substr(0, 40);
    }

    // An integral over a billion intervals is refused the same way.
    Evaluator ev;
    ConnectHost(ev, draws);
    for (const char* item : {"push(1e9)", "push(0)", "push(1)"})
        ev.SetFormula(item);
    for (const char* integrand : {"intg(x)", "intg(fact(2^50)+sum()+med())"}) {
        const auto before = Clock::now();
        EXPECT_EQ(Assign(ev, integrand).error, TooComplex) << integrand;
        EXPECT_LT(Clock::now() - before, kHangGuard) << integrand;
    }
    // Walking and growing the stack is charged as work too, so one formula cannot fill memory.
    EXPECT_LT(ev.StackItems().size(), 300000u);

    // So is every walk over a large prime table.
    for (const char* integrand : {"intg(fact(2))", "intg(prim(1e11))"}) {
        Evaluator large(true);
        large.SetPrimeTableSize(50000);
        for (const char* item : {"push(1e9)", "push(0)", "push(1)"})
            large.SetFormula(item);
        const auto before = Clock::now();
        EXPECT_EQ(Assign(large, integrand).error, TooComplex) << integrand;
        EXPECT_LT(Clock::now() - before, kHangGuard) << integrand;
    }
}

namespace {

struct DeepJob {
    std::string formula;
    Outcome outcome;
};

void* RunDeepJob(void* arg) {
    auto* job = static_cast<DeepJob*>(arg);
    Evaluator ev;
    ev.QueryToken = [](const std::string& token, std::string& value) {
        if (token == "t") value = "abs(t)";
    };
    for (const char* item : {"push(2)", "push(0)", "push(1)"})
        ev.SetFormula(item);
    job->outcome = Assign(ev, job->formula);
    return nullptr;
}

} // namespace

// The nesting limit must end a formula before the real stack does, also with the sanitizers'
// larger frames: every road into a deeper evaluation runs to the limit on a 1 MiB stack, an eighth
// of the main thread's usual size.
TEST(EvaluatorRobustness, DeepestNestingFitsInOneMebibyteOfStack) {
    const std::vector<std::pair<std::string, int>> formulas = {
        {Repeat("-(", 255) + "1" + Repeat(")", 255), 0},
        {Repeat("abs(", 255) + "1" + Repeat(")", 255), 0},
        {Repeat("if(1)(", 255) + "1" + Repeat(")", 255), 0},
        {Repeat("push(", 255) + "1" + Repeat(")", 255), 0},
        {"intg(" + Repeat("abs(", 254) + "x" + Repeat(")", 255), 0},
        {"1" + Repeat("+1", 255), 0},
        {"t", TooComplex},
        {Repeat("abs(", 300) + "1" + Repeat(")", 300), TooComplex},
        {Repeat("arccos(sin(", 110) + "0.5" + Repeat(")", 220), 0},
    };
    for (const auto& [formula, error] : formulas) {
        DeepJob job{formula, {}};
        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        pthread_attr_setstacksize(&attributes, 1024 * 1024);
        pthread_t thread;
        ASSERT_EQ(pthread_create(&thread, &attributes, RunDeepJob, &job), 0);
        pthread_join(thread, nullptr);
        pthread_attr_destroy(&attributes);
        EXPECT_EQ(job.outcome.error, error) << formula.substr(0, 24) << ": " << job.outcome.description;
    }
}
