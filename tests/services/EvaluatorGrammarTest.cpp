// The formula grammar: operators and their levels, signs, postfix operators, brackets, numbers,
// constants, tokens and the errors of each, as one table; then nesting limits and normalisation.
#include "EvaluatorTestSupport.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

using evaluator_test::Assign;
using evaluator_test::Case;
using evaluator_test::ExpectCase;
using evaluator_test::Repeat;
using namespace evaluator_errors;

namespace {

const double kPi = std::acos(-1.0);
const double kE = std::exp(1.0);

} // namespace

TEST(EvaluatorGrammar, FormulasGiveTheirValueOrErrorNumber) {
    const std::vector<Case> cases = {
        // Levels: the loosest operator splits, equal levels associate to the left.
        {"2+3*4", 14},
        {"(2+3)*4", 20},
        {"8-3-2", 3},
        {"2^3^2", 64},
        {"2*3^2", 18},
        {"2^3*2", 16},
        {"1+2<4", -1},
        {"1|0&0", 1},
        {"0&1:2", 0},
        {"2#8^2", 9},
        {"12/3/2", 2},
        {"2*3!", 12},
        {"3!*2", 12},
        // Signs.
        {"2*-3", -6},
        {"2^-1", 0.5},
        {"-3+5", 2},
        {"--3", 3},
        {"+-3", -3},
        {"- - 3", 3},
        {"-2^2", 4},
        {"-(2+3)", -5},
        {"2--3", 5},
        {"2+-3", -1},
        // Numbers, either decimal separator, exponents.
        {"1.5e3", 1500},
        {"1,5E3", 1500},
        {"3,5", 3.5},
        {"3.5", 3.5},
        {".5", 0.5},
        {"2e-3", 0.002},
        {"1.5E+2", 150},
        {"1e-999", 0},
        {"1e999", 0, Overflow},
        // Constants.
        {"e-1", kE - 1},
        {"2*e", 2 * kE},
        {"2*e-1", 2 * kE - 1},
        {"E", kE},
        {"pi", kPi},
        {"PI/2", kPi / 2},
        // Binary operators.
        {"7\\2", 3},
        {"-7\\2", -3},
        {"7]3", 1},
        {"-7]3", -1},
        {"2.5\\1", 2},
        {"3.5\\1", 4},
        {"3<5", -1},
        {"5<3", 0},
        {"5>3", -1},
        {"3=3", -1},
        {"3=4", 0},
        {"2{3", 2},
        {"2}3", 3},
        {"5:10", 0.5},
        {"12:10", 1},
        {"-1:10", 0},
        {"-5:-10", 0.5},
        {"-12:-10", 1},
        {"1:-10", 0},
        {"1;0", -1},
        {"1;1", 0},
        {"0;0", 0},
        {"0.5&0.5", 0.25},
        {"0.5|0.5", 0.75},
        {"2#8", 3},
        {"3[8", 2},
        {"(-8)^(1/3)", -2},
        {"(-2)^3", -8},
        {"(-2)^0", 1},
        {"0^0", 1},
        // Postfix operators.
        {"5!", 120},
        {"5!+1", 121},
        {"5!!", std::tgamma(121.0)},
        {"50%", 0.5},
        {"3\xB2", 9},
        {"2\xB3", 8},
        {"(-2)\xB2", 4},
        {"180\xB0", kPi},
        {"60'", kPi / 180},
        {"3600\"", kPi / 180},
        // Brackets and blanks.
        {"((((2))))", 2},
        {"+(+(3))", 3},
        {"  2 + 3  ", 5},
        {"", 0},
        {"   ", 0},
        // Grammar errors.
        {"3!2", 0, ExtraCharacters},
        {"5!(1)", 0, ExtraCharacters},
        {"(2)3", 0, MissingOperand},
        {"5+", 0, MissingOperand},
        {"*5", 0, MissingOperand},
        {"1<=2", 0, MissingOperand},
        {"1<>2", 0, MissingOperand},
        {"()", 0},
        {"!", 0, MissingOperand},
        {"(1+2", 0, BracketsNotPaired},
        {"1+2)", 0, BracketsNotPaired},
        {")(", 0, BracketsNotPaired},
        {"1)+(2", 0, BracketsNotPaired},
        {"pr", 0, NoPreviousResult},
        {"unknown", 0, NoTokenValue},
        {"x", 0, NoTokenValue},
        // Arithmetic faults end with the runtime's numbers, never infinity or not-a-number.
        {"1/0", 0, DivisionByZero},
        {"0/0", 0, DivisionByZero},
        {"1\\0", 0, DivisionByZero},
        {"1]0", 0, DivisionByZero},
        {"7]0.4", 0, DivisionByZero},
        {"0^-1", 0, DivisionByZero},
        {"1#8", 0, DivisionByZero},
        {"1e308*10", 0, Overflow},
        {"-1e308-1e308", 0, Overflow},
        {"2^1024", 0, Overflow},
        {"3000000000\\1", 0, Overflow},
        {"1]3000000000", 0, Overflow},
        {"-2147483648\\-1", 0, Overflow},
        {"(-2)^0.5", 0, InvalidArgument},
        {"0#8", 0, InvalidArgument},
        {"2#-8", 0, InvalidArgument},
        {"171!", 0, Overflow},
        {"(-1)!", 0, InvalidArgument},
        {"1e200\xB2", 0, Overflow},
    };
    for (const Case& c : cases) {
        Evaluator ev;
        ExpectCase(c, Assign(ev, c.formula));
    }
}

TEST(EvaluatorGrammar, TokensAskTheHostAndEvaluateTheAnswer) {
    const std::map<std::string, std::string> values = {
        {"a", "2+3"}, {"f", "sqr"}, {"Self", "Self+1"}, {"Hp", "10"}, {"empty", ""}};
    std::vector<std::string> asked;
    Evaluator ev;
    ev.QueryToken = [&](const std::string& token, std::string& value) {
        asked.push_back(token);
        const auto it = values.find(token);
        if (it != values.end()) value = it->second;
    };
    const std::vector<Case> cases = {
        {"a*2", 10}, // the value is a formula of its own, evaluated before the product
        {"f(9)", 3}, // a name that is no function puts its value before the brackets
        {"Hp-1", 9}, // the name is passed as written
        {"hp", 0, NoTokenValue},
        {"empty", 0, NoTokenValue},
        {"Self", 0, TooComplex}, // a token whose value refers to itself
        {"(2)3", 0, MissingOperand},
    };
    for (const Case& c : cases)
        ExpectCase(c, Assign(ev, c.formula));
    EXPECT_EQ(asked.front(), "a");
    EXPECT_EQ(asked[2], "Hp");

    const auto missing = Assign(ev, "zz+1");
    EXPECT_EQ(missing.description, "No value for token 'zz'");
}

TEST(EvaluatorGrammar, ErrorDescriptionsAreTheDocumentedTexts) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"(1", "Brackets are not paired"},
        {"3!2", "Extra characters found"},
        {"5+", "Missing operand or argument"},
        {"pr", "No previous result available"},
        {"pop()", "Not enough items on stack"},
        {"1/0", "Division by zero"},
        {"2^1024", "Overflow"},
        {"sqr(-1)", "Invalid procedure call or argument"},
        {Repeat("-(", 300) + "1" + Repeat(")", 300), "Formula too complex or singularity in formula"},
    };
    for (const auto& [formula, text] : cases) {
        Evaluator ev;
        EXPECT_EQ(Assign(ev, formula).description, text) << formula.substr(0, 20);
    }
}

TEST(EvaluatorGrammar, NestingBeyondTwoHundredFiftySixLevelsFailsWithError28) {
    // Every leading minus evaluates the rest one level deeper: k signs need k + 1 levels.
    auto nested = [](int k) { return Repeat("-(", k) + "1" + Repeat(")", k); };
    Evaluator ev;
    const auto deepest = Assign(ev, nested(255));
    ASSERT_FALSE(deepest.failed) << deepest.description;
    EXPECT_EQ(deepest.value, -1);
    EXPECT_EQ(Assign(ev, nested(256)).error, TooComplex);
    EXPECT_EQ(Assign(ev, nested(100000)).error, TooComplex);

    // Each binary operator evaluates its left operand one level deeper.
    EXPECT_EQ(Assign(ev, "1" + Repeat("+1", 255)).value, 256);
    EXPECT_EQ(Assign(ev, "1" + Repeat("+1", 256)).error, TooComplex);

    // After an error the next formula starts at the outermost level again.
    EXPECT_EQ(Assign(ev, "2+2").value, 4);
}

TEST(EvaluatorGrammar, BracketsAroundTheWholeTextCostNoNesting) {
    Evaluator ev;
    EXPECT_EQ(Assign(ev, Repeat("(", 200000) + "7" + Repeat(")", 200000)).value, 7);
    EXPECT_EQ(Assign(ev, Repeat("(+", 1000) + "7" + Repeat(")", 1000)).value, 7);
}

TEST(EvaluatorGrammar, NormalisationFoldsSignsAndReadsCommaAsDecimalPoint) {
    EXPECT_EQ(Evaluator::NormaliseFormula(" 1 - - 2 "), "1+2");
    EXPECT_EQ(Evaluator::NormaliseFormula("1+-2"), "1-2");
    EXPECT_EQ(Evaluator::NormaliseFormula("1-+2"), "1-2");
    EXPECT_EQ(Evaluator::NormaliseFormula("1++2"), "1+2");
    EXPECT_EQ(Evaluator::NormaliseFormula("---3"), "-3");
    EXPECT_EQ(Evaluator::NormaliseFormula("3,5"), "3.5");
    EXPECT_EQ(Evaluator::NormaliseFormula("+((1)+(2))"), "(1)+(2)");
    EXPECT_EQ(Evaluator::NormaliseFormula("(1)+(2)"), "(1)+(2)");
    EXPECT_EQ(Evaluator::MatchBracket("(a(b)c)d"), 7u);
    EXPECT_EQ(Evaluator::MatchBracket("a(b)"), 1u);
    try {
        Evaluator::NormaliseFormula("((1)");
        ADD_FAILURE() << "unpaired brackets were accepted";
    } catch (const EvaluatorError& e) {
        EXPECT_EQ(e.Number(), BracketsNotPaired);
    }
}
