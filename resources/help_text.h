// The text of the help window: what a partial correlation is, two worked
// examples, references, the notice of rights, how to cite the program and the
// disclaimer. Lines are separated by a single carriage return, as the help
// window's text area expects; there is no line feed and no final return.
#pragma once

#include <string_view>

namespace resources {

inline constexpr std::string_view kHelpText =
    "Tamsavik\r"
    "\r"
    "A partial correlation is the correlation between two variables with the influence of one "
    "or more further variables held constant (partialled out): the correlation between those "
    "parts of the two variables that the further variables do not linearly account for. "
    "Tamsavik obtains the partial correlation of X1 and Y, with X2 held constant, from the "
    "three individual Pearson correlations among X1, X2 and Y alone, so the raw scores are not "
    "needed: p = (r(X1,Y) - r(X2,Y) r(X1,X2)) / (sqrt(1 - r(X2,Y)^2) sqrt(1 - r(X1,X2)^2)). The "
    "result is shown to four decimal places.\r"
    "\r"
    "Example\r"
    "X1 = Income of Sons\r"
    "X2 = Education in Years of Sons\r"
    "Y = Income of Fathers\r"
    "\r"
    "X1 x Y = .60\r"
    "X2 x Y = .70\r"
    "X1 x X2 = .80\r"
    "\r"
    "The correlation of .60 between the incomes of fathers and sons might be taken to mean that "
    "income runs in families. The sons' education, which correlates .80 with their own income "
    "and .70 with the income of their fathers, offers another explanation. With the sons' "
    "education partialled out, the partial correlation between the incomes of sons and fathers "
    "is .0934, down from .60, which points to education as mainly responsible for the "
    "relationship. Like any correlation, a partial correlation does not by itself establish "
    "cause; it shows how much of a relationship remains once the variable held constant is "
    "taken into account.\r"
    "\r"
    "\r"
    "Example\r"
    "Let X1 be height, X2 grade level and Y vocabulary, measured on pupils from several school "
    "grades, with these correlations:\r"
    "Height (X1) by Grade (X2) = .913\r"
    "Height (X1) by Vocabulary (Y) = .716\r"
    "Grade (X2) by Vocabulary (Y) = .787\r"
    "The partial correlation of height and vocabulary with grade held constant is -.0101. In "
    "other words, once the influence of grade is removed, the correlation between height and "
    "vocabulary is -.0101, which is essentially zero: the apparent relation between height and "
    "vocabulary comes from grade, because pupils in higher grades tend both to be taller and to "
    "know more words.\r"
    "\r"
    "References\r"
    "Cohen, J., Cohen, P., West, S. G., & Aiken, L. S. (2003). Applied multiple "
    "regression/correlation analysis for the behavioral sciences (3rd ed.). Mahwah, NJ: "
    "Lawrence Erlbaum Associates.\r"
    "\r"
    "Howell, D. C. (2010). Statistical methods for psychology (7th ed.). Belmont, CA: "
    "Wadsworth, Cengage Learning.\r"
    "\r"
    "\r"
    "Copyright (c) 2009-2020 The Tamsavik Authors. Tamsavik may be used, copied and distributed "
    "free of charge, provided that it is not sold and that this notice is kept with every copy.\r"
    "\r"
    "Reference as: The Tamsavik Authors. (2020). Tamsavik [Computer software]. Anytown: "
    "Tamsavik Project.\r"
    "\r"
    "Disclaimer: Tamsavik is provided as is, without warranty of any kind, expressed or "
    "implied. It is to be used with professional care and judgement by users qualified to do "
    "so, who bear the responsibility for any decision or report based on it. The Tamsavik "
    "Authors accept no liability to the user or to any third party, nor for any damage arising "
    "from miscalculation or misuse.";

}  // namespace resources
