#pragma once

#include <QCommandLineParser>
#include <QString>
#include <functional>
#include <vector>

namespace warizan::tool {

struct ToolContext;

// Says what is wrong with `value`, given to the option `name`, in words a family can read; empty when the
// value is usable.
using ValueCheck = std::function<QString(const QString& name, const QString& value)>;

// One option of a command: "--name VALUE", or a switch "--name" when it has no value name.
struct OptionSpec {
    QString name;        // without the leading "--"
    QString valueName;   // how the help writes the value, e.g. "YYYY-MM-DD"; empty for a switch
    QString description; // Japanese; an optional option says what holds when it is left out
    bool required = false;
    ValueCheck check = {}; // run on a value given before anything is loaded; none: any value will do
};

// A whole number from `low` to `high`.
ValueCheck wholeNumber(int low, int high);

// The options of the command line, as parsed for one command.
class CommandLine final {
public:
    explicit CommandLine(const QCommandLineParser& parser)
        : m_parser(parser) {}
    bool has(const QString& name) const { return m_parser.isSet(name); }
    QString value(const QString& name) const { return m_parser.value(name); }
    // The value of an option checked as a whole number, or `fallback` when it was left out.
    int number(const QString& name, int fallback = 0) const {
        return has(name) ? value(name).toInt() : fallback;
    }
    // The command's argument, for a command that takes one; empty otherwise.
    QString argument() const {
        return m_parser.positionalArguments().isEmpty() ? QString() : m_parser.positionalArguments().first();
    }

private:
    const QCommandLineParser& m_parser;
};

// What a command stands on, loaded before it runs. Every command reads the configuration the program would
// start with; the level menu's commands also need its figures.
enum class Needs {
    Configuration,
    // The configuration, the roster's pupil list as the level menu ranks it (which counts the score file as
    // of --today), the content's levels and the working pupil (--pupil, nobody when left out).
    MenuFigures,
};

// A command of the tool. The dispatcher builds the parser, the tool's and the command's help and the
// refusal of bad options from these fields alone, so the help always says what the command accepts. Before
// the command runs it checks the options' values (exit 2), applies --today and --now to the tool's clock,
// and loads what the command needs (exit 1 when the data does not allow it), saying what is wrong.
struct Command {
    QString name = {};
    QString summary = {}; // one line for the tool's list of commands
    QString details = {}; // more lines for the command's own help; may be empty
    std::vector<OptionSpec> options = {};
    Needs needs = Needs::Configuration;
    // Runs on what the command needs, loaded. Returns the exit code: 0 done, 1 the data would not let it be
    // done, 2 a value of an option is not usable.
    int (*run)(const CommandLine& line, ToolContext& tool) = nullptr;
    // The one word the command takes before its options (e.g. "today|period|personal"), or empty for none.
    QString argument = {};
    // What the options must be together (one asking for another), checked with their values; says what is
    // wrong and returns false when they cannot go together.
    bool (*checkTogether)(const CommandLine& line) = nullptr;
    // Said on the standard output, for a command whose output is a report, when the configuration cannot
    // be read.
    QString unreadableConfigurationNote = {};
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
