#include "records/level_table_file.h"

#include "textdata/text_data.h"

#include <algorithm>

namespace warizan {

bool loadLevelTable(const QString& path, LevelTable& levels, QString* error, QList<int>* groupLines) {
    TextDataReader reader;
    QString why;
    if (!reader.load(path, &why)) {
        if (error)
            *error = QStringLiteral("%1 を読めません。%2").arg(kLevelTableFileName, why);
        return false;
    }
    const qsizetype fields = reader.fieldCount();
    const qsizetype groups = fields / 12;
    if (fields % 12 != 0) {
        if (error)
            *error = QStringLiteral("%1 の値の数が12の倍数になっていません（%2個あります）。"
                                    "最後のレベルの値が足りません。")
                         .arg(kLevelTableFileName)
                         .arg(fields);
        return false;
    }
    if (groups < kMinLevelGroups) {
        if (error)
            *error = QStringLiteral("%1 の値が足りません。レベル0から4までの5組（各12個）が必要ですが、"
                                    "%2組しかありません。")
                         .arg(kLevelTableFileName)
                         .arg(groups);
        return false;
    }
    if (groups > kMaxLevelGroups) {
        if (error)
            *error = QStringLiteral("%1 の組が多すぎます。レベル0から35までの36組までですが、%2組あります。")
                         .arg(kLevelTableFileName)
                         .arg(groups);
        return false;
    }
    if (groupLines)
        groupLines->clear();
    for (int level = 0; level < groups; ++level) {
        if (groupLines)
            groupLines->append(reader.nextLine());
        levels.levelGoal[level] = reader.readInt();
        levels.levelGoal2[level] = reader.readInt();
        levels.levelBonusPoints[level] = reader.readInt();
        levels.levelBonusRuns[level] = static_cast<qint16>(std::clamp(reader.readInt(), -32768, 32767));
        levels.levelBonusFactor[level] = static_cast<float>(reader.readNumber());
        levels.levelQuotaRuns[level] = reader.readNumber();
        levels.levelQuotaPoints[level] = reader.readNumber();
        levels.levelRecentDays[level] = reader.readNumber();
        levels.levelQuotaDays[level] = reader.readNumber();
        for (QString& kept : levels.levelKeptColumns[level])
            kept = reader.readText();
    }
    levels.groupsLoaded = static_cast<int>(groups);
    return true;
}

} // namespace warizan
