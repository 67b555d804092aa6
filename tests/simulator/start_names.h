#pragma once
// The names the machine holds once its window exists, in listing order,
// and the listing it prints at start.
#include <string>
#include <vector>

inline const std::vector<std::string>& sim_startIntegers() {
  static const std::vector<std::string> names = {"_C_Time",        "_P_OFF_Day",    "_P_OFF_Month", "_P_ON_Day",
                                                 "_P_ON_Month",    "_P_Start_Hour", "_P_Start_Min", "_P_Temp_E",
                                                 "_Period_Number", "cal_DOW",       "cal_Day",      "cal_Hour",
                                                 "cal_Minute",     "cal_Month",     "cal_Second",   "cal_Year"};
  return names;
}

inline const std::vector<std::string>& sim_startBits() {
  static const std::vector<std::string> names = {
      "R_C_C10_E",    "R_C_C1_E",       "R_C_C2_E",     "R_C_C3_E",       "R_C_C4_E",      "R_C_C5_E",
      "R_C_C6_E",     "R_C_C7_E",       "R_C_C8_E",     "R_C_C9_E",       "R_C_Cont",      "R_C_Drop",
      "R_C_Flow",     "R_C_Freez",      "R_C_Mvalve",   "R_C_Rain",       "R_C_Wbudget",   "R_P_Fryday_E",
      "R_P_Monday_E", "R_P_Saturday_E", "R_P_Sunday_E", "R_P_Thursday_E", "R_P_Tuesday_E", "R_P_Wednesday_E"};
  return names;
}

inline std::string sim_startListing() {
  std::string listing = "Simulated integers:\n";
  for (const auto& name : sim_startIntegers()) listing += " " + name + "\n";
  listing += "Simulated bits:\n";
  for (const auto& name : sim_startBits()) listing += " " + name + "\n";
  return listing;
}
