#!/usr/bin/env python3
"""Makes partial_correlations.tsv: what a Compute click should yield for a few
hundred random triples of typed texts, worked out here in Python, apart from
the program's own C++ code.

Each row holds the three texts (RxxFld, RyyFld, RxyFld), then the outcome:

    missing  <field>   the first empty text (1, 2 or 3)
    range    <field>   the first value outside -1 to +1
    computed <text>    the partial correlation to four places, as shown

and, for a computed row, the exact double p as a hexadecimal float.

The steps follow the calculator: every empty test first, then the value of
each text (NaN for one that is not wholly a number, which is out of range),
the range tests in field order, and
p = (r1 - r2*r12) / (sqrt(1 - r2**2) * sqrt(1 - r12**2)) in IEEE double.
p is rounded to four places from its exact binary value, ties to even.

Run it from anywhere; it rewrites the table beside itself. The seed is fixed,
so the table only changes when this script does.
"""

import math
import random
import re
import unicodedata
from decimal import ROUND_HALF_EVEN, Decimal
from pathlib import Path

SEED = 20240611
ROWS = 500

# What remains of a text without the blanks and invisible characters at its
# ends must be wholly this: a sign, digits with at most one point, and an
# exponent.
NUMBER = re.compile(r"([+-]?)((?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)")
INVISIBLE = ("Zs", "Zl", "Zp", "Cf", "Cc")


def val(text: str) -> float:
    """The value of a text, or NaN when it is not one decimal number."""
    chars = list(text)
    while chars and unicodedata.category(chars[0]) in INVISIBLE:
        chars.pop(0)
    while chars and unicodedata.category(chars[-1]) in INVISIBLE:
        chars.pop()
    m = NUMBER.fullmatch("".join(chars))
    if not m:
        return math.nan
    sign, body = m.groups()
    value = float(body)  # float() of a finite literal gives inf or 0 past the range
    return -value if sign == "-" else value


def render(p: float) -> str:
    if math.isnan(p):
        return "NAN"
    if math.isinf(p):
        return "-INF" if p < 0 else "INF"
    q = Decimal(p).quantize(Decimal("0.0001"), rounding=ROUND_HALF_EVEN)
    if q == 0:
        return ".0000"
    digits = f"{abs(q):.4f}"
    whole, frac = digits.split(".")
    whole = whole.lstrip("0")
    return ("-" if q < 0 else "") + whole + "." + frac


def outcome(texts):
    for i, t in enumerate(texts):
        if len(t) == 0:
            return ("missing", str(i + 1), "")
    r = [val(t) for t in texts]
    for i, x in enumerate(r):
        if not -1.0 <= x <= 1.0:  # NaN, a text that is no number, too
            return ("range", str(i + 1), "")
    r1, r2, r12 = r
    n = r1 - (r2 * r12)
    a = 1.0 - r2**2.0
    b = 1.0 - r12**2.0
    d = math.sqrt(a) * math.sqrt(b)
    if d == 0.0:
        # IEEE division by zero, which Python refuses; d is +0 here.
        p = math.nan if n == 0.0 or math.isnan(n) else math.copysign(math.inf, n)
    else:
        p = n / d
    return ("computed", render(p), p.hex())


def typed(rng: random.Random, minus: bool) -> str:
    """A text like one a user types into a field of six characters."""
    kind = rng.random()
    sign = "-" if minus and rng.random() < 0.4 else ""
    if kind < 0.54:  # ".123", "-.5"
        return sign + "." + "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 4)))
    if kind < 0.76:  # "0.99", "-0.5"
        return sign + "0." + "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 3)))
    if kind < 0.84:  # the bounds and the integers around them
        return sign + rng.choice(["0", "1", "1.", "1.0", "1.00", "0", "2"])
    if kind < 0.88:  # a little past the bounds
        return sign + rng.choice(["1.01", "1.001", "1.5", "1.0001", ".9999", "0.9999"])
    if kind < 0.97:  # anything the keys allow, up to six characters
        alphabet = "0123456789." + ("-" if minus else "")
        return "".join(rng.choice(alphabet) for _ in range(rng.randint(1, 6)))
    return ""  # left empty


def main() -> None:
    rng = random.Random(SEED)
    lines = [
        "# rxx\tryy\trxy\toutcome\tdetail\tp (hexadecimal double, computed rows)",
        "# made by make_reference.py; do not edit by hand",
    ]
    for _ in range(ROWS):
        texts = [typed(rng, False), typed(rng, False), typed(rng, True)]
        kind, detail, p = outcome(texts)
        lines.append("\t".join(texts + [kind, detail, p]))
    out = Path(__file__).with_name("partial_correlations.tsv")
    out.write_text("\n".join(lines) + "\n", encoding="ascii")


if __name__ == "__main__":
    main()
