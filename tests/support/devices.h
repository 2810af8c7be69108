// Devices made in the test prefix with SetupAPI, as Windows lists installed ones, and keys that
// refuse access. Mice are of the Mouse setup class.
#pragma once

#include <string>

#include "support/registry_value.h"

// Mice as Windows lists installed ones, in this order: PS/2 mice, a touchpad among them, and a USB
// mouse.
inline const char kPs2[] = "ACPI\\PNP0F13\\4&1D401FB5&0", kPad[] = "ACPI\\SYN0002\\4&1D401FB5&0",
                  kUsb[] = "HID\\VID_046D&PID_C077\\7&2A5E1B5&0&0";

// HKLM's path to the own key ("Device Parameters") of the device with instance ID id.
std::wstring OwnKey(const char* id);
// Installs a mouse served by service, with its own SampleRate own (kNoKey: no key of its own) and,
// where given, a friendly name; Uninstall removes it with the keys made above it.
void Install(const char* id, const char* service, const Stored& own, const char* name = nullptr);
void Uninstall(const char* id);
// Gives HKLM\key the DACL sddl; true if it could.
bool Protect(const std::wstring& key, const char* sddl);
