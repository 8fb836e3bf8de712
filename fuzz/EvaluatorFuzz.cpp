// The formula evaluator on any formulas, one evaluator for up to four formulas a line each (the
// value stack carries over). Errors are the evaluator's numbered errors, nothing else.
#include "FuzzSupport.h"

#include "services/Evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Evaluator evaluator;
    evaluator.Random = [] { return 0.5; };
    evaluator.Clock = [] { return EvaluatorClockTime{2026, 12, 10, 12, 0, 0}; };
    evaluator.QueryToken = [](const std::string& token, std::string& value) {
        // Names stand for small formulas of their own, one of them naming itself.
        if (token == "a")
            value = "2";
        else if (token == "b")
            value = "a*3";
        else if (token == "c")
            value = "c+1";
        else
            value.clear();
    };
    for (const std::string& formula : fuzzsupport::Split(data, size, "\n", 4)) {
        try {
            evaluator.SetFormula(formula);
            evaluator.Evaluate();
        } catch (const EvaluatorError&) {
        }
    }
    return 0;
}
