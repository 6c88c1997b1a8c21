#include "resources/help_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/decisions.h"

namespace {

using resources::kHelpText;

// The help text split at every carriage return; a final return would leave an
// empty last line.
std::vector<std::string_view> Lines() {
    std::vector<std::string_view> lines;
    std::string_view rest = kHelpText;
    for (;;) {
        const std::size_t cr = rest.find('\r');
        lines.push_back(rest.substr(0, cr));
        if (cr == std::string_view::npos) break;
        rest.remove_prefix(cr + 1);
    }
    return lines;
}

// Line `number`, counting from 1 as the help window shows them.
std::string_view Line(const std::vector<std::string_view>& lines, std::size_t number) {
    return lines.at(number - 1);
}

// The value after the last "= " of a line, as the user would type it.
std::string_view ValueOf(std::string_view line) {
    const std::size_t eq = line.rfind("= ");
    return eq == std::string_view::npos ? std::string_view{} : line.substr(eq + 2);
}

// True when `paragraph` states `result` at least once and every mention of its
// digits carries the result's sign and no further digits.
::testing::AssertionResult StatesResult(std::string_view paragraph, std::string_view result) {
    const bool negative = result.starts_with('-');
    const std::string_view digits = result.substr(negative ? 1 : 0);
    int mentions = 0;
    for (std::size_t at = paragraph.find(digits); at != std::string_view::npos;
         at = paragraph.find(digits, at + 1), ++mentions) {
        const std::size_t after = at + digits.size();
        if ((at > 0 && paragraph[at - 1] == '-') != negative ||
            (after < paragraph.size() && paragraph[after] >= '0' && paragraph[after] <= '9')) {
            return ::testing::AssertionFailure() << "mention at " << at << " is not " << result;
        }
    }
    if (mentions == 0) return ::testing::AssertionFailure() << result << " not stated";
    return ::testing::AssertionSuccess();
}

// Each example's correlations, read from the text and typed into the three
// fields (X1 and Y, X2 and Y, X1 and X2), must give the result its paragraph
// states.
TEST(HelpText, WorkedExamplesStateWhatTheCalculatorComputes) {
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 34u);
    const struct {
        std::size_t x1y, x2y, x1x2, paragraph;
        std::string_view expected;
    } kExamples[] = {
        {10, 11, 12, 14, ".0934"},
        {20, 21, 19, 22, "-.0101"},
    };
    for (const auto& e : kExamples) {
        SCOPED_TRACE("example explained on line " + std::to_string(e.paragraph));
        const auto outcome = calculator::EvaluateInputs(
            ValueOf(Line(lines, e.x1y)), ValueOf(Line(lines, e.x2y)), ValueOf(Line(lines, e.x1x2)));
        ASSERT_EQ(outcome.kind, calculator::ComputeOutcome::Kind::Computed) << outcome.message;
        EXPECT_EQ(outcome.resultText, e.expected);
        EXPECT_TRUE(StatesResult(Line(lines, e.paragraph), outcome.resultText));
    }
}

}  // namespace
