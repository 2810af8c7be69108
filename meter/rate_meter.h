// CRateMeter: how many reports a second a mouse makes, from the time stamps of its moves.
//
// The moves are counted by their own time stamps (milliseconds of the system's tick count, which
// wraps after 49.7 days), never by when they arrive: a busy system hands them over in bursts. The
// rate is that of the last second of movement, as the number of intervals between the moves in it
// over the time they span: exact for moves evenly spaced (5, 10, 25 and 50 ms apart read 200, 100,
// 40 and 20), and already before a whole second has passed. A pause starts a new measurement, so
// that a slow start does not pull the figure down; until there has been enough movement since,
// there is no rate.
#pragma once

#include <windows.h>

class CRateMeter {
 public:
  enum {
    WINDOW = 1000,   // ms: the movement measured is that of the last second
    PAUSE = 250,     // ms: a longer gap between two moves is a pause (PS/2's slowest rate is 10)
    MIN_SPAN = 250,  // ms: the movement needed for a rate
    CAPACITY = 1024  // time stamps kept: a whole second of a mouse at up to 1024 reports a second
  };

  // Construction
  CRateMeter() = default;

  // Operations
  // Counts a move made at dwTime. Constant work: the hook that calls it holds up the input.
  void AddMove(DWORD dwTime);

  // Attributes
  // Reports a second, rounded; -1 before there has been enough movement since the last pause.
  int GetRate() const;

 private:
  // The nth time stamp kept, the oldest first.
  DWORD At(int n) const { return m_adwTimes[(m_nFirst + n) % CAPACITY]; }

  DWORD m_adwTimes[CAPACITY] = {};
  int m_nFirst = 0;
  int m_nCount = 0;
};
