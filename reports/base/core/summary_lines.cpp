#include "summary_lines.h"

void CDoubleArr::Add(const CDoubleArr& other) {
    if (m_values.size() < other.m_values.size())
        m_values.resize(other.m_values.size(), 0.0);
    for (qsizetype i = 0; i < other.m_values.size(); ++i)
        m_values[i] += other.m_values.at(i);
}
