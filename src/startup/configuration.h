#pragma once

#include "state/program_identity.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace warizan {

// The folders of the suite, worked out from where the program lives and the layout mode.
struct FolderSet {
    QString commonFolder;
    QString programDataFolder;
    QString soundFolder;
};

// `programFolder` has no trailing separator; the folders returned end with one. The paths are kept as
// written (with their ".."), so every program of the suite names the same files the same way.
FolderSet folderSetFor(const QString& programFolder, int layoutMode);

// Last component of a folder path (the text after its last separator).
QString lastPathComponent(const QString& path);

// Splits the site value of the common data: when the first five characters have a numeric value other
// than 0 they are the school code and the rest the name; otherwise the whole value is the name.
void splitSchoolValue(const QString& value, QString* schoolCode, QString* schoolName);

// A start-up file that is missing or cannot be used, with a message for the family.
struct ConfigurationError {
    QString fileName; // the file at fault, e.g. "設定.txt"
    QString path;
    QString message; // Japanese, names the file and what is wrong
};

// Where the values of the start-up files stood, for a check that names the line to look at.
struct StartUpSources {
    QStringList settingsValues; // the ten values of 設定.txt as read
    QList<int> settingsLines;   // and the line of each
    QStringList commonValues;   // the ten values of 共通データ.txt
    QList<int> commonLines;
    QList<int> levelGroupLines; // line on which each level's group of the time-count table begins
};

// Reads the settings and common data, works out the folders, sets the title, then loads the time-count
// table and the sound configuration, in that order. `programFolder` is absolute, without a trailing
// separator. Returns false with `error` filled when a file is missing, short, no regular file, too large
// or in an encoding the suite does not use; nothing is written. `sources`, when given, receives the lines
// the values came from.
[[nodiscard]] bool StartUpConfiguration(ProgramState& state, const QString& programFolder,
                                        ConfigurationError* error, StartUpSources* sources = nullptr);

} // namespace warizan
