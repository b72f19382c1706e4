#include "commandOptions.h"

#include <getopt.h>

#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// getopt_long's value for a long option without a short name: beyond any character.
constexpr int kFirstLongOnlyValue = UCHAR_MAX + 1;
// getopt_long's answers when it cannot take a word.
constexpr int kUnknownOption = '?';
constexpr int kMissingValue = ':';

int getoptValue(const OptionSpec& spec, size_t index) {
    return spec.shortName ? static_cast<unsigned char>(spec.shortName)
                          : kFirstLongOnlyValue + static_cast<int>(index);
}

// The option getopt_long names by its value, or null.
const OptionSpec* specOf(int value, const std::vector<OptionSpec>& specs) {
    for (size_t i = 0; i < specs.size(); ++i) {
        if (getoptValue(specs[i], i) == value) return &specs[i];
    }
    return nullptr;
}

// The option as the user is told about it: as typed, short or long.
std::string shownName(const OptionSpec& spec, const std::string& word) {
    const bool typedLong = word.compare(0, 2, "--") == 0;
    return typedLong || !spec.shortName ? std::string("--") + spec.longName
                                        : std::string("-") + spec.shortName;
}

// Why getopt_long could not take `word` (or, for a short option, `optionChar`).
std::string problemWith(int optionChar, const std::string& word, bool missingValue,
                        const std::vector<OptionSpec>& specs) {
    const OptionSpec* spec = specOf(optionChar, specs);
    if (missingValue && spec) return shownName(*spec, word) + " needs a value";
    if (spec) return shownName(*spec, word) + " takes no value";
    if (optionChar != 0) return std::string("unknown option '-") + static_cast<char>(optionChar) + "'";
    const std::string name = word.substr(0, word.find('='));
    std::string matches;
    for (const OptionSpec& candidate : specs) {
        const std::string full = std::string("--") + candidate.longName;
        if (full.compare(0, name.size(), name) == 0) matches += (matches.empty() ? "" : ", ") + full;
    }
    if (matches.find(',') != std::string::npos) {
        return "option '" + name + "' is ambiguous: " + matches;
    }
    return "unknown option '" + name + "'";
}

// Whether the decimal `value` is other than 0: a digit other than 0 before
// any exponent.
bool notZero(const std::string& value) {
    return value.substr(0, value.find_first_of("eE")).find_first_of("123456789") != std::string::npos;
}

// Whether the decimal `value` is at least `minimum`, exactly: read rounding
// down, a value just below the minimum cannot round up onto it.
bool atLeast(const std::string& value, float minimum) {
    const int mode = std::fegetround();
    std::fesetround(FE_DOWNWARD);
    const double down = std::strtod(value.c_str(), nullptr);
    std::fesetround(mode);
    return down >= minimum;
}

// The numbers a float option takes: "a number from 1 to 3.4e+38", or for a
// minimum of 0 "0 or a number from 1.4e-45 to 3.4e+38".
std::string rangeText(float minimum) {
    const float least = minimum == 0 ? std::numeric_limits<float>::denorm_min() : minimum;
    char range[64];
    std::snprintf(range, sizeof range, "a number from %.2g to %.2g", static_cast<double>(least),
                  static_cast<double>(std::numeric_limits<float>::max()));
    return minimum == 0 ? std::string("0 or ") + range : std::string(range);
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args,
                               const std::vector<OptionSpec>& specs) {
    // getopt_long reorders the words it is given: a copy of them, in one vector.
    std::vector<std::string> words{"program"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);

    std::string shortOptions = ":";  // a missing value answers ':', not '?'
    std::vector<option> longOptions;
    for (size_t i = 0; i < specs.size(); ++i) {
        const OptionSpec& spec = specs[i];
        const int hasArg = spec.takesValue ? required_argument : no_argument;
        longOptions.push_back({spec.longName, hasArg, nullptr, getoptValue(spec, i)});
        if (spec.shortName) shortOptions += std::string(1, spec.shortName) + (spec.takesValue ? ":" : "");
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    ParsedArguments parsed;
    opterr = 0;
    optind = 0;  // start afresh, whatever an earlier parse left
    const int argc = static_cast<int>(words.size());
    for (int answer; (answer = getopt_long(argc, argv.data(), shortOptions.c_str(),
                                           longOptions.data(), nullptr)) != -1;) {
        if (answer == kUnknownOption || answer == kMissingValue) {
            if (parsed.error.empty()) {
                parsed.error = problemWith(optopt, argv[optind - 1], answer == kMissingValue, specs);
            }
            continue;
        }
        parsed.options.push_back({specOf(answer, specs)->code, optarg ? optarg : ""});
    }
    for (int i = optind; i < argc; ++i) parsed.operands.push_back(argv[i]);
    return parsed;
}

std::string readNumber(const std::string& option, const std::string& value, float minimum,
                       float* number) {
    // Decimal notation only: strtof would also take "inf", "nan", hexadecimal
    // and leading blanks. Too large for a float reads as infinity.
    const bool decimal = value.find_first_not_of("0123456789.eE+-") == std::string::npos;
    char* end = nullptr;
    const float read = std::strtof(value.c_str(), &end);
    // The value is judged both as written and as the float the program will
    // use: rounding may neither lift it onto the minimum nor take it to 0.
    if (decimal && !value.empty() && *end == '\0' && std::isfinite(read) && atLeast(value, minimum) &&
        (read != 0 || !notZero(value))) {
        *number = read;
        return "";
    }
    return option + " takes " + rangeText(minimum) + ", not '" + value + "'";
}
