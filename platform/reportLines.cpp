#include "reportLines.h"

#include <map>
#include <utility>

std::vector<std::string> capLines(std::vector<ReportLine> lines, size_t perKind, const std::string& file) {
    std::map<std::string, size_t> total;
    for (const ReportLine& line : lines) {
        if (!line.kind.empty()) ++total[line.kind];
    }
    std::map<std::string, size_t> met;
    std::vector<std::string> shown;
    for (ReportLine& line : lines) {
        const size_t index = line.kind.empty() ? 0 : met[line.kind]++;
        if (index < perKind) shown.push_back(std::move(line.text));
        const size_t all = line.kind.empty() ? 0 : total[line.kind];
        if (index + 1 == all && all > perKind) {
            shown.push_back(file + ": ... and " + std::to_string(all - perKind) + " more " + line.kind +
                            " lines (--verbose prints them all)");
        }
    }
    return shown;
}
