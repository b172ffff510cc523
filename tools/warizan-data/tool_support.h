#pragma once

#include "state/app_context.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/process_starter.h"

#include <QStringList>
#include <QTextStream>
#include <map>
#include <memory>
#include <optional>

namespace warizan::tool {

// Command-line options: "--name value" pairs after the command word.
class Options final {
public:
    // Returns nullopt with `error` set when an option has no value or is not one of `known`.
    static std::optional<Options> parse(const QStringList& args, const QStringList& known, QString* error);
    bool has(const QString& name) const { return m_values.count(name) != 0; }
    QString value(const QString& name) const;

private:
    std::map<QString, QString> m_values;
};

// The option every command takes: the folder that holds the program and its settings.
inline const QString kProgramFolderOption = QStringLiteral("program-folder");

// Options::parse, printing what is wrong when the arguments do not fit.
std::optional<Options> parseOrComplain(const QStringList& args, const QStringList& known);

// The system's clock, with today and now taken from the options when given. Waits are real.
class ToolClock final : public Clock {
public:
    QDateTime now() const override;
    qint64 monotonicMs() const override { return m_system.monotonicMs(); }
    void waitLettingEventsRun(int ms) override { m_system.waitLettingEventsRun(ms); }
    void setToday(const QDate& date) { m_today = date; }
    void setTime(const QTime& time) { m_time = time; }

private:
    SystemClock m_system;
    std::optional<QDate> m_today;
    std::optional<QTime> m_time;
};

// Messages go to the error stream; the end of the program is recorded so the command exits non-zero.
class ConsoleDialogs final : public Dialogs {
public:
    void showMessage(const QString& title, const QString& text, Icon icon) override;
    void endProgram(int exitCode) override {
        ended = true;
        code = exitCode;
    }
    bool ended = false;
    int code = 0;
};

// The tool never plays a sound.
class NoSoundDevice final : public SoundDevice {
public:
    Outcome play(const QString&) override { return {false, QStringLiteral("音は鳴らしません")}; }
};

// The program-wide state and the services as the program's routines see them, for one command.
struct ToolContext {
    ToolContext();
    std::unique_ptr<ProgramState> state;
    ToolClock clock;
    ConsoleDialogs dialogs;
    NoSoundDevice sound;
    SystemProcessStarter starter;
    RandomSource random;
    AppContext context;
};

QTextStream& out();
QTextStream& err();

// Reads the folder set, settings, time-count table and sound configuration as start-up does, with
// `programFolder` made absolute and stripped of a trailing separator. Prints the error and returns false
// when the configuration cannot be read.
bool loadConfiguration(const Options& options, ProgramState& state);

// Applies --today YYYY-MM-DD and --now HH:MM:SS to the clock; false with a message when malformed.
bool applyDateOptions(const Options& options, ToolClock& clock);

} // namespace warizan::tool
