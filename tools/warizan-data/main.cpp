// warizan-data: reads and writes the drill's data folders with the program's own code, for parents,
// teachers and scripts.

#include "command.h"
#include "menu_figures.h"
#include "platform/console.h"
#include "tool_support.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace warizan::tool {

namespace {

constexpr int kExitData = 1;
constexpr int kExitUsage = 2;

bool isHelpWord(const QString& word) {
    return word == u"--help" || word == u"-h" || word == u"help";
}

QString toolHelp() {
    QString text = QStringLiteral("使い方: warizan-data <コマンド> --program-folder DIR [オプション]\n\n"
                                  "コマンド:\n");
    qsizetype width = 0;
    for (const Command* c : commandTable())
        width = std::max(width, c->name.size());
    for (const Command* c : commandTable())
        text += QStringLiteral("  %1  %2\n").arg(c->name.leftJustified(width), c->summary);
    text +=
        QStringLiteral("\nコマンドごとのオプション: warizan-data <コマンド> --help\n"
                       "終了コード: 0 できた、1 データのためにできなかった、2 コマンドやオプションの誤り\n");
    return text;
}

QString commandHelp(const Command& command) {
    QString text = QStringLiteral("使い方: warizan-data %1\n\n%2\n").arg(synopsis(command), command.summary);
    if (!command.details.isEmpty())
        text += command.details + u'\n';
    text += QStringLiteral("\nオプション:\n");
    qsizetype width = 0;
    for (const OptionSpec& o : command.options)
        width = std::max(width, o.name.size() + o.valueName.size() + 3);
    for (const OptionSpec& o : command.options) {
        const QString option = optionText(o);
        text += QStringLiteral("  %1  %2%3\n")
                    .arg(option.leftJustified(width), o.description,
                         o.required ? QStringLiteral("（必須）") : QString());
    }
    text += QStringLiteral("  %1  この説明を表示します\n").arg(QStringLiteral("--help").leftJustified(width));
    return text;
}

// What is wrong with options the parser refused, in words a family can read.
QString parseFailure(const QCommandLineParser& parser, const QStringList& args) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("知らないオプションです: --%1").arg(unknown.first());
    // Otherwise an option that takes a value stands last with none after it.
    if (!args.isEmpty() && args.last().startsWith(u'-'))
        return QStringLiteral("%1 に値がありません").arg(args.last());
    return QStringLiteral("オプションの書き方が正しくありません（%1）").arg(parser.errorText());
}

int refuse(const Command* command, const QString& message) {
    err() << QStringLiteral("warizan-data%1: %2").arg(command ? u' ' + command->name : QString(), message)
          << Qt::endl;
    err() << (command ? QStringLiteral("使い方: warizan-data %1 --help").arg(command->name)
                      : QStringLiteral("使い方: warizan-data --help"))
          << Qt::endl;
    return kExitUsage;
}

// Checks the values given to the command's options, each one that is not usable said on the error stream,
// then what the options must be together.
bool valuesUsable(const Command& command, const CommandLine& line) {
    bool usable = true;
    for (const OptionSpec& o : command.options) {
        if (!o.check || !line.has(o.name))
            continue;
        const QString complaint = o.check(o.name, line.value(o.name));
        if (!complaint.isEmpty()) {
            err() << complaint << Qt::endl;
            usable = false;
        }
    }
    return usable && (!command.checkTogether || command.checkTogether(line));
}

int dispatch(QStringList args) {
    if (args.isEmpty()) {
        err() << toolHelp();
        return kExitUsage;
    }
    const QString word = args.takeFirst();
    if (isHelpWord(word)) {
        out() << toolHelp();
        return 0;
    }
    const Command* command = nullptr;
    for (const Command* c : commandTable())
        if (c->name == word)
            command = c;
    if (!command)
        return refuse(nullptr, QStringLiteral("知らないコマンドです: %1").arg(word));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    for (const OptionSpec& o : command->options)
        parser.addOption(QCommandLineOption(o.name, o.description, o.valueName));
    if (!parser.parse(QStringList{word} + args))
        return refuse(command, parseFailure(parser, args));
    if (parser.isSet(help)) {
        out() << commandHelp(*command);
        return 0;
    }
    const QStringList words = parser.positionalArguments();
    const int wanted = command->argument.isEmpty() ? 0 : 1;
    if (words.size() > wanted)
        return refuse(command, QStringLiteral("余分な引数です: %1").arg(words.at(wanted)));
    if (words.size() < wanted)
        return refuse(command, QStringLiteral("%1 のどれかを指定してください").arg(command->argument));
    // An option given twice takes its last value, as scripts that add to a command line expect.
    for (const OptionSpec& o : command->options)
        if (o.required && !parser.isSet(o.name))
            return refuse(command, QStringLiteral("--%1 を指定してください").arg(o.name));
    const CommandLine line(parser);
    if (!valuesUsable(*command, line))
        return kExitUsage;
    ToolContext tool;
    applyDateOptions(line, tool.clock);
    if (!loadConfiguration(line, tool)) {
        if (!command->unreadableConfigurationNote.isEmpty())
            out() << command->unreadableConfigurationNote << Qt::endl;
        return kExitData;
    }
    if (command->needs == Needs::MenuFigures && !loadMenuFigures(line, tool))
        return kExitData;
    return command->run(line, tool);
}

} // namespace

} // namespace warizan::tool

int main(int argc, char** argv) {
    warizan::useExactStandardStreams();
    // Every message of the tool is its own and Japanese; Qt's diagnostics for developers (in English, about
    // devices and streams) would only puzzle a family, so they are not shown.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            warizan::tool::err() << message << Qt::endl;
    });
    // Writing a PDF needs the fonts of a GUI application; the tool never opens a window, so it needs no
    // display either. Every other command stays a plain console program.
    bool painting = false;
    for (int i = 1; i < argc; ++i)
        painting = painting || qstrcmp(argv[i], "--pdf") == 0 || qstrncmp(argv[i], "--pdf=", 6) == 0;
    if (painting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = painting ? std::make_unique<QGuiApplication>(argc, argv)
                                                           : std::make_unique<QCoreApplication>(argc, argv);
    return warizan::tool::dispatch(QCoreApplication::arguments().mid(1));
}
