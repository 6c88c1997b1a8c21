// Checks Compute against reference/partial_correlations.tsv, a table of random
// typed texts and their outcomes worked out by reference/make_reference.py in
// Python, apart from this program's code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calculator/decisions.h"

namespace {

using calculator::ComputeOutcome;
using Kind = ComputeOutcome::Kind;

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

int FieldNumber(calculator::InputField f) {
    return static_cast<int>(f) + 1;
}

TEST(ReferenceTable, EveryRowMatches) {
    std::ifstream in(TAMSAVIK_REFERENCE_TSV);
    ASSERT_TRUE(in) << "cannot open " << TAMSAVIK_REFERENCE_TSV;

    int rows = 0;
    int computed = 0;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        const auto f = SplitTabs(line);
        ASSERT_EQ(f.size(), 6u) << "line " << lineNumber;
        ++rows;
        const ComputeOutcome out = calculator::EvaluateInputs(f[0], f[1], f[2]);
        const std::string where = "line " + std::to_string(lineNumber) + ": \"" + f[0] + "\" \"" +
                                  f[1] + "\" \"" + f[2] + "\"";
        if (f[3] == "missing" || f[3] == "range") {
            EXPECT_EQ(out.kind, f[3] == "missing" ? Kind::MissingValue : Kind::OutOfRange) << where;
            EXPECT_EQ(std::to_string(FieldNumber(out.focus)), f[4]) << where;
        } else {
            ASSERT_EQ(f[3], "computed") << where;
            ++computed;
            ASSERT_EQ(out.kind, Kind::Computed) << where << ": " << out.message;
            EXPECT_EQ(out.resultText, f[4]) << where;
            // The same steps in IEEE double give the same bits.
            const double p = std::strtod(f[5].c_str(), nullptr);
            if (std::isnan(p)) {
                EXPECT_TRUE(std::isnan(out.p)) << where;
            } else {
                EXPECT_EQ(out.p, p) << where << ": expected " << f[5];
            }
        }
    }
    EXPECT_GE(rows, 300);
    EXPECT_GE(computed, 200);
}

}  // namespace
