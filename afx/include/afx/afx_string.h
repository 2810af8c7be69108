// CString: a copyable 8-bit string in the system's ANSI code page.
#pragma once

#include <windows.h>

#include <string>

class CString {
 public:
  // Construction
  CString() = default;
  CString(LPCSTR lpsz);  // NOLINT(google-explicit-constructor): converts like the original
  CString(const CString&) = default;
  CString& operator=(const CString&) = default;
  CString& operator=(LPCSTR lpsz);

  // Attributes
  int GetLength() const;
  BOOL IsEmpty() const;
  operator LPCSTR() const;  // NOLINT(google-explicit-constructor)
  int Compare(LPCSTR lpsz) const;

  // Operations
  // printf-style formatting; the result may be of any length.
  void Format(LPCSTR lpszFormat, ...) __attribute__((format(printf, 2, 3)));
  // Loads string resource nID from the application's resources. FALSE (and an empty string) when
  // the resource is missing or empty.
  BOOL LoadString(UINT nID);

 private:
  std::string m_str;
};

inline bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
inline bool operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
inline bool operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
inline bool operator!=(const CString& s1, LPCSTR s2) { return !(s1 == s2); }
inline bool operator!=(LPCSTR s1, const CString& s2) { return !(s1 == s2); }
