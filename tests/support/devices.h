// Devices made in the test prefix with SetupAPI, as Windows lists installed ones, and keys that
// refuse access. Mice are of the Mouse setup class.
#pragma once

#include <string>

#include "support/registry_value.h"

// HKLM's path to the own key ("Device Parameters") of the device with instance ID id.
std::wstring OwnKey(const char* id);
// Installs a mouse served by service, with its own SampleRate own (kNoKey: no key of its own) and,
// where given, a friendly name; Uninstall removes it with the keys made above it.
void Install(const char* id, const char* service, const Stored& own, const char* name = nullptr);
void Uninstall(const char* id);
// Gives HKLM\key the DACL sddl; true if it could.
bool Protect(const std::wstring& key, const char* sddl);
