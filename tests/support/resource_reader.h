// Reads the resources of a built executable as the system would see them: dialog templates in
// both formats, icon groups, strings and version data, without running the executable.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;        // -1 for no ID
  std::string cls;   // lower-case: "button", "static", "msctls_trackbar32", ...
  std::string text;  // "#128" for a resource ordinal
};

struct DialogTemplate {
  bool extended = false;  // DLGTEMPLATEEX
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string menu, cls, caption;
  int pointSize = 0, weight = 0, italic = 0, charset = 0;
  std::string face;
  std::vector<DialogItem> items;
};

struct IconGroupEntry {
  int width = 0, height = 0, colorCount = 0, planes = 0, bitCount = 0, id = 0;
};

class ResourceReader {
 public:
  // Loads path (a Windows path) as data only.
  explicit ResourceReader(const std::string& path);
  ~ResourceReader();
  ResourceReader(const ResourceReader&) = delete;
  ResourceReader& operator=(const ResourceReader&) = delete;

  bool IsLoaded() const { return m_hModule != nullptr; }
  // The raw bytes of a resource; empty when it is missing.
  std::vector<BYTE> Raw(LPCSTR lpszType, LPCSTR lpszName) const;
  int Count(LPCSTR lpszType) const;
  bool Dialog(int nID, DialogTemplate* pTemplate) const;
  std::vector<IconGroupEntry> IconGroup(int nID) const;
  std::string String(UINT nID) const;

 private:
  HMODULE m_hModule;
};

// Parses a dialog template of either format; false when it is malformed.
bool ParseDialogTemplate(const std::vector<BYTE>& data, DialogTemplate* pTemplate);
