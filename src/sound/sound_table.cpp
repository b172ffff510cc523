#include "sound/sound_table.h"

#include "textdata/text_data.h"

#include <algorithm>

namespace warizan {

QString soundEventName(int column) {
    static const char16_t* const names[kSoundEvents + 1] = {
        u"",        u"正解音1",     u"正解音2",     u"間違い音1",   u"間違い音2", u"最高音1",
        u"最高音2", u"自己最高音1", u"自己最高音2", u"自己最高音3", u"不合格音1"};
    return (column >= 1 && column <= kSoundEvents) ? QString::fromUtf16(names[column]) : QString();
}

bool loadSoundTable(const QString& path, SoundState& sound, QString* error) {
    auto& table = sound.soundTable;
    for (int c = 1; c <= kSoundEvents; ++c)
        table[c][0] = soundEventName(c);

    TextDataReader reader;
    QString why;
    if (!reader.load(path, &why)) {
        if (error)
            *error = QStringLiteral("%1 を読めません。%2").arg(kSoundTableFileName, why);
        return false;
    }
    while (!reader.atEnd()) {
        const QString v = reader.readText();
        for (int c = 1; c <= kSoundEvents; ++c) {
            if (table[c][0] != v)
                continue;
            for (int d = 1; d <= kSoundFilesPerEvent && !reader.atEnd(); ++d) {
                const QString name = reader.readText();
                if (name == u"*") {
                    table[c][kSoundCountRow] = QString::number(d - 1);
                    break;
                }
                table[c][d] = name;
            }
        }
    }
    return true;
}

int soundFileCount(const SoundState& sound, int column) {
    if (column < 1 || column > kSoundEvents)
        return 0;
    // The row holds what the reader stored, but a number out of int's range must not reach the cast.
    const double count = leadingNumber(sound.soundTable[column][kSoundCountRow]);
    return count < 0 ? 0 : static_cast<int>(std::min(count, double(kSoundFilesPerEvent)));
}

} // namespace warizan
