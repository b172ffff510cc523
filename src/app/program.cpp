#include "app/program.h"

#include "answers/kept_answers.h"
#include "app/program_forms.h"
#include "platform/gui/display.h"
#include "platform/shown_path.h"
#include "records/score_file.h"
#include "screens/drill_icon.h"
#include "startup/configuration.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace warizan {

Program::Program(std::unique_ptr<SoundDevice> soundDevice, QString programFolder)
    : m_state(std::make_unique<ProgramState>())
    , m_soundDevice(std::move(soundDevice))
    , m_context{*m_state, m_clock, m_dialogs, *m_soundDevice, m_processStarter, m_random}
    , m_programFolder(std::move(programFolder))
    , m_singleInstance(m_programFolder) {
    m_dialogs.atEnd([this] {
        if (m_window)
            m_window->closeForms();
    });
    m_dialogs.atEnd([this] { m_singleInstance.release(); });
}

Program::~Program() = default;

int Program::run() {
    return start() ? QApplication::exec() : 1;
}

bool Program::start() {
    m_state->config.themeColour = kThemeColour;

    // One scale for every form: the largest at which the 1024 x 768 design fits the screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const bool realScreen = screen != nullptr && QGuiApplication::platformName() != u"offscreen";
    display::setScale(realScreen ? display::scaleToFit(screen->size()) : 1.0);

    ConfigurationError error;
    if (!StartUpConfiguration(*m_state, m_programFolder, &error)) {
        m_dialogs.showMessage(contentTitle(), error.message, Dialogs::Icon::Critical);
        return false;
    }

    // What earlier drills kept because the files could not take it (runs, answers) goes to the files first,
    // before any screen counts them; should the files still refuse it, it stays kept for the next append.
    appendPendingRuns(m_state->config, nullptr, answerLogPart(m_state->config, m_clock.now()));
    tellUnreadableKeptRuns();

    m_window = std::make_unique<FormWindow>(m_state->config.themeColour);
    m_window->setWindowTitle(m_state->config.contentHeading);
    m_window->setWindowIcon(drillIcon());
    m_dialogs.setParentWindow(m_window.get());
    m_formContext = std::make_unique<FormContext>(
        FormContext{m_context, *m_window, m_printer, m_singleInstance, m_documents});
    setProgramForms(*m_window, *m_formContext);
    return m_window->show(FormId::namesel);
}

void Program::tellUnreadableKeptRuns() {
    const QString list = m_state->config.pendingRunsFile;
    const int lines = takeUntoldUnreadableLines(list);
    if (lines == 0)
        return;
    m_dialogs.showMessage(
        m_state->config.contentHeading,
        QStringLiteral("取っておいた成績のうち %1 回分が読めませんでした。\n\n"
                       "（おうちの方へ）読めなかった行は消さずに、次のファイルに移してあります。\n%2")
            .arg(lines)
            .arg(shownPath(unreadableRunsFile(list))),
        Dialogs::Icon::Warning);
}

} // namespace warizan
