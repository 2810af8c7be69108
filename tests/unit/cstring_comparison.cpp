// Must not compile: two CStrings compared through their conversion to LPCSTR would compare the
// addresses of their texts (tests/CMakeLists.txt expects the compiler to say so).
#include <afx.h>

bool Same(const CString& a, const CString& b) { return a == b; }
