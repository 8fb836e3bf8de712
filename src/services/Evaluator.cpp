// The evaluator's public face and its grammar: normalisation, the split at the loosest operator,
// the operators and the atoms. There is no syntax tree: every level works on a sub-text.
#include "services/Evaluator.h"

#include "services/EvaluatorMath.h"
#include "state/Helpers.h"
#include "state/Model.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

namespace {

using namespace evaluator_errors;
using evaluator_math::Finite;
using evaluator_math::Raise;

// A deeper evaluation than this is refused with error 28 rather than run out of stack.
constexpr std::int32_t kMaxNestingDepth = 256;
// Each evaluation of a text costs its length plus this; past the budget a formula is too complex
// (operators such as "[" and "!" evaluate their operands again, which doubles the work per level).
constexpr std::uint64_t kCallCost = 32;
constexpr std::uint64_t kWorkBudget = 8'000'000;

// Formulas may use either character as the decimal point; numbers are read with ".".
constexpr char kSeparatorToReplace = ',';
constexpr char kSeparator = '.';

bool IsSign(char c) {
    return c == '+' || c == '-';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int OperatorLevel(char c) {
    switch (c) {
    case '|':
    case ';':
        return 21;
    case '&':
        return 20;
    case ':':
        return 19;
    case '<':
    case '=':
    case '>':
    case '{':
    case '}':
        return 18;
    case '+':
    case '-':
        return 17;
    case '*':
    case '/':
    case '\\':
    case ']':
        return 16;
    case '^':
        return 15;
    case '#':
    case '[':
        return 14;
    case '!':
    case '%':
    case '\xB0':
    case '\xB2':
    case '\xB3':
    case '\'':
    case '"':
        return 1;
    default:
        return 0;
    }
}

// The number notation of a whole word: digits with at most one decimal point (at least one digit)
// and an optional exponent of "e" or "E", a sign and digits.
bool IsNumberWord(std::string_view word) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < word.size() && IsDigit(word[i]))
        ++i, ++digits;
    if (i < word.size() && word[i] == kSeparator) {
        ++i;
        while (i < word.size() && IsDigit(word[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i == word.size()) return true;
    if (word[i] != 'e' && word[i] != 'E') return false;
    ++i;
    if (i < word.size() && IsSign(word[i])) ++i;
    std::size_t expDigits = 0;
    while (i < word.size() && IsDigit(word[i]))
        ++i, ++expDigits;
    return expDigits > 0 && i == word.size();
}

// The decimal exponent of a number word's leading digit, to tell an overflow from an underflow.
long DecimalMagnitude(std::string_view word) {
    long magnitude = 0;
    bool seenNonZero = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < word.size() && word[i] != 'e' && word[i] != 'E'; ++i) {
        if (word[i] == kSeparator) {
            afterPoint = true;
        } else if (!seenNonZero && word[i] != '0') {
            seenNonZero = true;
            if (afterPoint) --magnitude;
        } else if (seenNonZero && !afterPoint) {
            ++magnitude;
        } else if (!seenNonZero && afterPoint) {
            --magnitude;
        }
    }
    if (i < word.size()) {
        long exponent = 0;
        bool negative = false;
        for (++i; i < word.size(); ++i) {
            if (word[i] == '-') negative = true;
            if (IsDigit(word[i])) exponent = std::min(exponent * 10 + (word[i] - '0'), 100000L);
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

double ReadNumber(std::string_view word) {
    double value = 0;
    auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small a number is 0; too large a one cannot be held.
        if (DecimalMagnitude(word) < 0) return 0;
        Raise(Overflow);
    }
    return value;
}

EvaluatorClockTime SystemClock() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

bool IsPushFormula(const std::string& formula) {
    if (formula.size() < 4) return false;
    return evaluator_math::LowerWord(std::string_view(formula).substr(0, 4)) == "push";
}

} // namespace

struct Evaluator::Normalised {
    std::string owned;
    std::string_view text;
};

Evaluator::Evaluator(bool designTime) : Evaluator(ownState_, designTime) {}

Evaluator::Evaluator(EvaluatorState& state, bool designTime) : designTime_(designTime), state_(state) {
    Random = NextRandom;
    Clock = SystemClock;
}

void Evaluator::SetFormula(const std::string& nwFormula) {
    state_.formula = StripBlanks(nwFormula);
    const bool push = IsPushFormula(state_.formula);
    if (!push) state_.previousResult = state_.result;
    pendingStackAction_ = 0;
    state_.result = Evaluate();
    if (pendingStackAction_ & 2) {
        state_.stack.clear();
    } else if ((pendingStackAction_ & 1) && !state_.stack.empty()) {
        state_.stack.pop_back();
    }
    if (!push) state_.previousResultValid = true;
}

double Evaluator::Evaluate() {
    StartEvaluation();
    state_.result = EvaluateExpression(state_.formula);
    return state_.result;
}

void Evaluator::StartEvaluation() {
    nestingDepth_ = 0;
    calculusActive_ = false;
    workDone_ = 0;
}

void Evaluator::SetPrimeTableSize(std::int32_t nwSize) {
    if (nwSize == state_.primeTableSize) return;
    if (!designTime_) Raise(LockedAtRuntime);
    if (nwSize > 200000) Raise(InvalidPropertyValue);
    state_.primeTableSize = std::max<std::int32_t>(nwSize, 10);
    state_.primes.clear();
    state_.primeTableBuilt = false;
}

void Evaluator::CountWork(std::size_t size) {
    workDone_ += size + kCallCost;
    if (workDone_ > kWorkBudget) Raise(TooComplex);
}

std::size_t Evaluator::MatchBracket(std::string_view text) {
    if (text.empty() || text[0] != '(') return 1;
    std::size_t depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')') {
            if (--depth == 0) return i + 1;
        }
    }
    Raise(BracketsNotPaired);
}

void Evaluator::CheckBalanced(std::string_view text) {
    long count = 0;
    for (char c : text) {
        if (c == '(') ++count;
        if (c == ')') --count;
    }
    if (count != 0) Raise(BracketsNotPaired);
}

namespace {

// Removes a leading "+" and a pair of brackets around the whole text, as often as they occur.
// The first pair is found by a walk; only texts with several nested pairs pay for a table of
// matches, so that stripping stays linear in the text's length.
std::string_view StripOuter(std::string_view t) {
    while (!t.empty() && t[0] == '+')
        t.remove_prefix(1);
    if (t.size() < 2 || t[0] != '(' || t.back() != ')') return t;
    if (Evaluator::MatchBracket(t) != t.size()) return t;
    t = t.substr(1, t.size() - 2);
    if (t.empty() || (t[0] != '(' && t[0] != '+')) return t;

    std::vector<std::uint32_t> closing(t.size(), 0);
    std::vector<std::uint32_t> open;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '(') {
            open.push_back(static_cast<std::uint32_t>(i));
        } else if (t[i] == ')' && !open.empty()) {
            closing[open.back()] = static_cast<std::uint32_t>(i);
            open.pop_back();
        }
    }
    std::size_t lo = 0;
    std::size_t hi = t.size(); // one past the end
    while (lo < hi) {
        if (t[lo] == '+') {
            ++lo;
        } else if (t[lo] == '(' && closing[lo] == hi - 1 && closing[lo] != 0) {
            ++lo;
            --hi;
        } else {
            break;
        }
    }
    return t.substr(lo, hi - lo);
}

} // namespace

void Evaluator::Normalise(std::string_view text, Normalised& out) {
    bool unchanged = true;
    long count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') ++count;
        if (c == ')') --count;
        if (c == ' ' || c == kSeparatorToReplace || (i > 0 && IsSign(c) && IsSign(text[i - 1])))
            unchanged = false;
    }
    if (unchanged) {
        if (count != 0) Raise(BracketsNotPaired);
        out.text = text;
    } else {
        out.owned.clear();
        out.owned.reserve(text.size());
        for (char c : text) {
            if (IsSign(c) && !out.owned.empty() && IsSign(out.owned.back())) {
                // Two signs in a row fold into one: equal signs make "+", different ones "-".
                out.owned.back() = out.owned.back() == c ? '+' : '-';
                continue;
            }
            if (c == kSeparatorToReplace) c = kSeparator;
            if (c != ' ') out.owned.push_back(c);
        }
        out.text = out.owned;
        CheckBalanced(out.text);
    }
    out.text = StripOuter(out.text);
}

std::string Evaluator::NormaliseFormula(std::string_view text) {
    Normalised n;
    Normalise(text, n);
    return std::string(n.text);
}

double Evaluator::EvaluateExpression(std::string_view text) {
    if (nestingDepth_ >= kMaxNestingDepth) Raise(TooComplex);
    ++nestingDepth_;
    CountWork(text.size());

    Normalised normalised;
    Normalise(text, normalised);
    const std::string_view t = normalised.text;
    if (t.empty() && nestingDepth_ == 1) {
        --nestingDepth_;
        return 0;
    }

    // Find the split: the rightmost operator of the loosest level outside brackets.
    std::size_t split = std::string_view::npos;
    int splitLevel = 0;
    bool signIsUnary = true;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '(') {
            i += MatchBracket(t.substr(i)) - 1;
            signIsUnary = false;
            continue;
        }
        const int level = OperatorLevel(c);
        if (IsSign(c) && signIsUnary) continue;
        if (level >= 14) {
            if (level >= splitLevel) split = i, splitLevel = level;
            signIsUnary = true;
        } else if (level == 1) {
            if (splitLevel <= 1) split = i, splitLevel = level;
            signIsUnary = false;
        } else if (c == 'e' || c == 'E') {
            signIsUnary = i > 0 && IsDigit(t[i - 1]);
        } else {
            signIsUnary = false;
        }
    }

    double value;
    if (split == std::string_view::npos) {
        value = EvaluateAtom(t);
    } else {
        const std::string_view left = t.substr(0, split);
        const std::string_view right = t.substr(split + 1);
        const char op = t[split];
        if (left.empty()) Raise(MissingOperand);
        if (splitLevel == 1) {
            if (!right.empty()) Raise(ExtraCharacters);
            value = ApplyPostfix(op, left, EvaluateExpression(left));
        } else {
            if (right.empty()) Raise(MissingOperand);
            const double a = EvaluateExpression(left);
            const double b = EvaluateExpression(right);
            value = ApplyBinary(op, left, right, a, b);
        }
    }
    --nestingDepth_;
    return value;
}

double Evaluator::ApplyBinary(char op, std::string_view leftText, std::string_view rightText, double a,
                              double b) {
    using namespace evaluator_math;
    switch (op) {
    case '+':
        return Finite(a + b);
    case '-':
        return Finite(a - b);
    case '*':
        return Finite(a * b);
    case '/':
        return Divide(a, b);
    case '\\':
        return IntegerQuotient(a, b);
    case ']':
        return IntegerRemainder(a, b);
    case '^':
        return Power(a, b);
    case '[': {
        // The root is the power with the reciprocal exponent, built from the operands' texts.
        std::string root(rightText);
        root += "^(1/";
        root += leftText;
        root += ')';
        return EvaluateExpression(root);
    }
    case '#':
        return Divide(NaturalLog(b), NaturalLog(a));
    case '=':
        return a == b ? -1 : 0;
    case '<':
        return a < b ? -1 : 0;
    case '>':
        return a > b ? -1 : 0;
    case '{':
        return a < b ? a : b;
    case '}':
        return a > b ? a : b;
    case '&':
        return Finite(a * b);
    case '|':
        return Finite(1 - (1 - a) * (1 - b));
    case ';':
        return ((a != 0) != (b != 0)) ? -1 : 0;
    case ':':
        return Proportion(a, b);
    default:
        Raise(MissingOperand);
    }
}

double Evaluator::ApplyPostfix(char op, std::string_view operandText, double a) {
    using namespace evaluator_math;
    const double quarterPi = std::atan(1.0);
    switch (op) {
    case '!': {
        std::string factorial = "fac(";
        factorial += operandText;
        factorial += ')';
        return EvaluateExpression(factorial);
    }
    case '%':
        return a / 100;
    case '\xB2':
        return Power(a, 2);
    case '\xB3':
        return Power(a, 3);
    case '\xB0':
        return Finite(quarterPi * a / 45);
    case '\'':
        return Finite(quarterPi * a / 2700);
    default: // the double quote: seconds of arc
        return Finite(quarterPi * a / 162000);
    }
}

double Evaluator::EvaluateAtom(std::string_view text) {
    if (!text.empty() && text[0] == '-') return -EvaluateExpression(text.substr(1));
    const std::size_t bracket = text.find('(');
    if (bracket == std::string_view::npos) return EvaluateNumberOrName(text);
    const std::string_view word = text.substr(0, bracket);
    return CallFunction(evaluator_math::LowerWord(word), word, text.substr(bracket));
}

double Evaluator::EvaluateNumberOrName(std::string_view word) {
    if (IsNumberWord(word)) return ReadNumber(word);
    const std::string lower = evaluator_math::LowerWord(word);
    if (lower == "x" && calculusActive_) return integrationVariable_;
    if (lower == "pr") {
        if (!state_.previousResultValid) Raise(NoPreviousResult);
        return state_.previousResult;
    }
    if (lower == "pi") return 4 * std::atan(1.0);
    if (lower == "e") return std::exp(1.0);
    return EvaluateToken(std::string(word), {});
}

double Evaluator::EvaluateToken(const std::string& name, std::string_view suffix) {
    if (name.empty()) Raise(MissingOperand);
    std::string value;
    if (QueryToken) QueryToken(name, value);
    if (value.empty()) Raise(NoTokenValue, "No value for token '" + name + "'");
    value += suffix;
    return EvaluateExpression(value);
}

namespace {

Evaluator g_tableEvaluator(Model().evaluatorState);

} // namespace

Evaluator& ev = g_tableEvaluator;
