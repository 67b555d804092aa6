#include "panel_view.h"

#include <gtest/gtest.h>

std::string sim_clickDump(const TXSession& session, const std::string& window, size_t n) {
  session.click(window, sim_dumpTableX, sim_dumpTableY);
  if (!session.waitForOutput(sim_dumpEnd, n)) {
    ADD_FAILURE() << "dump " << n << " did not come";
    return "";
  }
  const std::string out = session.output();
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) start = out.find("\n*****Circuit tables dump  start*****", start + 1);
  return out.substr(start, out.find(sim_dumpEnd, start) - start);
}
