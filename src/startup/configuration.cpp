#include "startup/configuration.h"

#include "platform/shown_path.h"
#include "records/level_table_file.h"
#include "records/pending_runs.h"
#include "sound/sound_table.h"
#include "textdata/text_data.h"

#include <QDir>
#include <QStandardPaths>
#include <algorithm>

namespace warizan {

namespace {

QString sep() {
    return QDir::separator();
}

// Reads exactly ten values of a start-up file; values past the tenth are never looked at.
bool readTenValues(const QString& path, const QString& fileName, QStringList* values, QList<int>* lines,
                   ConfigurationError* error) {
    TextDataReader reader;
    QString why;
    if (!reader.load(path, &why)) {
        if (error)
            *error = {fileName, path,
                      QStringLiteral("%1 を読めません。%2\n%3").arg(fileName, why, shownPath(path))};
        return false;
    }
    if (reader.fieldCount() < 10) {
        if (error)
            *error = {fileName, path,
                      QStringLiteral("%1 の値が足りません。10個の値が必要ですが、%2個しかありません。\n%3")
                          .arg(fileName)
                          .arg(reader.fieldCount())
                          .arg(shownPath(path))};
        return false;
    }
    values->clear();
    QList<int> where;
    for (int i = 0; i < 10; ++i) {
        values->append(reader.readText());
        where.append(reader.lastLine());
    }
    if (lines)
        *lines = where;
    return true;
}

// A folder the family finds among their own documents, named after the drill, rather than one beside the
// program's libraries.
QString keptDocumentsFolderFor(const QString& title) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QString()
                               : QDir::toNativeSeparators(QDir(documents).filePath(title)) + sep();
}

} // namespace

FolderSet folderSetFor(const QString& programFolder, int layoutMode) {
    FolderSet folders;
    if (layoutMode == 1) {
        folders.commonFolder =
            programFolder + sep() + QStringLiteral("..") + sep() + QStringLiteral("files") + sep();
        folders.programDataFolder = programFolder + sep();
        folders.soundFolder =
            folders.commonFolder + QStringLiteral("..") + sep() + QStringLiteral("files") + sep();
    } else {
        folders.commonFolder = programFolder + sep() + QStringLiteral("..") + sep();
        folders.programDataFolder = folders.commonFolder + lastPathComponent(programFolder) + sep();
        folders.soundFolder = folders.commonFolder + QStringLiteral("音フォルダ") + sep();
    }
    return folders;
}

QString lastPathComponent(const QString& path) {
    // Windows takes "/" as a separator too, and Qt hands out folders written with it.
    const qsizetype cut = std::max(path.lastIndexOf(sep()), path.lastIndexOf(u'/'));
    return cut < 0 ? path : path.mid(cut + 1);
}

void splitSchoolValue(const QString& value, QString* schoolCode, QString* schoolName) {
    // Five characters, one fewer where the fifth starts a surrogate pair: a cut never splits a character.
    const qsizetype cut = value.size() > 5 && value.at(4).isHighSurrogate() ? 4 : 5;
    if (leadingNumber(value.left(cut)) != 0) {
        *schoolCode = value.left(cut);
        *schoolName = value.mid(cut);
    } else {
        schoolCode->clear();
        *schoolName = value;
    }
}

bool StartUpConfiguration(ProgramState& state, const QString& programFolder, ConfigurationError* error,
                          StartUpSources* sources) {
    StartUpSources ignored;
    StartUpSources& where = sources ? *sources : ignored;
    Configuration& config = state.config;
    config.programFolder = programFolder;

    QStringList settings;
    const QString settingsName = QStringLiteral("設定.txt");
    if (!readTenValues(programFolder + sep() + settingsName, settingsName, &settings, &where.settingsLines,
                       error))
        return false;
    where.settingsValues = settings;
    config.layoutMode = wholeNumber(leadingNumber(settings.at(0)));

    const FolderSet folders = folderSetFor(programFolder, config.layoutMode);
    config.commonFolder = folders.commonFolder;

    QStringList common;
    const QString commonName = QStringLiteral("共通データ.txt");
    if (!readTenValues(config.commonFolder + commonName, commonName, &common, &where.commonLines, error))
        return false;
    where.commonValues = common;
    config.schoolYearStartMonth = wholeNumber(leadingNumber(common.at(0)));
    splitSchoolValue(common.at(1), &config.schoolCode, &config.schoolName);
    config.showInactivePupils = wholeNumber(leadingNumber(common.at(2)));
    config.commonValue4 = leadingNumber(common.at(3));
    config.commonSpares = common.mid(4);

    config.programFolderName = lastPathComponent(programFolder);
    config.programDataFolder = folders.programDataFolder;
    config.soundFolder = folders.soundFolder;
    config.contentHeading = contentTitle();
    config.pendingRunsFile = defaultPendingRunsFile();
    config.keptDocumentsFolder = keptDocumentsFolderFor(config.contentHeading);
    if (config.keptDocumentsFolder.isEmpty())
        config.keptDocumentsFolder = config.programDataFolder;

    QString why;
    const QString levelPath = config.programDataFolder + kLevelTableFileName;
    if (!loadLevelTable(levelPath, state.levels, &why, &where.levelGroupLines)) {
        if (error)
            *error = {kLevelTableFileName, levelPath, why + u'\n' + shownPath(levelPath)};
        return false;
    }
    const QString soundPath = config.soundFolder + kSoundTableFileName;
    if (!loadSoundTable(soundPath, state.sound, &why)) {
        if (error)
            *error = {kSoundTableFileName, soundPath, why + u'\n' + shownPath(soundPath)};
        return false;
    }
    return true;
}

} // namespace warizan
