// Helpers of the model tests: data files in the data-file layout and a
// model set up from them on the headless back end.
#pragma once

#include <string>
#include <vector>

#include "tests/support/ModelSession.h"

namespace tivelor::testing {

// A data file with the given names and count rows, right-justified in fields
// of 6 characters separated by commas.
inline std::string DataFile(const std::string& file, const std::vector<std::string>& names,
                            const std::vector<std::vector<std::string>>& rows) {
    auto field = [](std::string s, bool right) {
        s.insert(right ? 0 : s.size(), s.size() < 6 ? 6 - s.size() : 0, ' ');
        return s + ",";
    };
    std::string t = "Quad# ,";
    for (const auto& n : names) t += field(n, false);
    for (std::size_t q = 0; q < rows.size(); ++q) {
        t += "\r\n" + field("Q" + std::to_string(q + 1), false);
        for (const auto& c : rows[q]) t += field(c, true);
    }
    return WriteData(file, t + "\r\n");
}

inline std::string CountFile(const std::string& file, const std::vector<std::string>& names,
                             const std::vector<std::vector<long>>& rows) {
    std::vector<std::vector<std::string>> r(rows.size());
    for (std::size_t q = 0; q < rows.size(); ++q)
        for (long c : rows[q]) r[q].push_back(std::to_string(c));
    return DataFile(file, names, r);
}

}  // namespace tivelor::testing
