#include "settings_listing.h"

#include <string>
#include <vector>

namespace {

struct TSettingsField {
  std::string name;
  size_t offset;
  size_t size;
  bool isSigned;
};

#define ANA_FIELD(name, isSigned) \
  TSettingsField { #name, offsetof(TPLCSettings, name), sizeof(TPLCSettings::name), isSigned }

std::vector<TSettingsField> settingsFields() {
  std::vector<TSettingsField> fields = {
      ANA_FIELD(cycletime_msec, false), ANA_FIELD(TRISA, false),   ANA_FIELD(TRISB, false), ANA_FIELD(TRISC, false),
      ANA_FIELD(TRISD, false),          ANA_FIELD(TRISE, false),   ANA_FIELD(TRISF, false), ANA_FIELD(TRISG, false),
      ANA_FIELD(TRISH, false),          ANA_FIELD(adcUsed, false),
  };
  for (size_t i = 0; i < sizeof(TPLCSettings::PWMx_to); ++i)
    fields.push_back({"PWMx_to[" + std::to_string(i) + "]", offsetof(TPLCSettings, PWMx_to) + i, 1, false});
  const std::vector<TSettingsField> tail = {
      ANA_FIELD(uart1_baud, true),    ANA_FIELD(uart2_baud, true),    ANA_FIELD(uart3_baud, true),
      ANA_FIELD(uart4_baud, true),    ANA_FIELD(uart1tx_to, false),   ANA_FIELD(uart1rx_from, false),
      ANA_FIELD(uart2tx_to, false),   ANA_FIELD(uart2rx_from, false), ANA_FIELD(uart3tx_to, false),
      ANA_FIELD(uart3rx_from, false), ANA_FIELD(uart4tx_to, false),   ANA_FIELD(uart4rx_from, false),
  };
  fields.insert(fields.end(), tail.begin(), tail.end());
  return fields;
}

#undef ANA_FIELD

}  // namespace

void ana_PrintSettings(const uint8_t (&block)[PLC_SETTINGS_SIZE], FILE* out) {
  for (const auto& field : settingsFields()) {
    uint32_t bits = 0;
    for (size_t i = 0; i < field.size; ++i) bits |= static_cast<uint32_t>(block[field.offset + i]) << (8 * i);
    const int decimal = field.isSigned ? static_cast<int32_t>(bits) : static_cast<int>(bits);
    const int hexDigits = static_cast<int>(2 * field.size);
    fprintf(out, "%s = %d (0x%.*X)\n", field.name.c_str(), decimal, hexDigits, bits);
  }
}
