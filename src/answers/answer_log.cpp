#include "answers/answer_log.h"

namespace warizan {

QString drillKindName(DrillKind kind) {
    return kind == DrillKind::Practice ? QStringLiteral("practice") : QStringLiteral("drill");
}

std::optional<DrillKind> drillKindOf(const QString& name) {
    if (name == u"drill")
        return DrillKind::Drill;
    if (name == u"practice")
        return DrillKind::Practice;
    return std::nullopt;
}

void DrillRecorder::start(int pupil, int level, const QDateTime& start, DrillKind kind) {
    m_log = DrillLog{};
    m_log.kind = kind;
    m_log.pupil = pupil;
    m_log.level = level;
    m_log.start = start;
    m_waiting.reset();
    m_started = true;
}

void DrillRecorder::questionShown(const Question& question, qint64 monotonicMs) {
    AskedQuestion asked;
    asked.number = static_cast<int>(m_log.questions.size()) + 1;
    asked.question = question;
    m_waiting = asked;
    m_shownMs = monotonicMs;
}

void DrillRecorder::judged(const QString& typedQuotient, const QString& typedRemainder, bool correct,
                           qint64 monotonicMs) {
    if (!m_waiting)
        return;
    AskedQuestion asked = *m_waiting;
    asked.typedQuotient = typedQuotient;
    asked.typedRemainder = typedRemainder;
    asked.correct = correct;
    asked.ms = std::max<qint64>(0, monotonicMs - m_shownMs);
    m_log.questions.push_back(asked);
    m_waiting.reset();
}

DrillLog DrillRecorder::finish(const QDateTime& end, qint32 result) {
    if (m_waiting) {
        m_waiting->number = static_cast<int>(m_log.questions.size()) + 1;
        m_log.questions.push_back(*m_waiting);
        m_waiting.reset();
    }
    m_log.end = end;
    m_log.result = result;
    m_started = false;
    return m_log;
}

} // namespace warizan
