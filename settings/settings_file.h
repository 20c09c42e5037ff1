// Reading KQZ.txt into the launcher slots at creation and writing it back at quit, through
// the file store; the bytes are settings_format's.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr char WriteFailedText[] = "ファイルの書き込みに失敗しました";

// Fills the slots the file in directory names; a missing, unreadable or unreachable file
// loads nothing and says nothing. Returns false when the file may exist but could not be
// read: replacing it would lose registrations this run never saw.
// keys, when given, receives the file's hotkey section, encoding the file's encoding and
// rules its rules section.
bool loadSettings(Services& services, const char* directory, SlotArray& slots,
                  KeySection* keys = nullptr, SettingsEncoding* encoding = nullptr,
                  KeptSection* rules = nullptr);
// Replaces the file with the registered slots, unless keepFile. When it is kept, or the
// replace fails (or the path is too long for the system), the old file stays and the
// write-failure message is shown, unless tell is false (the session is ending, and a box
// would hold it). keys and rules, when given, are written in front of the launcher section,
// in that order. A file in UTF-8 holds each slot's long name.
bool saveSettings(Services& services, const char* directory, const SlotArray& slots, bool keepFile,
                  const KeySection* keys = nullptr,
                  SettingsEncoding encoding = SettingsEncoding::Ansi, bool tell = true,
                  const KeptSection* rules = nullptr);

}  // namespace skelvo
