// What a user reads and runs before anything else: the man pages, what
// `cmake --install` puts in place, the package sets of the quick start, and
// the README's close-up command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app_fixtures.h"

namespace fs = std::filesystem;
using namespace apptest;

namespace {

const std::string kSource = SW_SOURCE_DIR;

struct ManPage {
    std::string source;   // in the source tree
    std::string program;  // whose --help it describes
};

const ManPage kManPages[] = {{kSource + "/app/strutwright.1", STRUTWRIGHT_EXE},
                             {kSource + "/tools/zvtrack.1", ZVTRACK_EXE}};

std::string fileName(const std::string& path) { return fs::path(path).filename(); }

// The page as man renders it, wide and unhyphenated, so options stay whole;
// man's warnings go to *warnings.
std::string render(const std::string& page, std::string* warnings) {
    const std::string errors = scratchDir("man-" + fileName(page)) + "/warnings";
    std::string text;
    const int status = runCommand("MAN_DISABLE_SECCOMP=1 MANWIDTH=200 man --warnings --no-hyphenation "
                                  "--no-justification -l '" + page + "' 2>'" + errors + "'",
                                  &text);
    EXPECT_EQ(status, 0) << page;
    *warnings = readFile(errors);
    return text;
}

std::set<std::string> optionsIn(const std::string& text) {
    static const std::regex option(R"((^|[\s,\[])(--[a-z][a-z-]*|-[a-zA-Z])\b)");
    std::set<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
        found.insert((*it)[2]);
    }
    return found;
}

TEST(ManPages, RenderWithoutWarningsAndDescribeEveryOptionOfTheHelp) {
    for (const ManPage& page : kManPages) {
        SCOPED_TRACE(page.source);
        std::string warnings;
        const std::string text = render(page.source, &warnings);
        EXPECT_EQ(warnings, "");
        EXPECT_NE(text.find("NAME"), std::string::npos);
        EXPECT_NE(text.find("EXIT STATUS"), std::string::npos);
        std::string help;
        ASSERT_EQ(runCommand(page.program + " --help", &help), 0);
        const std::set<std::string> documented = optionsIn(text);
        for (const std::string& option : optionsIn(help)) {
            EXPECT_EQ(documented.count(option), 1u) << option << " is missing from the page";
        }
    }
}

// The keys and mouse actions of the view, as --help lists them: each has its
// entry in the man page.
std::vector<std::string> viewKeysOfTheHelp() {
    std::string help;
    EXPECT_EQ(runCommand(std::string(STRUTWRIGHT_EXE) + " --help", &help), 0);
    std::istringstream lines(help.substr(help.find("Keys and mouse of the view")));
    std::vector<std::string> keys;
    for (std::string line; std::getline(lines, line) && !line.empty();) {
        if (line.rfind("  ", 0) == 0 && line[2] != ' ') keys.push_back(line.substr(2, line.find("  ", 2) - 2));
    }
    return keys;
}

TEST(ManPages, DescribeEveryKeyAndMouseActionOfTheHelp) {
    const std::vector<std::string> keys = viewKeysOfTheHelp();
    EXPECT_EQ(keys.size(), 16u) << "five pairs of letters, three of special keys, the wheel, two drags, "
                                   "Shift, Home, F1, F2, Escape";
    std::string warnings;
    const std::string page = render(kSource + "/app/strutwright.1", &warnings);
    const size_t section = page.find("VIEW KEYS AND MOUSE");
    ASSERT_NE(section, std::string::npos);
    const std::string described = page.substr(section, page.find("\nFILES", section) - section);
    for (const std::string& key : keys) {
        const std::string entry = "\n       " + key;  // as a tagged paragraph starts, then its text
        const bool found = described.find(entry + " ") != std::string::npos ||
                           described.find(entry + "\n") != std::string::npos;
        EXPECT_TRUE(found) << key << " is missing from the page";
    }
}

TEST(ManPages, AreInstalledWithThePrograms) {
    const std::string prefix = scratchDir("install-prefix");
    std::string output;
    ASSERT_EQ(runCommand("cmake --install '" + std::string(SW_BINARY_DIR) + "' --prefix '" + prefix +
                             "' 2>&1",
                         &output),
              0)
        << output;
    for (const ManPage& page : kManPages) {
        const std::string installed = prefix + "/share/man/man1/" + fileName(page.source);
        EXPECT_EQ(readFile(installed), readFile(page.source)) << installed;
        EXPECT_TRUE(fileExists(prefix + "/bin/" + fileName(page.program)));
    }
}

std::set<std::string> packageSet(const std::string& name) {
    std::string line;
    EXPECT_EQ(runCommand(kSource + "/scripts/install-deps --list " + name, &line), 0) << name;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << "one line: " << line;
    std::istringstream words(line);
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

bool includes(const std::set<std::string>& larger, const std::set<std::string>& smaller) {
    return std::includes(larger.begin(), larger.end(), smaller.begin(), smaller.end());
}

// The demo needs only the compilers and the libraries the programs link; the
// tests add their frameworks and a private X server, the fuzzer clang.
TEST(QuickStart, EachPackageSetAddsToTheOneBefore) {
    const std::set<std::string> demo = packageSet("demo");
    const std::set<std::string> test = packageSet("test");
    const std::set<std::string> fuzz = packageSet("fuzz");
    EXPECT_TRUE(includes(test, demo) && test.size() > demo.size());
    EXPECT_TRUE(includes(fuzz, test) && fuzz.size() > test.size());
    EXPECT_EQ(demo.count("libglut-dev"), 1u);
    EXPECT_EQ(fuzz.count("freeglut3-dev"), 0u) << "a transitional package";
    for (const char* testOnly : {"libgtest-dev", "libbenchmark-dev", "xvfb", "xdotool", "man-db"}) {
        EXPECT_EQ(demo.count(testOnly), 0u) << testOnly;
        EXPECT_EQ(test.count(testOnly), 1u) << testOnly;
    }
    EXPECT_EQ(test.count("clang-14"), 0u);
    EXPECT_EQ(fuzz.count("clang-14"), 1u);
    std::string ignored;
    EXPECT_EQ(runCommand(kSource + "/scripts/install-deps --list all 2>/dev/null", &ignored), 2);
}

// The README's close-up command, run as written from the top of a clone in
// which the quick start has built build-demo/: it may write only there.
TEST(QuickStart, TheReadmeCloseUpCommandWorksAndWritesOnlyIntoTheDemoBuild) {
    if (!XServer::available()) GTEST_SKIP() << "Xvfb is not installed";
    std::istringstream readme(readFile(kSource + "/README.md"));
    std::string command;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("build-demo/app/strutwright ", 0) == 0 && line.find("--screenshot") != std::string::npos) {
            command = line;
        }
    }
    ASSERT_FALSE(command.empty()) << "no close-up command in the README";

    const std::string clone = scratchDir("readme-clone");
    fs::create_directories(clone + "/examples");
    fs::copy_file(kSource + "/examples/demo.zvtrack", clone + "/examples/demo.zvtrack");
    fs::create_directories(clone + "/build-demo/app");
    fs::create_symlink(STRUTWRIGHT_EXE, clone + "/build-demo/app/strutwright");

    const std::string script = scratchDir("readme-command") + "/closeup.sh";
    std::ofstream(script) << command << "\n";

    XServer server;
    ASSERT_TRUE(server.running());
    std::string ignored;
    const int status = runCommand("cd '" + clone + "' && DISPLAY=" + server.display().name +
                                      " ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
                                      " bash '" + script + "' 2>/dev/null",
                                  &ignored);
    EXPECT_EQ(status, 0) << command;
    std::set<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(clone)) {
        const std::string path = entry.path().lexically_relative(clone);
        if (path.rfind("build-demo", 0) != 0) written.insert(path);
    }
    EXPECT_EQ(written, (std::set<std::string>{"examples", "examples/demo.zvtrack"}));
    bool picture = false;
    for (const auto& entry : fs::directory_iterator(clone + "/build-demo")) {
        picture = picture || (entry.path().extension() == ".png" && readPng(entry.path()).valid());
    }
    EXPECT_TRUE(picture) << "the close-up picture";
}

}  // namespace
