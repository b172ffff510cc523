#pragma once

#include <QString>
#include <array>

namespace warizan {

// The number a pupil's answer text stands for, read from its start: an optional "-", then digits with at
// most one "."; reading stops at the first character that does not fit. Nothing readable (the empty text
// included) is 0, so an empty remainder cell answers "no remainder".
double readAnswerNumber(const QString& text);

// Whether the two cells' texts answer the question (numerically: "07" and "7.0" both equal 7).
bool answerIsCorrect(const QString& quotientText, const QString& remainderText, int quotient, int remainder);

// The most characters a pupil can type into one answer cell.
inline constexpr int kMaxAnswerLength = 23;

// The answer cells of the drill and the cursor that marks the cell receiving the typing. The cell under
// the cursor is the one shown in the cursor colour. What is typed goes into the edit buffer and from it into
// the cursor cell; moving the cursor reloads the buffer from the cell moved to.
class AnswerCells final {
public:
    // Keys of the key-down handler; Delete and Down both clear. Enter (either key) judges from any cell, as
    // Space does on the last one: the level menu's instructions promise it, and a numeric keypad has it.
    enum class Key { Clear, Up, Right, Left, Space, Enter };
    enum class KeyOutcome { Nothing, Changed, Judge };
    enum class CharOutcome { Ignored, Typed, Refused };
    static constexpr char16_t kBackspace = 8;

    // A new question with `cellCount` cells in use (1 or 2): all empty, the cursor on the first.
    void newQuestion(int cellCount);
    // A key going down. `modifier`: Shift, Ctrl or Alt held. Space on the last cell and Enter ask for
    // judging.
    KeyOutcome keyDown(Key key, bool modifier);
    // A typed character while answering: digits and "*", ",", "-", ".", "/" are typed, Backspace drops the
    // last one; once the buffer is full every other character is refused (the caller sounds the warning).
    CharOutcome character(char16_t code);
    void clearEditBuffer() { m_buffer.clear(); }

    int cellCount() const { return m_cellCount; }
    int cursorCell() const { return m_cursor; }
    const QString& text(int cell) const { return m_texts.at(static_cast<std::size_t>(cell)); }
    const QString& editBuffer() const { return m_buffer; }

private:
    void moveTo(int cell, bool modifier);
    QString& cursorText() { return m_texts.at(static_cast<std::size_t>(m_cursor)); }

    int m_cellCount = 1;
    int m_cursor = 0;
    std::array<QString, 2> m_texts;
    QString m_buffer;
};

} // namespace warizan
