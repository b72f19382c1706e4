// The command-line conventions both programs follow, on top of getopt_long:
// options may stand before and after the operands, and "--" ends them; a long
// option takes its value as "--name=value" or "--name value" and may be cut
// to any prefix that names it alone; short options may be grouped ("-qo FILE",
// "-oFILE"). Whole-word options ("-sync", "-geometry VALUE", the window
// toolkit's style) are taken where an option may stand, as the words they
// are: a word that is an option's value ("-o -sync") or comes after "--" is
// that value or an operand.
//
//   parseArguments  sorts `args` (the words after the program name) into the
//                   options given, in order, with their values, and the
//                   operands. The first problem is put into `error` as one
//                   line for the user (the words after it are still sorted,
//                   so a later --help can win): "unknown option '--frob'",
//                   "unknown option '-x'", "--output needs a value", "--no-view
//                   takes no value", "option '--v' is ambiguous: --version,
//                   --view".
#pragma once

#include <string>
#include <vector>

// How an option is written.
enum class OptionForm {
    kDashed,     // "--name", and "-c" when it has a short name
    kWholeWord,  // "-name" exactly, its value (if any) the next word
};

struct OptionSpec {
    const char* longName;  // without the dashes
    char shortName;        // 0: none
    bool takesValue;
    int code;              // what the parse hands back for this option
    OptionForm form = OptionForm::kDashed;
};

struct GivenOption {
    int code;
    std::string value;  // empty for an option without a value
};

struct ParsedArguments {
    std::vector<GivenOption> options;
    std::vector<std::string> operands;
    std::string error;  // empty when every word made sense
};

ParsedArguments parseArguments(const std::vector<std::string>& args,
                               const std::vector<OptionSpec>& specs);
std::string readNumber(const std::string& option, const std::string& value, float minimum,
                       float* number);
