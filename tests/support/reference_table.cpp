#include "support/reference_table.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

namespace ostrac::test {

std::vector<ReferenceRow> read_reference_table(const std::string& name) {
    std::ifstream in(std::string(OSTRAC_NUMERIC_REFERENCE_DIR) + "/" + name + ".tsv");
    std::vector<ReferenceRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        ReferenceRow row;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) row.push_back(field);
        rows.push_back(std::move(row));
    }
    return rows;
}

double reference_number(const std::string& field) { return std::strtod(field.c_str(), nullptr); }

double in_ulps(double difference, double scale) {
    const double magnitude = std::fabs(scale);
    const double ulp = std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
    return std::fabs(difference) / ulp;
}

}  // namespace ostrac::test
