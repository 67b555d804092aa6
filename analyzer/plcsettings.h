#pragma once
// The settings block at the start of a controller image (addresses 0x00 to
// 0xCF), little-endian in the image; the byte code follows at 0xD0.
#include <cstddef>
#include <cstdint>

constexpr size_t PLC_SETTINGS_SIZE = 208;

struct TPLCSettings {
  uint16_t cycletime_msec;
  uint16_t TRISA;
  uint16_t TRISB;
  uint16_t TRISC;
  uint16_t TRISD;
  uint16_t TRISE;
  uint16_t TRISF;
  uint16_t TRISG;
  uint16_t TRISH;
  uint16_t adcUsed;
  uint8_t PWMx_to[16];
  int32_t uart1_baud;
  int32_t uart2_baud;
  int32_t uart3_baud;
  int32_t uart4_baud;
  uint8_t uart1tx_to;
  uint8_t uart1rx_from;
  uint8_t uart2tx_to;
  uint8_t uart2rx_from;
  uint8_t uart3tx_to;
  uint8_t uart3rx_from;
  uint8_t uart4tx_to;
  uint8_t uart4rx_from;
  uint8_t reserved[148];
};

static_assert(sizeof(TPLCSettings) == PLC_SETTINGS_SIZE);
static_assert(offsetof(TPLCSettings, adcUsed) == 18);
static_assert(offsetof(TPLCSettings, PWMx_to) == 20);
static_assert(offsetof(TPLCSettings, uart1_baud) == 36);
static_assert(offsetof(TPLCSettings, uart1tx_to) == 52);
static_assert(offsetof(TPLCSettings, uart4rx_from) == 59);
static_assert(offsetof(TPLCSettings, reserved) == 60);
