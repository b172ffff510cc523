#include "answers/kept_answers.h"

#include "answers/answer_database.h"

#include <QJsonArray>
#include <algorithm>

namespace warizan {

namespace {

const QString kPupilKey = QStringLiteral("pupil");
const QString kLevelKey = QStringLiteral("level");
const QString kStartKey = QStringLiteral("start");
const QString kEndKey = QStringLiteral("end");
const QString kResultKey = QStringLiteral("result");
const QString kQuestionsKey = QStringLiteral("questions");
const QString kKindKey = QStringLiteral("kind"); // left out for a drill, as runs kept before kinds were

// A question as a short array: number, quotient, divisor, remainder, typed quotient, typed remainder,
// correct (true, false, or null when unanswered), milliseconds.
QJsonArray questionForm(const AskedQuestion& asked) {
    return {asked.number,
            asked.question.quotient,
            asked.question.divisor,
            asked.question.remainder,
            asked.typedQuotient,
            asked.typedRemainder,
            asked.correct ? QJsonValue(*asked.correct) : QJsonValue(QJsonValue::Null),
            asked.ms};
}

std::optional<AskedQuestion> questionOf(const QJsonValue& value) {
    const QJsonArray form = value.toArray();
    if (form.size() != 8 || !form[4].isString() || !form[5].isString())
        return std::nullopt;
    AskedQuestion asked;
    asked.number = form[0].toInt(-1);
    asked.question.quotient = form[1].toInt(-1);
    asked.question.divisor = form[2].toInt(-1);
    asked.question.remainder = form[3].toInt(-1);
    asked.typedQuotient = form[4].toString();
    asked.typedRemainder = form[5].toString();
    if (form[6].isBool())
        asked.correct = form[6].toBool();
    else if (!form[6].isNull())
        return std::nullopt;
    asked.ms = form[7].toInteger(-1);
    if (asked.number < 1 || asked.question.quotient < 0 || asked.question.divisor < 1 ||
        asked.question.remainder < 0 || asked.ms < 0)
        return std::nullopt;
    return asked;
}

} // namespace

QJsonObject keptFormOf(const DrillLog& drill) {
    QJsonArray questions;
    for (const AskedQuestion& asked : drill.questions)
        questions.append(questionForm(asked));
    QJsonObject kept{{kPupilKey, drill.pupil},
                     {kLevelKey, drill.level},
                     {kStartKey, drill.start.toString(Qt::ISODateWithMs)},
                     {kEndKey, drill.end.toString(Qt::ISODateWithMs)},
                     {kResultKey, drill.result},
                     {kQuestionsKey, questions}};
    if (drill.kind != DrillKind::Drill)
        kept.insert(kKindKey, drillKindName(drill.kind));
    return kept;
}

std::optional<DrillLog> drillFromKeptForm(const QJsonObject& kept) {
    DrillLog drill;
    drill.pupil = kept.value(kPupilKey).toInt(-1);
    drill.level = kept.value(kLevelKey).toInt(-1);
    drill.start = QDateTime::fromString(kept.value(kStartKey).toString(), Qt::ISODateWithMs);
    drill.end = QDateTime::fromString(kept.value(kEndKey).toString(), Qt::ISODateWithMs);
    const QJsonValue result = kept.value(kResultKey);
    drill.result = result.toInt(-1);
    if (drill.pupil < 0 || drill.level < 0 || !drill.start.isValid() || !drill.end.isValid() ||
        !result.isDouble() || !kept.value(kQuestionsKey).isArray())
        return std::nullopt;
    if (kept.contains(kKindKey)) {
        const auto kind = drillKindOf(kept.value(kKindKey).toString());
        if (!kind)
            return std::nullopt;
        drill.kind = *kind;
    }
    for (const QJsonValue& value : kept.value(kQuestionsKey).toArray()) {
        const auto asked = questionOf(value);
        if (!asked)
            return std::nullopt;
        drill.questions.push_back(*asked);
    }
    return drill;
}

DrillAnswers answerLogPart(const Configuration& config, const QDateTime& now,
                           const std::optional<DrillLog>& drill) {
    DrillAnswers part;
    part.answerLog = placeOfFile(answerLogPath(config.programDataFolder));
    if (drill)
        part.answers = keptFormOf(*drill);
    part.land = [now](const QString& answerLog, const std::vector<PendingRun>& runs,
                      const DrillEndProbe& probe) { return landKeptAnswers(answerLog, runs, now, probe); };
    return part;
}

QStringList landKeptAnswers(const QString& answerLog, const std::vector<PendingRun>& runs,
                            const QDateTime& now, const DrillEndProbe& probe) {
    std::vector<DrillLog> drills;
    QStringList ids;
    for (const PendingRun& run : runs) {
        // Answers kept in a form this program cannot read stay kept: they are the data tool's to report.
        std::optional<DrillLog> drill = drillFromKeptForm(run.answers);
        if (!drill)
            continue;
        drill->id = run.id;
        drills.push_back(*drill);
        ids << run.id;
    }
    if (drills.empty())
        return {};
    AnswerDatabase database(AnswerDatabase::kDrillEndBusyTimeoutMs);
    const auto writing = [&] {
        if (probe)
            probe(DrillEndStep::LogWriting);
    };
    if (!database.open(answerLog, AnswerDatabase::Access::ReadWrite, now) ||
        !database.writeDrills(drills, writing))
        return {};
    return ids;
}

bool keepPracticeAnswers(const Configuration& config, const DrillLog& practice, const QDateTime& now,
                         QString* error, const DrillEndProbe& probe) {
    PendingRun run;
    run.id = newRunId();
    run.answerLog = placeOfFile(answerLogPath(config.programDataFolder));
    run.answers = keptFormOf(practice);
    QString notKept;
    const bool kept =
        !config.pendingRunsFile.isEmpty() && keepPendingRun(config.pendingRunsFile, run, &notKept);
    if (kept && probe)
        probe(DrillEndStep::RunKept);
    // Answers kept for this log by an earlier end go with it, in the order kept (the practice sheet is
    // among them when it was kept).
    std::vector<PendingRun> waiting;
    QString why;
    if (kept && readPendingRuns(config.pendingRunsFile, &waiting, &why)) {
        waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                     [&](const PendingRun& r) { return r.answerLog != run.answerLog; }),
                      waiting.end());
    } else {
        waiting.clear();
    }
    if (std::none_of(waiting.begin(), waiting.end(), [&](const PendingRun& r) { return r.id == run.id; }))
        waiting.push_back(run);
    const QStringList logged = landKeptAnswers(run.answerLog, waiting, now, probe);
    if (probe && !logged.isEmpty())
        probe(DrillEndStep::LogWritten);
    if (kept && !logged.isEmpty()) {
        settleLandedRuns(config.pendingRunsFile, waiting, false, logged, &why);
        if (probe)
            probe(DrillEndStep::KeptCopyRemoved);
    }
    if (kept || logged.contains(run.id))
        return true;
    if (error)
        *error = notKept.isEmpty() ? QStringLiteral("取っておく場所がありません") : notKept;
    return false;
}

} // namespace warizan
