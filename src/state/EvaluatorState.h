// What an evaluator keeps from one formula to the next: the last and previous results, the
// stored formula, the value stack and the prime table. The model holds the state of the table's
// one evaluator, so that a fresh model starts it afresh; the evaluator itself is a service
// (services/Evaluator.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EvaluatorState {
    double result = 0;
    double previousResult = 0;
    // Whether a formula other than a push formula was evaluated: "pr" needs one.
    bool previousResultValid = false;
    std::string formula;
    std::vector<double> stack; // the top is the last element
    std::int32_t primeTableSize = 255;
    std::vector<std::int64_t> primes;
    bool primeTableBuilt = false;
};
