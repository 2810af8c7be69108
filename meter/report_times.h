// CReportTimes: how many reports a second one mouse makes, from the time stamps of its reports.
//
// The reports are counted by their own time stamps (milliseconds of the system's tick count, which
// wraps after 49.7 days), never by when they arrive: a busy system hands them over in bursts. The
// rate is that of the last second of movement: the reports after its first time stamp, over the
// time from that stamp to the last. Reports that share a time stamp are kept as one entry with a
// count, so a second of movement takes at most 1,001 entries, whatever the rate.
//
// How true the figure is: Windows stamps real input with its tick, 10 to 16 ms long, so a stamp
// may lie up to 16 ms before the report came in. Over a span S from the first stamp to the last,
// the figure is therefore off by less than 16 ms / S of itself, and by up to half a report a
// second of rounding. There is no figure before S reaches MIN_SPAN, which bounds that at 2%.
//
// A pause starts a new measurement, so that a slow start does not pull the figure down; so does a
// time stamp well before the last, which would otherwise be merged into it for good.
#pragma once

#include <windows.h>

class CReportTimes {
 public:
  enum {
    WINDOW = 1000,   // ms: the movement measured is that of the last second
    PAUSE = 250,     // ms: a longer gap between two reports is a pause (PS/2's slowest rate is 10)
    MIN_SPAN = 800,  // ms: the movement needed for a figure within 2% (16 ms of 800)
    CAPACITY = 1024  // time stamps kept: more than a second holds
  };

  // Construction
  CReportTimes() = default;

  // Operations
  // Counts a report made at dwTime. Constant work: the hook that calls it holds up the input.
  void Add(DWORD dwTime);

  // Attributes
  // Reports a second, rounded; -1 before there has been enough movement since the last pause.
  int GetRate() const;

 private:
  // The reports made at one time stamp.
  struct Stamp {
    DWORD dwTime;
    DWORD nReports;
  };
  // The nth time stamp kept, the oldest first.
  Stamp& At(int n) { return m_stamps[(m_nFirst + n) % CAPACITY]; }
  const Stamp& At(int n) const { return m_stamps[(m_nFirst + n) % CAPACITY]; }

  Stamp m_stamps[CAPACITY] = {};
  int m_nFirst = 0;
  int m_nCount = 0;
};
