#pragma once

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace warizan {

// Shapes of the program-wide tables: pupil numbers 0 to 5000, levels 0 to 35.
inline constexpr int kMaxPupil = 5000;
inline constexpr int kPupilSlots = kMaxPupil + 1;
inline constexpr int kMaxLevel = 35;
inline constexpr int kLevelSlots = kMaxLevel + 1;

constexpr bool isPupilNumber(int pupil) {
    return pupil >= 0 && pupil <= kMaxPupil;
}
constexpr bool isLevelNumber(int level) {
    return level >= 0 && level <= kMaxLevel;
}

// An index outside a table is a programming error: callers check input with isPupilNumber/isLevelNumber.
[[noreturn]] void tableIndexOutOfRange(const char* table, int index);

// A table indexed by pupil number, 5001 slots.
template <typename T> class PupilTable final {
public:
    PupilTable()
        : m_slots(kPupilSlots) {}
    T& operator[](int pupil) { return m_slots[checked(pupil)]; }
    const T& operator[](int pupil) const { return m_slots[checked(pupil)]; }
    void fill(const T& value) { std::fill(m_slots.begin(), m_slots.end(), value); }

private:
    static size_t checked(int pupil) {
        if (!isPupilNumber(pupil))
            tableIndexOutOfRange("pupil", pupil);
        return static_cast<size_t>(pupil);
    }
    std::vector<T> m_slots;
};

// A table indexed by level number, 36 slots.
template <typename T> class LevelArray final {
public:
    LevelArray() { m_slots.fill(T{}); }
    T& operator[](int level) { return m_slots[checked(level)]; }
    const T& operator[](int level) const { return m_slots[checked(level)]; }
    void fill(const T& value) { m_slots.fill(value); }

private:
    static size_t checked(int level) {
        if (!isLevelNumber(level))
            tableIndexOutOfRange("level", level);
        return static_cast<size_t>(level);
    }
    std::array<T, kLevelSlots> m_slots;
};

// A table indexed by level and pupil, 36 x 5001 slots stored level-major (slot = level x 5001 + pupil),
// the order the suite's counting routines walk.
template <typename T> class LevelPupilTable final {
public:
    LevelPupilTable()
        : m_slots(static_cast<size_t>(kLevelSlots) * kPupilSlots) {}
    T& at(int level, int pupil) { return m_slots[slot(level, pupil)]; }
    const T& at(int level, int pupil) const { return m_slots[slot(level, pupil)]; }
    void fill(const T& value) { std::fill(m_slots.begin(), m_slots.end(), value); }
    // The slots of one level, pupils 0 to 5000, for loops that run over every pupil of a level.
    T* levelRow(int level) { return m_slots.data() + slot(level, 0); }
    const T* levelRow(int level) const { return m_slots.data() + slot(level, 0); }

private:
    static size_t slot(int level, int pupil) {
        if (!isLevelNumber(level))
            tableIndexOutOfRange("level", level);
        if (!isPupilNumber(pupil))
            tableIndexOutOfRange("pupil", pupil);
        return static_cast<size_t>(level) * kPupilSlots + static_cast<size_t>(pupil);
    }
    std::vector<T> m_slots;
};

} // namespace warizan
