// The evaluator's prime table: the first primes in ascending order, built on first use by trial
// division with the primes already found, and the prime search and factorisation that read it.
#include "services/Evaluator.h"

#include "services/EvaluatorMath.h"

#include <cmath>

namespace {

using namespace evaluator_errors;
using evaluator_math::Raise;

} // namespace

void Evaluator::BuildPrimeTable() {
    if (state_.primeTableBuilt) return;
    state_.primes.assign({2, 3});
    state_.primes.reserve(static_cast<std::size_t>(state_.primeTableSize) + 1);
    FillPrimeTable(5);
    state_.primeTableBuilt = true;
}

// The candidates are the odd numbers from the one at or above start. Each is divided by the
// table's primes from 3 upward (so 3 itself counts as composite) until a prime divides it or
// the quotient falls below the prime. While the table is not full, primes found fill it;
// once full, the first prime found is the result. A candidate at or above the square of the
// table's last prime cannot be decided, which raises error 215.
std::int64_t Evaluator::FillPrimeTable(double start) {
    const std::size_t capacity = static_cast<std::size_t>(state_.primeTableSize) + 1;
    const double last = static_cast<double>(state_.primes.back());
    if (state_.primes.size() == capacity && !(start < last * last)) Raise(PrimeTableTooSmall);
    const auto n = static_cast<std::int64_t>(start);
    for (std::int64_t c = 2 * (n / 2) + 1;; c += 2) {
        bool prime = false;
        bool decided = false;
        std::size_t i = 1;
        for (; i < state_.primes.size() && !decided; ++i) {
            const std::int64_t p = state_.primes[i];
            if (c % p == 0) {
                decided = true;
            } else if (c < p * p) {
                decided = prime = true;
            }
        }
        // A search is charged as work, so that a large table searched over and over cannot stall
        // a formula; building the table runs once and is not.
        if (state_.primes.size() == capacity) CountWork(i);
        if (!decided) Raise(PrimeTableTooSmall);
        if (!prime) continue;
        if (state_.primes.size() < capacity) state_.primes.push_back(c);
        if (state_.primes.size() == capacity) return c;
    }
}

double Evaluator::Factorise(double a) {
    double n = std::trunc(a);
    if (n == 0) return 0;
    BuildPrimeTable();
    CountWork(state_.primes.size()); // the walk over the whole table
    const std::size_t before = state_.stack.size();
    double count = 1;
    bool reachedOne = false;
    for (std::size_t i = state_.primes.size(); i-- > 0 && !reachedOne;) {
        const double p = static_cast<double>(state_.primes[i]);
        while (!reachedOne) {
            const double quotient = n / p;
            if (std::floor(quotient) != quotient) break;
            CountWork(0); // a huge power pushes a thousand factors
            state_.stack.push_back(p);
            count += 1;
            n = quotient;
            reachedOne = quotient == 1;
        }
    }
    if (!reachedOne) {
        state_.stack.resize(before);
        Raise(PrimeTableTooSmall);
    }
    state_.stack.push_back(n);
    return count;
}
