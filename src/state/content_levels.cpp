#include "state/content_levels.h"

namespace warizan {

void PrepareContent(LevelTable& levels) {
    static const char16_t* const names[kContentLevelCount] = {u"あまりなし", u"あまりその１", u"あまりその２",
                                                              u"あまりその３"};
    levels.levelCount = kContentLevelCount;
    levels.goalLevel = levels.levelCount;
    for (int level = 1; level <= kContentLevelCount; ++level) {
        levels.levelName[level] = QString::fromUtf16(names[level - 1]);
        levels.levelKind[level] = 1;
    }
}

} // namespace warizan
