#include "awkward_tables.h"

#include <string>

using namespace std::string_literals;

namespace {

const std::string section = "[sim_Halden_circuit_tables]\n";

std::string repeated(size_t count, char c) { return std::string(count, c); }

// UTF-16 with its byte order mark, from ASCII text.
std::string utf16(const std::string& ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) bytes += bigEndian ? "\0"s + c : c + "\0"s;
  return bytes;
}

// "1234567890" over and over, `count` digits.
std::string digits(size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += static_cast<char>('0' + (i + 1) % 10);
  return text;
}

const size_t megabyte = 1 << 20;

}  // namespace

const std::vector<TAwkwardTable>& sim_awkwardTables() {
  static const std::vector<TAwkwardTable> tables = {
      // The tail where a reader of 199-character lines would take up reading again.
      {"long_comment", section + ";" + repeated(198, 'x') + "_C_Time_01=77\n_C_Time_02=2\n", {{"_C_Time_02", 2}}},
      {"indented_lines",
       section + "  _C_Time_02=2\n\t_C_Time_03=3\n \t\v\f_C_Time_04=4\n\x1a_C_Time_05=5\n\x01_C_Time_06=6\n" +
           "\xA0_C_Time_07=7\n",
       {{"_C_Time_02", 2}, {"_C_Time_03", 3}, {"_C_Time_04", 4}, {"_C_Time_05", 5}}},
      {"separators",
       section + "_C_Time_01:5\n_C_Time_02 = 2 \n_C_Time_03\t=\t3\n_C_Time 04=4\n_C_Time_05==5\n_C_Time_06=6=7\n",
       {{"_C_Time_02", 2}, {"_C_Time_03", 3}, {"_C_Time_06", 6}}},
      {"repeated_section",
       section + "_C_Time_01=1\n[other]\n_C_Time_02=9\n" + section +
           "_C_Time_03=3\n_C_Time_01=5\n[SIM_HALDEN_CIRCUIT_TABLES]\n_C_Time_04=4\n",
       {{"_C_Time_01", 1}}},
      {"blanks_in_brackets", "  [ \tsim_Halden_circuit_tables\t ] ; the tables\n_C_Time_01=9\n", {{"_C_Time_01", 9}}},
      {"other_headers",
       "[sim_Halden_circuit_tables\n_C_Time_01=1\n[[sim_Halden_circuit_tables]]\n_C_Time_02=2\n"
       "[sim_Halden_circuit_tables] b]\n_C_Time_03=3\nx[sim_Halden_circuit_tables]\n_C_Time_04=4\n"
       "[sim_Halden_circuit_tables]\n_C_Time_05=5\n",
       {{"_C_Time_05", 5}}},
      {"hex_and_quotes",
       section +
           "_C_Time_01=0x10\n_C_Time_02=0xaB\n_C_Time_03=0X10\n_C_Time_04=\"12\"\n_C_Time_05='12'\n_C_Time_06=\"12\n"
           "_C_Time_07=-0x10\n_C_Time_08=0x1G\n_C_Time_09=0x\n_C_Time_10=\"5\"\"\n_P_ON_Day_01=  \"7\"  \n"
           "_P_ON_Day_02=\"8\" x\n_P_ON_Day_03=\"  \"\n_P_ON_Day_04=0x12345\n_P_ON_Day_05='12\"\n",
       {{"_C_Time_01", 16},
        {"_C_Time_02", 171},
        {"_C_Time_04", 12},
        {"_C_Time_05", 12},
        {"_C_Time_07", -16},
        {"_C_Time_08", 1},
        {"_C_Time_10", 5},
        {"_P_ON_Day_01", 7},
        {"_P_ON_Day_04", 0x2345}}},
      {"signs_and_tails",
       section + "_C_Time_01=-5\n_C_Time_02=+5\n_C_Time_03=--5\n_C_Time_04=- 5\n_C_Time_05=12abc\n_C_Time_06=12 34\n"
                 "_C_Time_07=1e3\n_C_Time_08=12.7\n_C_Time_09=12;x\n_C_Time_10=\t 12\n",
       {{"_C_Time_01", -5},
        {"_C_Time_02", 5},
        {"_C_Time_05", 12},
        {"_C_Time_06", 12},
        {"_C_Time_07", 1},
        {"_C_Time_08", 12},
        {"_C_Time_09", 12},
        {"_C_Time_10", 12}}},
      // The reader takes 29 characters of a number, 28 of a quoted one of 29.
      {"wide_numbers",
       section + "_C_Time_01=70000\n_C_Time_02=2147483648\n_C_Time_03=4294967295\n_C_Time_04=99999999999\n" +
           "_C_Time_05=-99999999999\n_C_Time_06=" + repeated(28, '0') + "5\n_C_Time_07=" + repeated(29, '0') +
           "5\n_C_Time_08=\"" + repeated(27, '0') + "5\"\n_C_Time_09=\"" + repeated(28, '0') + "5\"\n_C_Time_10=\"" +
           repeated(28, ' ') + "12\"\n",
       {{"_C_Time_01", 4464},
        {"_C_Time_03", -1},
        {"_C_Time_04", -6145},
        {"_C_Time_05", 6145},
        {"_C_Time_06", 5},
        {"_C_Time_08", 5},
        {"_C_Time_10", 1}}},
      {"crlf_line_ends",
       "[sim_Halden_circuit_tables]\r\n_C_Time_01=1\r\n_C_Time_02=2\r\n[other]\r\n_C_Time_03=3\r\n",
       {{"_C_Time_01", 1}, {"_C_Time_02", 2}}},
      {"cr_line_ends",
       "[sim_Halden_circuit_tables]\r_C_Time_01=1\r_C_Time_02=\"2\r\"\r_C_Time_03=3",
       {{"_C_Time_01", 1}, {"_C_Time_03", 3}}},
      {"no_final_line_end", section + "_C_Time_01=1\n_C_Time_02=2", {{"_C_Time_01", 1}, {"_C_Time_02", 2}}},
      {"zero_bytes",
       section +
           "_C_Time_01\0junk=1\n_C_Time_02 \0=2\n\0_C_Time_03=3\n_C_Time_04=\0"
           "4\n_C_Time_05=\"5\0\"\n"s +
           "_C_Time_06=6\0 7\n; \0\n_C_Time_07=7\n"s,
       {{"_C_Time_01", 1}, {"_C_Time_06", 6}, {"_C_Time_07", 7}}},
      {"zero_byte_in_header", "[sim_Halden_circuit_tables\0 junk]\n_C_Time_01=1\n"s, {{"_C_Time_01", 1}}},
      {"control_bytes",
       section +
           "_C_Time_01=\x01"
           "1\n_C_Time_02=\x7f"
           "2\n_C_Time_03=\x1f"
           "3\n_C_Time_04\x01=4\n_C_Time_05=5\x01\n" +
           "_C_Time_06=\"6\"\x01\n_C_Time_07=\x1a"
           "7\x1a\n",
       {{"_C_Time_01", 1}, {"_C_Time_03", 3}, {"_C_Time_05", 5}, {"_C_Time_07", 7}}},
      // A line of about 4 MB, its tail where a reader of 199-character lines
      // would take up reading again.
      {"four_megabyte_line",
       section + ";" + repeated(199 * 21078 - 1, 'x') + "_C_Time_01=1\n_C_Time_02=2\n_C_Time_03=" + digits(megabyte) +
           "\n_C_Time_04=4" + repeated(megabyte, ' ') + "\n" + repeated(megabyte, 'x') + "=5\n_C_Time_05=5\n",
       {{"_C_Time_02", 2}, {"_C_Time_03", -32491}, {"_C_Time_04", 4}, {"_C_Time_05", 5}}},
      {"empty_values",
       section + "_C_Time_01=\n_C_Time_02\n_C_Time_02=2\n_C_Time_03=\"\"\n_C_Time_04= \t\n_C_Time_05=''\n",
       {}},
      {"case_of_names",
       "[SIM_halden_CIRCUIT_tables]\n_c_time_01=1\nr_c_rain_03=1\n_P_ON_MONTH_02=2\n",
       {{"_C_Time_01", 1}, {"R_C_Rain_03", 1}, {"_P_ON_Month_02", 2}}},
      {"duplicate_keys", section + "_C_Time_01=1\n_C_Time_01=2\n_c_time_01=3\n", {{"_C_Time_01", 1}}},
      {"before_the_section", "_C_Time_01=1\n" + section + "_C_Time_02=2\n", {{"_C_Time_02", 2}}},
      {"comments",
       section + "  ;_C_Time_01=1\n#_C_Time_02=2\n_C_Time_03=3 ; three\n\t; _C_Time_04=4\n",
       {{"_C_Time_03", 3}}},
      {"utf8_byte_order_mark", "\xEF\xBB\xBF" + section + "_C_Time_01=1\n", {{"_C_Time_01", 1}}},
      {"utf16_little_endian",
       utf16(section + "_C_Time_01=1\r\n_C_Time_02=0x10\r\n_C_Time_03\0x=3\r\n"s, false),
       {{"_C_Time_01", 1}, {"_C_Time_02", 16}, {"_C_Time_03", 3}}},
      {"utf16_big_endian", utf16(section + "_C_Time_01=7\n", true), {{"_C_Time_01", 7}}},
      {"utf16_without_mark", utf16(section + "_C_Time_01=7\n", false).substr(2), {}},
  };
  return tables;
}
