// The evaluator's checked arithmetic: every fault (division by zero, overflow, an argument out of
// a function's domain) raises its numbered error instead of giving infinity or not-a-number.
#pragma once

#include "services/Evaluator.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace evaluator_math {

// Raises an error with its standard description, or with the one given.
[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, const std::string& description);

// The value itself when it is finite; error 6 otherwise.
double Finite(double value);

// Rounded to a 32-bit integer, halves to even; error 6 when it does not fit.
std::int32_t ToInt32(double value);

double Divide(double a, double b);
double IntegerQuotient(double a, double b);
double IntegerRemainder(double a, double b);
// a raised to b; the real odd root of a negative base when 1/b is a whole odd number.
double Power(double a, double b);
double NaturalLog(double a);
double SquareRoot(double a);
// a in proportion to b, clamped to 0..1.
double Proportion(double a, double b);
double Factorial(double a);

// The word in lower case, as function and constant names are compared.
std::string LowerWord(std::string_view word);

} // namespace evaluator_math
