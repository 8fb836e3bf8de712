// The formula evaluator: computes the value of a dice or effect formula written as text, keeps the
// last and previous results, a value stack that formulas push to and read from, and a table of
// primes. Errors end the whole evaluation and reach the caller as a numbered EvaluatorError.
#pragma once

#include "state/EvaluatorState.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A numbered evaluation error; the number and description are what the caller reports.
class EvaluatorError : public std::runtime_error {
  public:
    EvaluatorError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }
    std::string Description() const { return what(); }

  private:
    int number_;
};

// Error numbers. The first four are the numbers the runtime gives arithmetic faults.
namespace evaluator_errors {
constexpr int InvalidArgument = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int NoPreviousResult = 10;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int TooComplex = 28;
constexpr int BracketsNotPaired = 206;
constexpr int ExtraCharacters = 207;
constexpr int MissingOperand = 208;
constexpr int NotEnoughItems = 209;
constexpr int NestedCalculus = 211;
constexpr int ZeroIntervals = 213;
constexpr int NoTokenValue = 214;
constexpr int PrimeTableTooSmall = 215;
constexpr int LockedAtRuntime = 216;
constexpr int InvalidPropertyValue = 380;
} // namespace evaluator_errors

// A local date and time, as the clock gives it to "now".
struct EvaluatorClockTime {
    int year;
    int month; // 1..12
    int day;   // 1..31
    int hour;
    int minute;
    int second;
};

class Evaluator {
  public:
    // A design-time evaluator may change PrimeTableSize; the running engine's may not. The first
    // keeps its state itself; the second works on a state kept elsewhere, which outlives it.
    explicit Evaluator(bool designTime = false);
    explicit Evaluator(EvaluatorState& state, bool designTime = false);
    // A copy would share the state of the one it was copied from.
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    // Stores the trimmed formula, evaluates it and carries out the stack actions it marked.
    // Unless the formula starts with "push", the old Result becomes PreviousResult first.
    void SetFormula(const std::string& nwFormula);
    const std::string& Formula() const { return state_.formula; }

    // Re-evaluates the stored formula; moves nothing into PreviousResult and carries out no
    // pending pop.
    double Evaluate();

    double Result() const { return state_.result; }
    double PreviousResult() const { return state_.previousResult; }

    // At run time any change raises error 216. At design time a size below 10 counts as 10, one
    // above 200,000 raises error 380, and the prime table is rebuilt on its next use.
    void SetPrimeTableSize(std::int32_t nwSize);
    std::int32_t PrimeTableSize() const { return state_.primeTableSize; }

    // The value stack, top first (for the host and for tests).
    std::vector<double> StackItems() const { return {state_.stack.rbegin(), state_.stack.rend()}; }

    // Asked for the value of every name that is not a number, constant or function; the handler
    // writes formula text into `value` (empty when it has none, which gives error 214). Handlers
    // run inside an evaluation and must not call SetFormula or Evaluate of the same evaluator.
    std::function<void(const std::string& token, std::string& value)> QueryToken;
    // Raised at the sample points of "intg" with the point and the integrand's value there.
    std::function<void(double x, double value)> Plot;
    // The random source: values in [0, 1). Defaults to the program's one generator.
    std::function<double()> Random;
    // The local date and time for "now". Defaults to the system clock.
    std::function<EvaluatorClockTime()> Clock;

    // The grammar's entry points, public so that the parts of the unit and its tests reach them.
    double EvaluateExpression(std::string_view text);
    // Normalised text (signs folded, blanks dropped, "," read as the decimal point, outer brackets
    // and a leading "+" removed); error 206 when the bracket counts differ.
    static std::string NormaliseFormula(std::string_view text);
    // The 1-based position of the ")" closing the "(" at position 1; 1 when the text does not
    // start with "("; error 206 when it is never closed.
    static std::size_t MatchBracket(std::string_view text);

  private:
    struct Normalised;
    static void Normalise(std::string_view text, Normalised& out);
    static void CheckBalanced(std::string_view text);

    void StartEvaluation();
    // Charges one step over `size` characters or stack items; error 28 once the budget is spent.
    void CountWork(std::size_t size);
    double ApplyBinary(char op, std::string_view leftText, std::string_view rightText, double a, double b);
    double ApplyPostfix(char op, std::string_view operandText, double a);
    double EvaluateAtom(std::string_view text);
    double EvaluateNumberOrName(std::string_view word);
    double EvaluateToken(const std::string& name, std::string_view suffix);

    // Functions, the stack and calculus (EvaluatorFunctions.cpp).
    using Handler = double (*)(Evaluator&, std::string_view);
    static const std::unordered_map<std::string_view, Handler>& FunctionTable();
    double CallFunction(const std::string& name, std::string_view word, std::string_view args);
    double DrawRandom();
    double Element(double position) const;
    double StackTop() const;
    // The stack for a function that walks all of it, the walk charged as work; NonEmptyStack
    // raises error 209 when there is nothing to walk.
    const std::vector<double>& WalkStack();
    const std::vector<double>& NonEmptyStack();
    double Differentiate(std::string_view integrand);
    double Integrate(std::string_view integrand);
    double Condition(std::string_view groups);
    double Variance(bool sample);
    double Regression(bool correlation);
    double CommonDivisor();
    double CommonMultiple();

    // The prime table (EvaluatorPrimes.cpp), built when first needed.
    void BuildPrimeTable();
    // The prime search from `start`; fills the table while it is not full.
    std::int64_t FillPrimeTable(double start);
    double Factorise(double a);

    bool designTime_;
    EvaluatorState ownState_;
    EvaluatorState& state_;
    // Each evaluation starts these afresh.
    double integrationVariable_ = 0;
    std::int32_t nestingDepth_ = 0;
    std::uint32_t pendingStackAction_ = 0;
    bool calculusActive_ = false;
    std::uint64_t workDone_ = 0;
};

// The table's one evaluator, which dice and card effects share; its state lives in the model.
extern Evaluator& ev;
