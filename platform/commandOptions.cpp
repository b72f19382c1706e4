#include "commandOptions.h"

#include <getopt.h>

#include <algorithm>
#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>

namespace {

// getopt_long's value for a long option without a short name: beyond any character.
constexpr int kFirstLongOnlyValue = UCHAR_MAX + 1;
// getopt_long's answers when it cannot take a word, and for an operand (in
// the order the words come, as the option string's leading '-' asks).
constexpr int kUnknownOption = '?';
constexpr int kMissingValue = ':';
constexpr int kOperand = 1;

int getoptValue(const OptionSpec& spec, size_t index) {
    return spec.shortName ? static_cast<unsigned char>(spec.shortName)
                          : kFirstLongOnlyValue + static_cast<int>(index);
}

bool dashed(const OptionSpec& spec) { return spec.form == OptionForm::kDashed; }

// The option getopt_long names by its value, or null.
const OptionSpec* specOf(int value, const std::vector<OptionSpec>& specs) {
    for (size_t i = 0; i < specs.size(); ++i) {
        if (dashed(specs[i]) && getoptValue(specs[i], i) == value) return &specs[i];
    }
    return nullptr;
}

// The whole-word option `word` is, or null.
const OptionSpec* wholeWordSpec(const std::string& word, const std::vector<OptionSpec>& specs) {
    const auto found = std::find_if(specs.begin(), specs.end(), [&word](const OptionSpec& spec) {
        return !dashed(spec) && word == std::string("-") + spec.longName;
    });
    return found == specs.end() ? nullptr : &*found;
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
        if (dashed(candidate) && full.compare(0, name.size(), name) == 0) {
            matches += (matches.empty() ? "" : ", ") + full;
        }
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

// The arguments as getopt_long wants them: a program name first, each word
// writable, a null at the end.
class ArgumentVector {
public:
    explicit ArgumentVector(const std::vector<std::string>& args) : words{"program"} {
        words.insert(words.end(), args.begin(), args.end());
        pointers.reserve(words.size() + 1);
        std::transform(words.begin(), words.end(), std::back_inserter(pointers),
                       [](std::string& word) { return &word[0]; });
        pointers.push_back(nullptr);
    }
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    int count() const { return static_cast<int>(words.size()); }
    char** data() { return pointers.data(); }
    // The word at `index` in getopt_long's order.
    std::string operator[](int index) const { return pointers[static_cast<size_t>(index)]; }

private:
    std::vector<std::string> words;
    std::vector<char*> pointers;
};

// getopt_long's tables for the dashed options.
struct GetoptTables {
    std::string shortOptions;
    std::vector<option> longOptions;
};

GetoptTables getoptTables(const std::vector<OptionSpec>& specs) {
    // Operands come back in their place ('-'); a missing value answers ':', not '?'.
    GetoptTables tables{"-:", {}};
    for (size_t i = 0; i < specs.size(); ++i) {
        const OptionSpec& spec = specs[i];
        if (!dashed(spec)) continue;
        const int hasArg = spec.takesValue ? required_argument : no_argument;
        tables.longOptions.push_back({spec.longName, hasArg, nullptr, getoptValue(spec, i)});
        if (spec.shortName) {
            tables.shortOptions += std::string(1, spec.shortName) + (spec.takesValue ? ":" : "");
        }
    }
    tables.longOptions.push_back({nullptr, 0, nullptr, 0});
    return tables;
}

// Readies getopt_long for a new parse: optind 0 makes it forget the last one
// (and where it stopped inside a grouped word) on its next call, made here on
// no arguments at all.
void resetGetopt(const GetoptTables& tables) {
    static char programName[] = "program";
    char* none[] = {programName, nullptr};
    opterr = 0;
    optind = 0;
    getopt_long(1, none, tables.shortOptions.c_str(), tables.longOptions.data(), nullptr);
}

}  // namespace

// The words go to getopt_long one by one; where a word begins (getopt_long
// is not inside a group of short options) a whole-word option is taken here
// first, and getopt_long goes on after it.
ParsedArguments parseArguments(const std::vector<std::string>& args,
                               const std::vector<OptionSpec>& specs) {
    ArgumentVector argv(args);
    const GetoptTables tables = getoptTables(specs);
    resetGetopt(tables);
    ParsedArguments parsed;
    auto fail = [&parsed](const std::string& problem) {
        if (parsed.error.empty()) parsed.error = problem;
    };
    const int argc = argv.count();
    bool atWordStart = true;
    for (;;) {
        const OptionSpec* whole =
            atWordStart && optind < argc ? wholeWordSpec(argv[optind], specs) : nullptr;
        if (whole) {
            const std::string name = argv[optind++];
            if (!whole->takesValue) {
                parsed.options.push_back({whole->code, ""});
            } else if (optind < argc) {
                parsed.options.push_back({whole->code, argv[optind++]});
            } else {
                fail(name + " needs a value");
            }
            continue;
        }
        const int before = optind;
        const int answer = getopt_long(argc, argv.data(), tables.shortOptions.c_str(),
                                       tables.longOptions.data(), nullptr);
        if (answer == -1) break;
        atWordStart = optind != before;
        if (answer == kOperand) {
            parsed.operands.push_back(optarg);
        } else if (answer == kUnknownOption || answer == kMissingValue) {
            fail(problemWith(optopt, argv[optind - 1], answer == kMissingValue, specs));
        } else {
            parsed.options.push_back({specOf(answer, specs)->code, optarg ? optarg : ""});
        }
    }
    // After "--": operands, whatever they look like.
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
