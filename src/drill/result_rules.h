#pragma once

#include "state/program_state.h"

#include <QString>

namespace warizan {

// The rules of the result screen, over the figures of the count that follows a drill. The points it shows
// are those of the points rule (records/points.h).

// A number in its shortest decimal form: 1.5 as "1.5", 2 as "2".
QString shortestNumber(double value);
QString shortestNumber(float value);

// "獲得ポイント：11点×1.5→16点"
QString pointsText(qint32 runPoints, float factor, qint32 earnedPoints);
// "今の成績：60秒", or "記録なし" for an unfinished run.
QString resultTimeText(qint32 finalTime);

// The level counts as cleared: enough runs and points of the pupil inside the recent window.
bool levelCleared(const ProgramState& state, int level, int pupil);
// The quota of runs or of points inside the quota window is met (a quota of 0 asks for nothing).
bool quotaMet(const ProgramState& state, int level, int pupil);
// The goal-level message may show: no level 1 to 35 carries the run count 9999.
bool goalMessageAllowed(const LevelTable& levels);

// What the banner says after a drill and which cue goes with it; the first case that applies wins.
enum class ResultBanner {
    None,         // no banner
    TimeUp,       // "時間切れ", no cue
    TopRecord,    // "！！！最高新記録！！！" with the top-record cue
    PersonalBest, // "新記録おめでとう" with the personal-best cue
};
struct BannerChoice {
    ResultBanner banner = ResultBanner::None;
    bool failCue = false; // no record, and a time at or below the second time
    friend bool operator==(const BannerChoice&, const BannerChoice&) = default;
};
BannerChoice chooseBanner(bool timeUp, bool newPersonalBest, bool newLevelBest, qint32 finalTime,
                          qint32 goal2);
QString bannerText(ResultBanner banner);

// What the result screen offers once its delay has passed.
enum class RetryOffer {
    Offer,                   // "もう一度" beside "メニューへ"
    OfferAndHideClearedText, // the goal level is done: the cleared message goes, "もう一度" stays
    MoveOn,                  // "次のレベルへ進みましょう": only "メニューへ"
};
RetryOffer retryOffer(bool quotaMet, bool cleared, bool goalLevel, bool goalLevelCleared);

inline const QString kMoveOnText = QStringLiteral("次のレベルへ進みましょう");

} // namespace warizan
