#pragma once

#include "state/program_state.h"

#include <QList>
#include <QString>

namespace warizan {

inline const QString kLevelTableFileName = QStringLiteral("タイム回数データ.txt");

// Groups of twelve fields the time-count file must hold: level 0 and the content's four levels...
inline constexpr int kMinLevelGroups = 5;
// ...and the most it may hold (levels 0 to 35).
inline constexpr int kMaxLevelGroups = 36;

// Reads the per-level goals and point rules: consecutive groups of twelve fields, the first for level 0.
// Returns false with a Japanese description when the file is missing, has a group cut short, holds fewer
// than five groups or more than 36; the table is then left as it was. `groupLines`, when given, receives the
// line on which each group begins.
bool loadLevelTable(const QString& path, LevelTable& levels, QString* error,
                    QList<int>* groupLines = nullptr);

} // namespace warizan
