#include "resource_reader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// Reads the little-endian fields of a template, failing softly past the end.
class Cursor {
 public:
  explicit Cursor(const std::vector<BYTE>& data) : m_data(data) {}
  bool ok() const { return m_ok; }
  WORD Word() { return static_cast<WORD>(Take(2)); }
  DWORD Dword() { return static_cast<DWORD>(Take(4)); }
  BYTE Byte() { return static_cast<BYTE>(Take(1)); }
  int Short() { return static_cast<short>(Word()); }
  void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
  void Skip(size_t n) { m_pos += n; }
  // A zero-terminated UTF-16 string; Koravel's texts are ASCII.
  std::string WideString() {
    std::string text;
    for (WORD ch = Word(); m_ok && ch != 0; ch = Word()) text += static_cast<char>(ch);
    return text;
  }
  // A string, or 0xFFFF and an ordinal, or 0 for none.
  std::string StringOrOrdinal(bool bClass) {
    const WORD first = Word();
    if (first == 0) return "";
    if (first != 0xFFFF) {
      m_pos -= 2;
      return WideString();
    }
    const WORD ordinal = Word();
    if (bClass) {
      static const char* const kClasses[] = {"button",  "edit",      "static",
                                             "listbox", "scrollbar", "combobox"};
      if (ordinal >= 0x80 && ordinal <= 0x85) return kClasses[ordinal - 0x80];
    }
    return "#" + std::to_string(ordinal);
  }

 private:
  unsigned long long Take(size_t n) {
    if (m_pos + n > m_data.size()) {
      m_ok = false;
      m_pos = m_data.size();
      return 0;
    }
    unsigned long long value = 0;
    for (size_t i = 0; i < n; ++i)
      value |= static_cast<unsigned long long>(m_data[m_pos + i]) << (8 * i);
    m_pos += n;
    return value;
  }
  const std::vector<BYTE>& m_data;
  size_t m_pos = 0;
  bool m_ok = true;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return text;
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR lParam) {
  ++*reinterpret_cast<int*>(lParam);
  return TRUE;
}

}  // namespace

bool ParseDialogTemplate(const std::vector<BYTE>& data, DialogTemplate* pTemplate) {
  DialogTemplate t;
  Cursor in(data);
  const WORD version = in.Word();
  const WORD signature = in.Word();
  t.extended = version == 1 && signature == 0xFFFF;
  int nItems = 0;
  if (t.extended) {
    in.Dword();  // help ID
    t.exStyle = in.Dword();
    t.style = in.Dword();
  } else {
    t.style = MAKELONG(version, signature);
    t.exStyle = in.Dword();
  }
  nItems = in.Word();
  t.x = in.Short();
  t.y = in.Short();
  t.cx = in.Short();
  t.cy = in.Short();
  t.menu = in.StringOrOrdinal(false);
  t.cls = in.StringOrOrdinal(true);
  t.caption = in.WideString();
  if (t.style & DS_SETFONT) {
    t.pointSize = in.Word();
    if (t.extended) {
      t.weight = in.Word();
      t.italic = in.Byte();
      t.charset = in.Byte();
    }
    t.face = in.WideString();
  }
  for (int i = 0; i < nItems && in.ok(); ++i) {
    DialogItem item;
    in.AlignDword();
    if (t.extended) {
      in.Dword();  // help ID
      item.exStyle = in.Dword();
      item.style = in.Dword();
    } else {
      item.style = in.Dword();
      item.exStyle = in.Dword();
    }
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = t.extended ? static_cast<int>(in.Dword()) : static_cast<short>(in.Word());
    item.cls = Lower(in.StringOrOrdinal(true));
    item.text = in.StringOrOrdinal(false);
    in.Skip(in.Word());  // creation data
    t.items.push_back(item);
  }
  if (!in.ok()) return false;
  *pTemplate = t;
  return true;
}

ResourceReader::ResourceReader(const std::string& path)
    : m_hModule(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

ResourceReader::~ResourceReader() {
  if (m_hModule != nullptr) ::FreeLibrary(m_hModule);
}

std::vector<BYTE> ResourceReader::Raw(LPCSTR lpszType, LPCSTR lpszName) const {
  HRSRC hInfo = ::FindResourceA(m_hModule, lpszName, lpszType);
  if (hInfo == nullptr) return {};
  HGLOBAL hData = ::LoadResource(m_hModule, hInfo);
  const BYTE* pData = static_cast<const BYTE*>(::LockResource(hData));
  if (pData == nullptr) return {};
  return std::vector<BYTE>(pData, pData + ::SizeofResource(m_hModule, hInfo));
}

int ResourceReader::Count(LPCSTR lpszType) const {
  int nCount = 0;
  ::EnumResourceNamesA(m_hModule, lpszType, &CountName, reinterpret_cast<LONG_PTR>(&nCount));
  return nCount;
}

bool ResourceReader::Dialog(int nID, DialogTemplate* pTemplate) const {
  return ParseDialogTemplate(Raw(RT_DIALOG, MAKEINTRESOURCEA(nID)), pTemplate);
}

std::vector<IconGroupEntry> ResourceReader::IconGroup(int nID) const {
  const std::vector<BYTE> data = Raw(RT_GROUP_ICON, MAKEINTRESOURCEA(nID));
  std::vector<IconGroupEntry> entries;
  if (data.size() < 6) return entries;
  const size_t nCount = data[4] | data[5] << 8;
  for (size_t i = 0; i < nCount && 6 + 14 * (i + 1) <= data.size(); ++i) {
    const BYTE* p = &data[6 + 14 * i];  // GRPICONDIRENTRY
    IconGroupEntry entry;
    entry.width = p[0] != 0 ? p[0] : 256;
    entry.height = p[1] != 0 ? p[1] : 256;
    entry.colorCount = p[2];
    entry.planes = p[4] | p[5] << 8;
    entry.bitCount = p[6] | p[7] << 8;
    entry.id = p[12] | p[13] << 8;
    entries.push_back(entry);
  }
  return entries;
}

std::string ResourceReader::String(UINT nID) const {
  char text[1024] = "";
  ::LoadStringA(m_hModule, nID, text, sizeof text);
  return text;
}
