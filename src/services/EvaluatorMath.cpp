#include "services/EvaluatorMath.h"

#include "platform/Codec.h"

#include <cmath>
#include <limits>

namespace evaluator_math {

using namespace evaluator_errors;

namespace {

const char* StandardDescription(int number) {
    switch (number) {
    case InvalidArgument:
        return "Invalid procedure call or argument";
    case Overflow:
        return "Overflow";
    case SubscriptOutOfRange:
        return "Subscript out of range";
    case NoPreviousResult:
        return "No previous result available";
    case DivisionByZero:
        return "Division by zero";
    case TypeMismatch:
        return "Type mismatch";
    case TooComplex:
        return "Formula too complex or singularity in formula";
    case BracketsNotPaired:
        return "Brackets are not paired";
    case ExtraCharacters:
        return "Extra characters found";
    case MissingOperand:
        return "Missing operand or argument";
    case NotEnoughItems:
        return "Not enough items on stack";
    case NestedCalculus:
        return "Integral and differential calculations cannot be nested";
    case ZeroIntervals:
        return "Number of Intervals cannot be zero in Integral";
    case PrimeTableTooSmall:
        return "Cannot return result - size of prime table is insufficient";
    case LockedAtRuntime:
        return "Property is locked at runtime";
    case InvalidPropertyValue:
        return "Invalid property value";
    default:
        return "Application-defined or object-defined error";
    }
}

bool IsWhole(double v) {
    return std::floor(v) == v;
}

} // namespace

void Raise(int number) {
    throw EvaluatorError(number, StandardDescription(number));
}

void Raise(int number, const std::string& description) {
    throw EvaluatorError(number, description);
}

double Finite(double value) {
    if (!std::isfinite(value)) Raise(Overflow);
    return value;
}

std::int32_t ToInt32(double value) {
    const double rounded = std::nearbyint(value); // to nearest, ties to even
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        Raise(Overflow);
    return static_cast<std::int32_t>(rounded);
}

double Divide(double a, double b) {
    if (b == 0) Raise(DivisionByZero);
    return Finite(a / b);
}

double IntegerQuotient(double a, double b) {
    const std::int64_t x = ToInt32(a);
    const std::int64_t y = ToInt32(b);
    if (y == 0) Raise(DivisionByZero);
    // The one quotient that leaves 32 bits: the smallest integer divided by -1.
    const std::int64_t q = x / y;
    if (q > std::numeric_limits<std::int32_t>::max()) Raise(Overflow);
    return static_cast<double>(q);
}

double IntegerRemainder(double a, double b) {
    const std::int64_t x = ToInt32(a);
    const std::int64_t y = ToInt32(b);
    if (y == 0) Raise(DivisionByZero);
    return static_cast<double>(x % y);
}

double Power(double a, double b) {
    if (a < 0 && b != 0) {
        const double inverse = 1 / b;
        if (std::isfinite(inverse) && IsWhole(inverse) && std::fmod(inverse, 2) != 0)
            return -Finite(std::pow(-a, b));
        if (!IsWhole(b)) Raise(InvalidArgument);
    }
    if (a == 0 && b < 0) Raise(DivisionByZero);
    return Finite(std::pow(a, b));
}

double NaturalLog(double a) {
    if (!(a > 0)) Raise(InvalidArgument);
    return std::log(a);
}

double SquareRoot(double a) {
    if (a < 0) Raise(InvalidArgument);
    return std::sqrt(a);
}

double Proportion(double a, double b) {
    if (b >= 0) {
        if (a >= b) return 1;
        return a >= 0 ? std::fabs(a / b) : 0;
    }
    if (a <= b) return 1;
    return a <= 0 ? std::fabs(a / b) : 0;
}

double Factorial(double a) {
    const double n = std::floor(a);
    if (n < 0) Raise(InvalidArgument);
    // 171! is beyond the largest double.
    if (n > 170) Raise(Overflow);
    double product = 1;
    for (int k = 2; k <= static_cast<int>(n); ++k)
        product *= k;
    return product;
}

std::string LowerWord(std::string_view word) {
    return platform::AnsiLower(std::string(word));
}

} // namespace evaluator_math
