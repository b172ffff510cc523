#include "drill/result_rules.h"

#include "records/score_record.h"

#include <charconv>

namespace warizan {

namespace {
constexpr qint16 kNoGoalMessageRuns = 9999;

template <typename T> QString shortest(T value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QString::fromLatin1(buffer, end - buffer);
}
} // namespace

QString shortestNumber(double value) {
    return shortest(value);
}

QString shortestNumber(float value) {
    return shortest(value);
}

QString pointsText(qint32 runPoints, float factor, qint32 earnedPoints) {
    return QStringLiteral("獲得ポイント：%1点×%2→%3点")
        .arg(runPoints)
        .arg(shortestNumber(factor))
        .arg(earnedPoints);
}

QString resultTimeText(qint32 finalTime) {
    if (finalTime >= kNoPointsResult)
        return QStringLiteral("記録なし");
    return QStringLiteral("今の成績：%1秒").arg(finalTime);
}

bool levelCleared(const ProgramState& state, int level, int pupil) {
    const PupilFigures& f = state.figures;
    return f.recentCount.at(level, pupil) >= state.levels.levelBonusRuns[level] &&
           f.recentPoints.at(level, pupil) >= state.levels.levelBonusPoints[level];
}

bool quotaMet(const ProgramState& state, int level, int pupil) {
    const LevelTable& levels = state.levels;
    const PupilFigures& f = state.figures;
    return (levels.levelQuotaRuns[level] != 0 &&
            f.quotaCount.at(level, pupil) >= levels.levelQuotaRuns[level]) ||
           (levels.levelQuotaPoints[level] != 0 &&
            f.quotaPoints.at(level, pupil) >= levels.levelQuotaPoints[level]);
}

bool goalMessageAllowed(const LevelTable& levels) {
    for (int level = 1; level <= kMaxLevel; ++level) {
        if (levels.levelBonusRuns[level] == kNoGoalMessageRuns)
            return false;
    }
    return true;
}

BannerChoice chooseBanner(bool timeUp, bool newPersonalBest, bool newLevelBest, qint32 finalTime,
                          qint32 goal2) {
    if (timeUp)
        return {ResultBanner::TimeUp, false};
    if (newLevelBest)
        return {ResultBanner::TopRecord, false};
    if (newPersonalBest)
        return {ResultBanner::PersonalBest, false};
    return {ResultBanner::None, finalTime <= goal2};
}

QString bannerText(ResultBanner banner) {
    switch (banner) {
    case ResultBanner::TimeUp:
        return QStringLiteral("時間切れ");
    case ResultBanner::TopRecord:
        return QStringLiteral("！！！最高新記録！！！");
    case ResultBanner::PersonalBest:
        return QStringLiteral("新記録おめでとう");
    case ResultBanner::None:
        break;
    }
    return {};
}

RetryOffer retryOffer(bool quotaMet, bool cleared, bool goalLevel, bool goalLevelCleared) {
    if (!quotaMet || !cleared)
        return RetryOffer::Offer;
    if (goalLevel)
        return RetryOffer::OfferAndHideClearedText;
    return goalLevelCleared ? RetryOffer::Offer : RetryOffer::MoveOn;
}

} // namespace warizan
