#pragma once

#include "command.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/process_starter.h"
#include "roster/roster_display.h"
#include "startup/configuration.h"
#include "state/app_context.h"

#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

namespace warizan::tool {

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
    StartUpSources sources; // the lines the configuration was read from
    ToolClock clock;
    ConsoleDialogs dialogs;
    NoSoundDevice sound;
    SystemProcessStarter starter;
    RandomSource random;
    AppContext context;
};

QTextStream& out();
QTextStream& err();

// Seeds the tool's random source from --seed, or without it from the time of day, as the program seeds its
// sheets, so the same seed gives the same sheet.
void seedRandom(const CommandLine& line, ToolContext& tool);

// Says on the error stream that the roster cannot be read yet and the build waits to read it again (the
// program shows its waiting panel meanwhile).
void sayRosterWait(const RosterWait& wait);

// Reads the folder set, settings, time-count table and sound configuration as start-up does, with
// --program-folder made absolute and stripped of a trailing separator, noting the lines they came from.
// Prints the error and returns false when the configuration cannot be read.
bool loadConfiguration(const CommandLine& line, ToolContext& tool);

// The grade filter a list is made under: --filter, "全学年" when left out.
QString gradeFilterOption(const CommandLine& line);

// Applies --today and --now, their values checked, to the clock.
void applyDateOptions(const CommandLine& line, ToolClock& clock);

// Restores a roster an interrupted save left missing, as the selection screen does; false, saying why,
// when there is no roster to read.
bool recoverRoster(const Configuration& config);

// The name of `pupil` in the roster, without its padding; empty when the roster does not name the pupil or
// cannot be read.
QString rosterNameOf(const Configuration& config, int pupil);

} // namespace warizan::tool
