#include "meter/report_times.h"

void CReportTimes::Add(DWORD dwTime) {
  if (m_nCount > 0) {
    // Compared as a signed difference, across the wrap of the tick count. A stamp a little older
    // than the last (reports of one tick handed over out of order) counts as the last one's; one
    // more than a pause away on either side (a pause, a clock set back, a time that a program
    // gave its input) starts a new measurement.
    const LONG lGap = static_cast<LONG>(dwTime - At(m_nCount - 1).dwTime);
    if (lGap > PAUSE || lGap < -PAUSE) {
      m_nCount = 0;
    } else if (lGap <= 0) {
      ++At(m_nCount - 1).nReports;
      return;
    }
  }
  if (m_nCount == CAPACITY) {
    m_nFirst = (m_nFirst + 1) % CAPACITY;
    --m_nCount;
  }
  At(m_nCount++) = {dwTime, 1};
}

int CReportTimes::GetRate() const {
  if (m_nCount < 2) return -1;
  const DWORD dwLast = At(m_nCount - 1).dwTime;
  int nFirst = 0;
  while (dwLast - At(nFirst).dwTime > WINDOW) ++nFirst;
  const DWORD dwSpan = dwLast - At(nFirst).dwTime;
  if (dwSpan < MIN_SPAN) return -1;
  // The reports after the first stamp were made in the span; those at it, before.
  int nReports = 0;
  for (int n = nFirst + 1; n < m_nCount; ++n) nReports += static_cast<int>(At(n).nReports);
  return ::MulDiv(nReports, 1000, static_cast<int>(dwSpan));
}
