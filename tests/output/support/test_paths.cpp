#include "test_paths.h"

#include <map>
#include <stdexcept>

namespace outtest {

namespace {

std::string Find(const std::map<std::string, std::string>& paths, const std::string& key) {
  auto found = paths.find(key);
  if (found == paths.end()) throw std::invalid_argument("no module for '" + key + "'");
  return found->second;
}

}  // namespace

std::string WriterPath(const std::string& key) {
  static const std::map<std::string, std::string> paths = {
#if defined(OUTTEST_WR_IHEX)
    {"ihex", OUTTEST_WR_IHEX},
#endif
    {"s19", OUTTEST_WR_S19},
    {"s", OUTTEST_WR_S},
    {"de", OUTTEST_WR_DE}
  };
  return Find(paths, key);
}

std::vector<std::string> FileWriterKeys() {
#if defined(OUTTEST_WR_IHEX)
  return {"s19", "ihex", "s", "de"};
#else
  return {"s19", "s", "de"};
#endif
}

std::string ProducerPath(const std::string& variant) {
  static const std::map<std::string, std::string> paths = {
      {"", OUTTEST_PRODUCER},
      {"GetFirstByte", OUTTEST_PRODUCER_NO_FIRST},
      {"GetNextByte", OUTTEST_PRODUCER_NO_NEXT},
      {"GetCurrentByteData", OUTTEST_PRODUCER_NO_DATA},
      {"GetCurrentByteAddress", OUTTEST_PRODUCER_NO_ADDRESS},
      {"GetFirstByte+GetCurrentByteData", OUTTEST_PRODUCER_NO_FIRST_NO_DATA}};
  return Find(paths, variant);
}

}  // namespace outtest
