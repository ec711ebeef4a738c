#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/command_line_split.h"

namespace {

using Args = std::vector<std::string>;

Args argumentsOf(const SplitCommandLine& split) {
    Args result;
    for (int i = 0; i < split.count; ++i) result.push_back(split.arguments[i]);
    return result;
}

struct SplitCase {
    const char* line;
    Args expected;
};

void expectSplits(const SplitCase* cases, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        SplitCommandLine split;
        ASSERT_TRUE(splitCommandLine(cases[i].line, &split)) << cases[i].line;
        EXPECT_EQ(argumentsOf(split), cases[i].expected) << "line: " << cases[i].line;
        EXPECT_EQ(split.arguments[split.count], nullptr) << cases[i].line;
    }
}

TEST(SplitCommandLine, SpacesTabsAndQuotes) {
    const SplitCase cases[] = {
        {"prog", {"prog"}},
        {"  \tprog  ", {"prog"}},
        {"prog a b\tc", {"prog", "a", "b", "c"}},
        {"prog   a  \t b", {"prog", "a", "b"}},
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog a\"b c\"d", {"prog", "ab cd"}},
        {"prog \"\"", {"prog", ""}},
        {"prog \"\" \"\"", {"prog", "", ""}},
        {"prog \"unterminated arg", {"prog", "unterminated arg"}},
        {"prog a\nb", {"prog", "a\nb"}},  // only space and tab separate
    };
    expectSplits(cases, sizeof cases / sizeof cases[0]);
}

TEST(SplitCommandLine, BackslashesBeforeQuotes) {
    const SplitCase cases[] = {
        {"prog a\\b", {"prog", "a\\b"}},                  // not before a quote: literal
        {"prog a\\\\b", {"prog", "a\\\\b"}},
        {"prog a\\\"b", {"prog", "a\"b"}},                // 1 backslash + quote: literal quote
        {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},         // 2 backslashes + quote: 1 and a toggle
        {"prog a\\\\\\\"b", {"prog", "a\\\"b"}},          // 3 + quote: 1 and a literal quote
        {"prog a\\\\\\\\\"b c\"", {"prog", "a\\\\b c"}},  // 4 + quote: 2 and a toggle
        {"prog \"C:\\dir\\\\\"", {"prog", "C:\\dir\\"}},  // trailing backslash of a quoted dir
        {"prog \"C:\\dir\\\" x", {"prog", "C:\\dir\" x"}},  // the classic pitfall
        {"prog a\\", {"prog", "a\\"}},
    };
    expectSplits(cases, sizeof cases / sizeof cases[0]);
}

TEST(SplitCommandLine, DoubledQuotesInsideQuotesGiveOneQuoteAndStayQuoted) {
    const SplitCase cases[] = {
        {"prog \"a\"\"b\"", {"prog", "a\"b"}},
        {"prog \"a\"\"b c\"", {"prog", "a\"b c"}},
        {"prog \"\"\"", {"prog", "\""}},
        {"prog \"\"\"\"", {"prog", "\""}},
        {"prog \"\"\"\"\"\"", {"prog", "\"\""}},
        {"prog a\"\"b", {"prog", "ab"}},  // outside quotes "" is an empty quoted part
    };
    expectSplits(cases, sizeof cases / sizeof cases[0]);
}

TEST(SplitCommandLine, ProgramNameKeepsBackslashesAndDropsQuotes) {
    const SplitCase cases[] = {
        {"\"/opt/my app/run\" -x", {"/opt/my app/run", "-x"}},
        {"\"/opt/my app\"/run -x", {"/opt/my app/run", "-x"}},
        {"C:\\a\\\"b c\" d", {"C:\\a\\b c", "d"}},  // no escaping in the program name
        {"\"unterminated program name", {"unterminated program name"}},
        {"/bin/sh -c \"echo hi > /tmp/x\"", {"/bin/sh", "-c", "echo hi > /tmp/x"}},
    };
    expectSplits(cases, sizeof cases / sizeof cases[0]);
}

TEST(SplitCommandLine, RefusesWhatCannotStart) {
    const char* lines[] = {"", "   ", "\t", "\"\"", "\"\" arg"};
    for (const char* line : lines) {
        SplitCommandLine split;
        EXPECT_FALSE(splitCommandLine(line, &split)) << "'" << line << "'";
        EXPECT_EQ(split.count, 0);
        EXPECT_EQ(split.arguments[0], nullptr);
    }
    SplitCommandLine split;
    EXPECT_FALSE(splitCommandLine(nullptr, &split));
}

TEST(SplitCommandLine, ArgumentCountLimit) {
    std::string line = "p";
    for (int i = 1; i < SPLIT_MAX_ARGUMENTS; ++i) line += " a";
    SplitCommandLine split;
    ASSERT_TRUE(splitCommandLine(line.c_str(), &split));
    EXPECT_EQ(split.count, SPLIT_MAX_ARGUMENTS);
    EXPECT_EQ(split.arguments[SPLIT_MAX_ARGUMENTS], nullptr);

    line += " a";
    EXPECT_FALSE(splitCommandLine(line.c_str(), &split));
    EXPECT_EQ(split.count, 0);
    line = "p";
    for (int i = 1; i <= SPLIT_MAX_ARGUMENTS; ++i) line += " \"\"";  // empty arguments count too
    EXPECT_FALSE(splitCommandLine(line.c_str(), &split));
}

TEST(SplitCommandLine, TextLimitTakesTheLongestLaunchLineWhole) {
    // 1039 bytes as one program name need 1040 bytes with the zero: it fits.
    std::string name(SPLIT_TEXT_SIZE - 1, 'x');
    SplitCommandLine split;
    ASSERT_TRUE(splitCommandLine(name.c_str(), &split));
    EXPECT_EQ(argumentsOf(split), Args{name});

    // Many words: every separator gives its byte to a terminating zero.
    std::string words = "prog";
    while (words.size() + 7 <= SPLIT_TEXT_SIZE - 1) words += " wwwwww";
    words.resize(SPLIT_TEXT_SIZE - 1, 'w');
    ASSERT_TRUE(splitCommandLine(words.c_str(), &split));
    EXPECT_EQ(split.count, 1 + (SPLIT_TEXT_SIZE - 1 - 4) / 7);
    EXPECT_EQ(split.text[SPLIT_TEXT_SIZE - 1], '\0');

    // One byte more than the text can hold is refused, never cut.
    std::string tooLong(SPLIT_TEXT_SIZE, 'x');
    EXPECT_FALSE(splitCommandLine(tooLong.c_str(), &split));
    EXPECT_FALSE(splitCommandLine(("p " + std::string(SPLIT_TEXT_SIZE - 2, 'y')).c_str(), &split));
    EXPECT_TRUE(splitCommandLine(("p " + std::string(SPLIT_TEXT_SIZE - 3, 'y')).c_str(), &split));
}

}  // namespace
