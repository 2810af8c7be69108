// JSON as Koravel writes it for collectors (/json, and the log of /log): one line of ASCII text,
// built in a CString. Every character beyond ASCII is escaped, so the bytes are the same in every
// code page and arrive whole however a collector decodes them (PowerShell with the console's
// code page, which on a machine in most languages is not UTF-8). Its fields are in the README.
#pragma once

#include <afx.h>

class CStoredRates;

// The version of the fields: a collector that knows version 1 reads every later 1.
#define KORAVEL_JSON_SCHEMA 1

// Appends lpszText, UTF-8, as a JSON string: quoted, with quotes and backslashes escaped, and
// control characters and every character beyond ASCII as \uXXXX (UTF-16: a pair for a character
// beyond U+FFFF).
void AppendJsonString(CString& strJson, LPCSTR lpszText);
// The same, of Unicode text.
void AppendJsonString(CString& strJson, LPCWSTR lpszText);

// Appends a rate as read: its number where lResult is ERROR_SUCCESS, null where it is
// ERROR_FILE_NOT_FOUND (none stored), and otherwise an object with the error's number,
// {"error":N}.
void AppendJsonRate(CString& strJson, LONG lResult, DWORD dwRate);

// Appends the fields that /query prints, as "driverRate":R,"mice":[...], each mouse
// {"name":...,"instanceId":...,"ownRate":R,"rateAtStart":R}.
void AppendJsonRates(CString& strJson, const CStoredRates& rates);
