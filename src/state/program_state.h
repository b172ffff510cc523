#pragma once

#include "state/tables.h"
#include "textdata/encoding.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace warizan {

// Configuration worked out once at start-up; read-only afterwards. Every folder except programFolder ends
// with the platform's separator.
struct Configuration {
    QString programFolder;     // folder of the executable, no trailing separator
    QString programFolderName; // last component of programFolder
    int layoutMode = 0;        // 1: suite layout with a sibling "files" folder; else flat layout
    QString commonFolder;
    QString programDataFolder;
    QString soundFolder;
    int schoolYearStartMonth = 0;
    QString schoolCode; // five characters or empty
    QString schoolName;
    int showInactivePupils = 0;
    double commonValue4 = 0;  // read, no effect in this program
    QStringList commonSpares; // values 5 to 10 of the common data, never consulted
    quint32 themeColour = 0;  // 0xRRGGBB
    QString contentHeading;
    // Where runs that the score files could not take wait for the next append: a file of the user's own
    // data folder, outside the suite's folders. Empty: nowhere to keep them.
    QString pendingRunsFile;
    // Where PDFs the program keeps for the family (a report, a fact map, a practice sheet, where there is no
    // printer) go: the drill's own folder under the user's documents, ending with a separator; the
    // program's data folder where the system names no documents folder.
    QString keptDocumentsFolder;
};

// One line of the roster file.
struct RosterEntry {
    int number = 0;
    int birthYear = 0;
    int reserved3 = 0;
    int reserved4 = 0;
    QString name; // 20 characters, blank-padded
    int status = 0;
    QString reserved7;
    QString reserved8;
};

// Tables rebuilt from the roster by each build of the pupil list.
struct RosterTables {
    int gradeBaseYear = 0;
    PupilTable<QString> pupilName;
    PupilTable<qint16> pupilBirthYear;
    PupilTable<QString> pupilGradeLabel;
    std::vector<qint16> rosterPupilNumber = std::vector<qint16>(kPupilSlots + 1); // list position 1..
    int listedCount = 0; // positions 1..listedCount of rosterPupilNumber hold the last build's pupils
    std::vector<RosterEntry> entries = std::vector<RosterEntry>(kPupilSlots + 1); // by listed position 1..
    TextEncoding rosterEncoding =
        TextEncoding::ShiftJis; // the roster is rewritten in the encoding it came in
};

// The pupil who is working, set when a pupil is confirmed on the selection screen.
struct WorkingPupil {
    qint16 currentPupil = 0;
    QString currentPupilName; // 20 characters, blank-padded
    QString currentGradeLabel;
    qint32 startTimer = 0; // seconds since midnight when the pupil was confirmed
    // The clock's monotonic counter at that moment; -1 when not taken.
    qint64 startTimerMs = -1;
    qint16 currentLevel = 0;
    qint16 goalLevelCleared = 0;
};

// The level table: names and kinds from the content, goals and point rules from the time-count file.
struct LevelTable {
    qint16 levelCount = 0;
    int goalLevel = 0;
    LevelArray<QString> levelName;
    LevelArray<qint16> levelKind;
    LevelArray<qint32> levelGoal;
    LevelArray<qint32> levelGoal2;
    LevelArray<qint32> levelBonusPoints;
    LevelArray<qint16> levelBonusRuns;
    LevelArray<float> levelBonusFactor;
    LevelArray<double> levelQuotaRuns;
    LevelArray<double> levelQuotaPoints;
    LevelArray<double> levelRecentDays;
    LevelArray<double> levelQuotaDays;
    LevelArray<std::array<QString, 3>> levelKeptColumns; // columns 10 to 12, unused
    int groupsLoaded = 0;                                // groups of twelve fields read from the file
};

// The newest score records as loaded by the count, 20000 slots indexed by load position 1.. .
inline constexpr int kMaxLoadedRecords = 20000;
struct LoadedRecords {
    std::vector<double> recordDate = std::vector<double>(kMaxLoadedRecords + 1);
    std::vector<double> recordClock = std::vector<double>(kMaxLoadedRecords + 1);
    std::vector<qint16> recordPupil = std::vector<qint16>(kMaxLoadedRecords + 1);
    std::vector<qint16> recordLevel = std::vector<qint16>(kMaxLoadedRecords + 1);
    std::vector<qint32> recordResult = std::vector<qint32>(kMaxLoadedRecords + 1);
    qint16 loadedRecordCount = 0;
};

// Result value meaning both "time ran out" and "no best result yet".
inline constexpr qint32 kNoResult = 99999;

// Per-pupil figures rebuilt from the score file by every count.
struct PupilFigures {
    LevelPupilTable<float> todayCount;
    LevelPupilTable<qint32> todayPoints;
    LevelPupilTable<qint16> totalCount;
    LevelPupilTable<qint32> totalPoints;
    LevelPupilTable<qint16> recentCount;
    LevelPupilTable<qint32> recentPoints;
    LevelPupilTable<qint16> quotaCount;
    LevelPupilTable<qint32> quotaPoints;
    LevelPupilTable<qint32> bestResult;
    LevelArray<qint32> levelBestResult;
    LoadedRecords loaded;
    // Set by the end-of-drill bookkeeping, cleared by the result screen once shown.
    qint16 newPersonalBest = 0;
    qint16 newLevelBest = 0;
    qint16 alreadyCleared = 0;
};

// Values of the drill that is running.
struct RunningDrill {
    qint16 questionsPerSheet = 10;
    qint32 solvedCount = 0;
    double drillStartTime = 0;
    // The clock's monotonic counter when the drill clock started.
    qint64 drillStartMs = 0;
    qint32 elapsedSeconds = 0;
    qint32 timeLimitSeconds = 0;
    qint32 finalTime = 0;
    qint16 timeUp = 0;
    qint16 sheetFinished = 0;
    qint16 drillEnding = 0;
    qint16 judgingBusy = 0;
    qint16 judgement = 0; // 0 none, 1 correct, 2 wrong
    qint16 correctionState = 0;
    // The question asked last, kept for the whole run so that no quotient or divisor repeats from one
    // question to the next, not even from one drill to the next; 0 before the first question.
    qint32 previousQuotient = 0;
    qint32 previousDivisor = 0;
    // The sheet is a 苦手れんしゅう drawn from the fact map: no time limit, no score record.
    bool practice = false;
};

// Sound events and the state of the last cue.
inline constexpr int kSoundEvents = 10;
inline constexpr int kSoundFilesPerEvent = 20;
inline constexpr int kSoundCountRow = 21;
struct SoundState {
    // soundTable[column][row]: row 0 the event name, rows 1..20 file names, row 21 the count as text.
    std::array<std::array<QString, kSoundCountRow + 1>, kSoundEvents + 1> soundTable;
    qint16 soundFailCount = 0;
    // Why the first of the failed answer cues in a row failed: the cause the family is told about when the
    // fourth ends the program (later failures often only echo the first).
    QString firstFailureReply;
    QString lastCommand;
    QString lastResultCode;
    QString lastReply;
};

// The level menu's choices, kept while the menu is unloaded for a drill.
struct LevelMenuState {
    int firstVisibleRow = 0; // leftmost level column shown; 0 until the menu has been shown
    qint16 displayMode = 1;  // 1 times, 2 points
    qint16 pointsOrder = 1;  // 1 by points so far, 2 by points today
    qint16 listMode = 1;     // 1 rankings and best list, 2 today's list, 3 personal list
    qint16 resultsPeriod = 5;
    QString gradeFilter; // the lists' grade filter; the selection screen hands on its own on O.K.
};

// Everything the screens hand each other, owned by the program for its whole run.
struct ProgramState {
    Configuration config;
    RosterTables roster;
    WorkingPupil pupil;
    LevelTable levels;
    PupilFigures figures;
    RunningDrill drill;
    SoundState sound;
    LevelMenuState levelMenu;
};

} // namespace warizan
