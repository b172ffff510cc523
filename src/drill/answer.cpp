#include "drill/answer.h"

namespace warizan {

double readAnswerNumber(const QString& text) {
    QString number;
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'-' && i == 0) {
            number += c;
        } else if (c == u'.' && !point) {
            point = true;
            number += c;
        } else if (c.isDigit() && c.unicode() < 128) {
            number += c;
        } else {
            break;
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

bool answerIsCorrect(const QString& quotientText, const QString& remainderText, int quotient, int remainder) {
    return readAnswerNumber(quotientText) == quotient && readAnswerNumber(remainderText) == remainder;
}

void AnswerCells::newQuestion(int cellCount) {
    m_cellCount = cellCount < 1 ? 1 : (cellCount > 2 ? 2 : cellCount);
    m_cursor = 0;
    for (QString& text : m_texts)
        text.clear();
    m_buffer.clear();
}

void AnswerCells::moveTo(int cell, bool modifier) {
    m_cursor = cell;
    if (modifier) {
        cursorText().clear();
        m_buffer.clear();
    } else {
        m_buffer = cursorText();
    }
}

AnswerCells::KeyOutcome AnswerCells::keyDown(Key key, bool modifier) {
    switch (key) {
    case Key::Clear:
        m_buffer.clear();
        if (modifier) {
            for (int cell = 0; cell < m_cellCount; ++cell)
                m_texts.at(static_cast<std::size_t>(cell)).clear();
        } else {
            cursorText().clear();
        }
        return KeyOutcome::Changed;
    case Key::Up:
        m_buffer.clear();
        m_cursor = 0;
        for (int cell = 0; cell < m_cellCount; ++cell)
            m_texts.at(static_cast<std::size_t>(cell)).clear();
        return KeyOutcome::Changed;
    case Key::Right:
        moveTo(m_cursor + 1 < m_cellCount ? m_cursor + 1 : 0, modifier);
        return KeyOutcome::Changed;
    case Key::Left:
        moveTo(m_cursor > 0 ? m_cursor - 1 : m_cellCount - 1, modifier);
        return KeyOutcome::Changed;
    case Key::Space:
        if (m_cursor == m_cellCount - 1)
            return KeyOutcome::Judge;
        moveTo(m_cursor + 1, false);
        return KeyOutcome::Changed;
    case Key::Enter:
        return KeyOutcome::Judge;
    }
    return KeyOutcome::Nothing;
}

AnswerCells::CharOutcome AnswerCells::character(char16_t code) {
    if (code == kBackspace) {
        if (m_buffer.isEmpty())
            return CharOutcome::Ignored;
        m_buffer.chop(1);
        cursorText() = m_buffer;
        return CharOutcome::Typed;
    }
    if (m_buffer.size() >= kMaxAnswerLength)
        return CharOutcome::Refused;
    // "*", ",", "-", ".", "/" and the digits; "+" is the correction key and never typed.
    if (code < 42 || code > 57 || code == 43)
        return CharOutcome::Ignored;
    m_buffer += QChar(code);
    cursorText() = m_buffer;
    return CharOutcome::Typed;
}

} // namespace warizan
