// What the evaluator tests share: the outcome of one formula (a value or an error number) and a
// matcher for tables of cases.
#pragma once

#include "services/Evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace evaluator_test {

struct Outcome {
    bool failed = false;
    double value = 0;
    int error = 0;
    std::string description;
};

// Assigns the formula as the engine's callers do, catching the error it raises.
inline Outcome Assign(Evaluator& ev, const std::string& formula) {
    Outcome outcome;
    try {
        ev.SetFormula(formula);
        outcome.value = ev.Result();
    } catch (const EvaluatorError& e) {
        outcome.failed = true;
        outcome.error = e.Number();
        outcome.description = e.Description();
    }
    return outcome;
}

// One row of a table: a formula and either its value or, when error is not 0, its error number.
struct Case {
    std::string formula;
    double value;
    int error = 0;
};

inline std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << '"' << c.formula << '"';
}

// The part written `count` times in a row, for long and deeply nested formulas.
inline std::string Repeat(const std::string& part, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

// Checks one row; values agree to 1e-9 relative (or absolute near 0).
inline void ExpectCase(const Case& c, const Outcome& got) {
    if (c.error != 0) {
        EXPECT_TRUE(got.failed) << c << " gave " << got.value << ", expected error " << c.error;
        EXPECT_EQ(got.error, c.error) << c << " (" << got.description << ")";
        return;
    }
    ASSERT_FALSE(got.failed) << c << " failed with " << got.error << " " << got.description;
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(c.value));
    EXPECT_NEAR(got.value, c.value, tolerance) << c;
}

} // namespace evaluator_test
