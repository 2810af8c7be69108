// CString: a copyable 8-bit string in the system's ANSI code page.
//
// The text lives in a heap block of its own, always terminated; an empty string holds no block.
#pragma once

#include <windows.h>

class CString {
 public:
  // Construction
  CString() = default;
  CString(LPCSTR lpsz);  // NOLINT(google-explicit-constructor): converts like the original
  CString(const CString& stringSrc);
  ~CString();
  CString& operator=(const CString& stringSrc);
  CString& operator=(LPCSTR lpsz);
  // Appends lpsz, or the character ch; the block grows by half again, so that a text built a
  // piece at a time is copied a few times only.
  const CString& operator+=(LPCSTR lpsz);
  const CString& operator+=(char ch);

  // Attributes
  int GetLength() const { return m_nLength; }
  BOOL IsEmpty() const { return m_nLength == 0; }
  operator LPCSTR() const;  // NOLINT(google-explicit-constructor)
  // Compares the texts, character by character as strcmp does: <0, 0 or >0. A null lpsz is an
  // empty text.
  int Compare(LPCSTR lpsz) const;

  // Operations
  // printf-style formatting, as the C runtime's printf has it. A result longer than
  // FORMAT_MAX characters, or one the runtime cannot produce at all (it reports an encoding error
  // as it reports a buffer too small), leaves the string empty.
  enum { FORMAT_MAX = 65536 };
  void Format(LPCSTR lpszFormat, ...) __attribute__((format(ms_printf, 2, 3)));
  // Loads string resource nID from the application's resources. FALSE (and an empty string) when
  // the resource is missing or empty.
  BOOL LoadString(UINT nID);
  // A buffer for at least nMinBufLength characters and the terminator, holding the current text;
  // ReleaseBuffer takes back what was written there, up to its terminator.
  LPSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer();
  void Empty();

 private:
  char* m_pchData = nullptr;  // null when empty and no buffer was asked for
  int m_nLength = 0;
  int m_nAllocLength = 0;  // characters the block holds, not counting the terminator
};

// The comparisons compare texts (never addresses), a CString or a C string on either side.
bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCSTR s2);
bool operator==(LPCSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCSTR s2);
bool operator!=(LPCSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCSTR s2);
bool operator<(LPCSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCSTR s2);
bool operator>(LPCSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCSTR s2);
bool operator<=(LPCSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCSTR s2);
bool operator>=(LPCSTR s1, const CString& s2);
