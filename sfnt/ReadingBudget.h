#pragma once

#include <QtGlobal>

// What reading a layout table may cost. Offsets in GSUB and GPOS may point
// many times at one structure, so a table of a few kilobytes can describe
// billions of steps; its readers read each structure they reach twice only
// once (they keep the offsets they have read), and spend every step from
// this budget, set by the table's own size. A reader whose budget runs out
// stops, and says its result is incomplete.
class ReadingBudget
{
public:
    // Steps a byte of the table pays for, and the steps every table gets:
    // real fonts stay far below (Noto Color Emoji's 4,000 ligatures take
    // about one step per byte of its GSUB).
    static constexpr quint64 kStepsPerByte = 16;
    static constexpr quint64 kBaseSteps = 1 << 16;

    explicit ReadingBudget(quint64 tableBytes) : m_left(tableBytes * kStepsPerByte + kBaseSteps) {}

    // False, for good, once the steps are more than are left.
    bool spend(quint64 steps)
    {
        if (m_exhausted || steps > m_left) {
            m_exhausted = true;
            return false;
        }
        m_left -= steps;
        return true;
    }
    bool exhausted() const { return m_exhausted; }

private:
    quint64 m_left;
    bool m_exhausted = false;
};
