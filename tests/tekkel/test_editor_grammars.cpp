// The editor grammars in editors/ name exactly the commands and registers of the command table:
// a command added, renamed or dropped there fails here until every grammar follows.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tekkel/Opcodes.h"

namespace {

// Where one grammar lists its names: each match of `list` holds names, each match of `name`
// in it (its first group) is one.
struct NameList {
    const char* file;
    const char* list;
    const char* name;
};

std::set<std::string> namesIn(const NameList& where) {
    std::ifstream in(std::string(HARUVEL_SOURCE_DIR) + "/editors/" + where.file);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    std::set<std::string> names;
    const std::regex list(where.list), name(where.name);
    for (std::sregex_iterator l(all.begin(), all.end(), list), end; l != end; ++l) {
        const std::string part = (*l)[1];
        for (std::sregex_iterator n(part.begin(), part.end(), name); n != end; ++n)
            names.insert((*n)[1]);
    }
    return names;
}

std::set<std::string> commandNames() {
    std::set<std::string> names;
    for (const tekkel::CommandInfo& c : tekkel::allCommands())
        names.insert(std::string(c.name));
    return names;
}

std::set<std::string> registerNames() {
    std::set<std::string> names;
    for (int n = INT16_MIN; n <= INT16_MAX; ++n)
        if (const auto name = tekkel::registerName(static_cast<std::int16_t>(n)); !name.empty())
            names.insert(std::string(name));
    return names;
}

TEST(EditorGrammars, NameEveryCommandAndRegister) {
    const NameList lists[][2] = {
        {{"vim/syntax/tekkel.vim", "syn keyword tekkelCommand ([^\\n]*)", "(\\S+)"},
         {"vim/syntax/tekkel.vim", "syn keyword tekkelRegister ([^\\n]*)", "(\\S+)"}},
        {{"kate/tekkel.xml", "<list name=\"commands\">([\\s\\S]*?)</list>", "<item>([^<]+)</item>"},
         {"kate/tekkel.xml", "<list name=\"registers\">([\\s\\S]*?)</list>",
          "<item>([^<]+)</item>"}},
        {{"vscode/syntaxes/tekkel.tmLanguage.json",
          "\"commands\": \\{\\s*\"match\": \"[^\"]*?\\(\\?:([^)]*)\\)", "([^|]+)"},
         {"vscode/syntaxes/tekkel.tmLanguage.json",
          "\"registers\": \\{\\s*\"match\": \"[^\"]*?\\(\\?:([^)]*)\\)", "([^|]+)"}},
    };
    const std::set<std::string> commands = commandNames(), registers = registerNames();
    for (const auto& [commandList, registerList] : lists) {
        EXPECT_EQ(namesIn(commandList), commands) << commandList.file;
        EXPECT_EQ(namesIn(registerList), registers) << registerList.file;
    }
}

} // namespace
