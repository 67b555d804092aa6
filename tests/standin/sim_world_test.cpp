// The bus of controllers: what becomes of the opens and writes that the
// faults name by their ordinal, the same for both transports.
#include <gtest/gtest.h>

#include <vector>

#include "sim_world.h"

namespace {

struct TFateCase {
  const char* name;
  void (*fault)(TSimFaults&);
  std::vector<TSimWrite> writes;  // of four writes in a row
  TSimOpen reopen;                // an open after them, once closed
};

std::ostream& operator<<(std::ostream& out, const TFateCase& c) { return out << c.name; }

class SimWorldWrites : public ::testing::TestWithParam<TFateCase> {};

TEST_P(SimWorldWrites, FollowTheFaults) {
  TSimConfig config = sim_default_config(1);
  GetParam().fault(config.faults);
  TSimWorld world(config, "qdxsim");
  ASSERT_EQ(world.Open(0), TSimOpen::Ok);
  std::vector<TSimWrite> fates;
  for (int i = 0; i < 4; ++i) fates.push_back(world.Write(0));
  EXPECT_EQ(fates, GetParam().writes);
  world.Close(0);
  EXPECT_EQ(world.Open(0), GetParam().reopen);
}

constexpr TSimWrite D = TSimWrite::Delivered, F = TSimWrite::Failed, L = TSimWrite::Lost;

INSTANTIATE_TEST_SUITE_P(
    Faults, SimWorldWrites,
    ::testing::Values(TFateCase{"none", [](TSimFaults&) {}, {D, D, D, D}, TSimOpen::Ok},
                      TFateCase{
                          "write_fail_2", [](TSimFaults& f) { f.writeFail.which = {2}; }, {D, F, D, D}, TSimOpen::Ok},
                      TFateCase{"vanish_2", [](TSimFaults& f) { f.vanishAt = 2; }, {D, L, F, F}, TSimOpen::Gone},
                      TFateCase{"deaf", [](TSimFaults& f) { f.deaf = true; }, {F, F, F, F}, TSimOpen::Ok}),
    [](const ::testing::TestParamInfo<TFateCase>& info) { return std::string(info.param.name); });

TEST(SimWorldOpens, AHeldControllerAndARefusedOpen) {
  TSimConfig config = sim_default_config(2);
  config.faults.openFail.which = {2};
  TSimWorld world(config, "qdxsim");
  EXPECT_EQ(world.Open(0), TSimOpen::Ok);
  EXPECT_EQ(world.Open(1), TSimOpen::Refused) << "the second open of the process";
  EXPECT_EQ(world.Open(0), TSimOpen::Held);
  EXPECT_EQ(world.Open(-1), TSimOpen::NoDevice);
  world.Close(0);
  EXPECT_EQ(world.Open(0), TSimOpen::Ok);
}

}  // namespace
