#pragma once

#include "state/app_context.h"
#include "test_doubles.h"
#include "textdata/encoding.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

namespace warizan::test {

// True once `process` has ended, waiting at most `ms`. Unlike QProcess::waitForFinished() alone, also true
// for a process whose end was already handled while the code under test let events run.
bool finishedWithin(QProcess& process, int ms);

// Writes `text` to `path` (creating folders) in the given encoding, CRLF line ends where the text has "\n".
void writeTextFile(const QString& path, const QString& text, TextEncoding encoding = TextEncoding::ShiftJis);
QByteArray readBytes(const QString& path);

// A sound device that plays nothing: it records the paths asked for and answers from a script (success
// when the script is empty).
class ScriptedSoundDevice final : public SoundDevice {
public:
    Outcome play(const QString& path) override;
    void failNext(const QString& errorText, int times = 1);
    QStringList played;
    // Runs while a sound "plays": what happens at the keyboard meanwhile.
    std::function<void(const QString& path)> whilePlaying;
    std::deque<Outcome> script;
};

// A suite folder in a temporary directory with a sound configuration, settings, common data and a
// time-count table, ready for StartUpConfiguration. Layout 0 (flat): <root>/drill is the program folder,
// <root> the common folder, <root>/音フォルダ the sound folder.
class TempSuite final {
public:
    explicit TempSuite(int layoutMode = 0);
    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString programFolder() const;
    QString commonFolder() const;
    QString programDataFolder() const;
    QString soundFolder() const;

    void writeSettings(const QString& text);
    void writeCommon(const QString& text);
    // Five groups (levels 0 to 4): goal 60/120/..., factor 1, windows 7 and 30 days.
    void writeDefaultLevelTable();
    void writeLevelTable(const QString& text);
    void writeSoundTable(const QString& text);
    void writeRoster(const QString& text, TextEncoding encoding = TextEncoding::ShiftJis);

private:
    QTemporaryDir m_dir;
    int m_layoutMode;
};

// A small file system of its own mounted on `folder` while it lives (only root may mount; isMounted()
// tells): it can be made read-only or filled up, as a family's USB stick or full disk would be. Whatever
// the folder held is hidden meanwhile.
class SmallDisk final {
public:
    explicit SmallDisk(const QString& folder);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool isMounted() const { return m_mounted; }
    bool setReadOnly(bool readOnly);
    // Leaves no room for one more byte in a new block; empty() gives the room back.
    void fill();
    bool empty();

private:
    QString m_folder;
    bool m_mounted = false;
};

// Program state and test doubles of every platform service, tied together as the screens see them.
struct TestContext {
    TestContext();
    std::unique_ptr<ProgramState> state;
    ManualClock clock;
    RecordingDialogs dialogs;
    ScriptedSoundDevice sound;
    struct RecordingStarter final : ProcessStarter {
        bool startDetached(const QString& program, const QStringList& arguments) override {
            starts.push_back({program, arguments});
            return result;
        }
        std::vector<std::pair<QString, QStringList>> starts;
        bool result = true;
    } starter;
    RandomSource random;
    AppContext context;
};

} // namespace warizan::test
