// A session with the installed command reference and a scripted user side,
// for tests that run command lines and look at the report and the stores.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/session.h"
#include "scripted_user.h"

namespace vantrel {

class SessionTest : public ::testing::Test {
 protected:
  ScriptedUser user;
  Session session{user};

  SessionTest() { EXPECT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), ""); }

  // Runs a pane text and returns what it added to the transcript.
  std::vector<std::string> Run(const std::string& pane) {
    size_t before = user.transcript.size();
    session.RunBatch(pane);
    return {user.transcript.begin() + static_cast<long>(before), user.transcript.end()};
  }
};

}  // namespace vantrel
