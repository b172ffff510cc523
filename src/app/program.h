#pragma once

#include "app/form_window.h"
#include "platform/gui/document_opener.h"
#include "platform/gui/printer.h"
#include "platform/gui/widget_dialogs.h"
#include "platform/process_starter.h"
#include "platform/single_instance.h"
#include "state/app_context.h"

#include <QString>
#include <memory>

namespace warizan {

// The running program: owns the program-wide state, the real platform services and the one window, runs
// the start-up sequence and hands over to the selection screen.
class Program final {
public:
    Program(std::unique_ptr<SoundDevice> soundDevice, QString programFolder);
    ~Program();

    // Start-up: theme colour, configuration, tables, then the selection screen as the window's first
    // page. A configuration that cannot be read is reported in a message box naming the file and false is
    // returned, with nothing written; false also when the selection screen ended the program (another copy
    // is running).
    [[nodiscard]] bool start();
    // start(), then the event loop; returns the process's exit code.
    int run();

    ProgramState& state() { return *m_state; }
    FormWindow* window() { return m_window.get(); }

private:
    // Unreadable lines that were moved out of the list of kept runs since the family was last told: said
    // once, with where they are.
    void tellUnreadableKeptRuns();

    std::unique_ptr<ProgramState> m_state;
    SystemClock m_clock;
    WidgetDialogs m_dialogs;
    std::unique_ptr<SoundDevice> m_soundDevice;
    SystemProcessStarter m_processStarter;
    RandomSource m_random;
    SystemPrinter m_printer;
    SystemDocumentOpener m_documents;
    AppContext m_context;
    QString m_programFolder;
    SingleInstance m_singleInstance;
    std::unique_ptr<FormWindow> m_window;
    std::unique_ptr<FormContext> m_formContext;
};

} // namespace warizan
