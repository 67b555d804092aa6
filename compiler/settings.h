#pragma once
// The settings block store and the free ranges the host hands over.
#include <cstdint>

constexpr uint32_t kSettingsCapacity = 102400;

extern unsigned char dll_settings[kSettingsCapacity];
extern uint32_t dll_settingsLen;
extern uint32_t dll_intLimit;
extern uint32_t dll_bitLimit;
extern uint32_t dll_flashStart;
extern uint32_t dll_flashEnd;
