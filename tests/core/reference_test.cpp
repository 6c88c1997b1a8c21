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

using Kind = calculator::ComputeOutcome::Kind;

TEST(ReferenceTable, EveryRowMatches) {
    std::ifstream in(TAMSAVIK_REFERENCE_TSV);
    ASSERT_TRUE(in) << "cannot open " << TAMSAVIK_REFERENCE_TSV;
    int rows = 0, computed = 0;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        if (line.back() == '\t') f.emplace_back();  // an empty last column
        ASSERT_EQ(f.size(), 6u) << "line " << lineNumber;
        ++rows;
        const auto out = calculator::EvaluateInputs(f[0], f[1], f[2]);
        SCOPED_TRACE("line " + std::to_string(lineNumber) + ": \"" + f[0] + "\" \"" + f[1] +
                     "\" \"" + f[2] + "\"");
        if (f[3] == "missing" || f[3] == "range") {
            EXPECT_EQ(out.kind, f[3] == "missing" ? Kind::MissingValue : Kind::OutOfRange);
            EXPECT_EQ(std::to_string(static_cast<int>(out.focus) + 1), f[4]);
            continue;
        }
        ASSERT_EQ(f[3], "computed");
        ++computed;
        ASSERT_EQ(out.kind, Kind::Computed) << out.message;
        EXPECT_EQ(out.resultText, f[4]);
        // The same steps in IEEE double give the same bits.
        const double p = std::strtod(f[5].c_str(), nullptr);
        if (std::isnan(p))
            EXPECT_TRUE(std::isnan(out.p));
        else
            EXPECT_EQ(out.p, p) << "expected " << f[5];
    }
    EXPECT_GE(rows, 300);
    EXPECT_GE(computed, 200);
}

}  // namespace
