#pragma once

#include "core/Settings.h"
#include "platform/settings/SettingsStore.h"

namespace sorvella {

class CodecCatalogue;

enum class SettingsDirection { Load, Save };

// Moves every persistent field of `settings` from or to the section
// "Default Settings" of `store`, always in the same order. Loading keeps a
// field whose value is missing or unreadable and does not check ranges, with
// two exceptions in both directions: "TimingProfile" above 2 becomes 2, and
// the message-queue bypass is cleared where the system cannot do it. Loading
// makes the target's codec anew from its number through `catalogue`.
void transferSettings(SettingsStore& store, Settings& settings, const CodecCatalogue& catalogue,
                      SettingsDirection direction);

void loadSettings(SettingsStore& store, Settings& settings, const CodecCatalogue& catalogue);

// Writes every persistent field and flushes the store.
void saveSettings(SettingsStore& store, Settings& settings, const CodecCatalogue& catalogue);

// Writes "Show Warning Mixer" alone and flushes the store: the flag is kept
// as soon as it changes, unlike the other settings.
void storeShowWarningMixer(SettingsStore& store, const Settings& settings);

} // namespace sorvella
