// Reference values computed once from an independent source (mpmath, by
// tests/numeric/make_reference.py) and committed beside the tests: one case a
// line, fields separated by tabs. The tests read them and compute nothing of
// the reference themselves.
#pragma once

#include <string>
#include <vector>

namespace ostrac::test {

using ReferenceRow = std::vector<std::string>;

// The rows of tests/numeric/reference/NAME.tsv; none when the file is missing.
std::vector<ReferenceRow> read_reference_table(const std::string& name);

// A field as a double, as strtod reads it.
double reference_number(const std::string& field);

// A difference in units in the last place of `scale` (subnormal neighbours
// are one smallest subnormal apart).
double in_ulps(double difference, double scale);

}  // namespace ostrac::test
