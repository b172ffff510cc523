#pragma once

#include <QCommandLineParser>
#include <QString>
#include <vector>

namespace warizan::tool {

// One option of a command: "--name VALUE", or a switch "--name" when it has no value name.
struct OptionSpec {
    QString name;        // without the leading "--"
    QString valueName;   // how the help writes the value, e.g. "YYYY-MM-DD"; empty for a switch
    QString description; // Japanese; an optional option says what holds when it is left out
    bool required = false;
};

// The options of the command line, as parsed for one command.
class CommandLine final {
public:
    explicit CommandLine(const QCommandLineParser& parser)
        : m_parser(parser) {}
    bool has(const QString& name) const { return m_parser.isSet(name); }
    QString value(const QString& name) const { return m_parser.value(name); }
    // The command's argument, for a command that takes one; empty otherwise.
    QString argument() const {
        return m_parser.positionalArguments().isEmpty() ? QString() : m_parser.positionalArguments().first();
    }

private:
    const QCommandLineParser& m_parser;
};

// A command of the tool. The dispatcher builds the parser, the tool's and the command's help and the
// refusal of bad options from these fields alone, so the help always says what the command accepts.
struct Command {
    QString name;
    QString summary; // one line for the tool's list of commands
    QString details; // more lines for the command's own help; may be empty
    std::vector<OptionSpec> options;
    // Runs with options already checked to be known, given a value, and present when required. Returns the
    // exit code: 0 done, 1 the data would not let it be done, 2 a value of an option is not usable.
    int (*run)(const CommandLine& line);
    // The one word the command takes before its options (e.g. "today|period|personal"), or empty for none.
    QString argument = {};
};

// The commands in the order the help lists them.
const std::vector<const Command*>& commandTable();

// Options several commands share.
OptionSpec programFolderOption();
OptionSpec todayOption();
OptionSpec nowOption();

// "pupils --program-folder DIR [--today YYYY-MM-DD] ...": the command word and its options, optional ones
// in brackets, as the help and the README write them.
QString synopsis(const Command& command);
// "--name VALUE", or "--name" for a switch.
QString optionText(const OptionSpec& option);

} // namespace warizan::tool
