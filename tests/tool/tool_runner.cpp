#include "tool_runner.h"

std::vector<std::string> tooltest_child_env(const TToolEnv& env, bool standin) {
  std::vector<std::string> added;
  if (standin) added.push_back(std::string("LD_PRELOAD=") + QDXTEST_PRELOAD);
  for (const auto& item : env) added.push_back(item.first + "=" + item.second);
  return testkit::ChildEnvironment({"LD_PRELOAD=", "QDXSIM_"}, added);
}

testkit::TChildRun tooltest_run(const TRunRequest& request) {
  testkit::TChildRequest child;
  child.program = request.program;
  child.args = request.args;
  child.environment = tooltest_child_env(request.env, request.standin);
  child.input = request.input;
  child.timeoutMs = request.timeoutMs;
  return testkit::RunChild(child);
}
