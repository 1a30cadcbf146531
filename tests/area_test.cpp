// Figure areas: the angle option TPR keeps between lines and what a refused
// figure leaves in the argument store.
#include <gtest/gtest.h>

#include "session_fixture.h"

namespace vantrel {
namespace {

class AreaTest : public SessionTest {};

TEST_F(AreaTest, AngleOptionIsKeptUntilTheNextCodeLine) {
  Run("KWN\r\n1,100,0,2,0,100,3,0,0\r\nTPR\r\nb");
  EXPECT_EQ(session.area.AreaAngleOption, "B");
  EXPECT_EQ(session.args.Stage(), 2);
  EXPECT_EQ(session.args.FieldsLeft(), 0);

  // A line of figure fields only: the option stays.
  Run("1,2,3");
  EXPECT_EQ(session.area.AreaAngleOption, "B");
  EXPECT_EQ(session.PreviousCommand, "TPR");

  // A refused option discards its line; nothing waits for the next figure.
  Run("TPR\r\nX,1,2,3");
  EXPECT_EQ(session.area.AreaAngleOption, "X");
  EXPECT_EQ(session.args.Stage(), 2);
  EXPECT_EQ(session.args.FieldsLeft(), 0);
}

TEST_F(AreaTest, RefusedFiguresAreNotCarriedOver) {
  Run("KWN\r\n1,100,0,2,0,100,3,0,0\r\nARE");
  for (const char* figure : {"1,C3", "C3,1,2", "1,C2,C3,1", "1,1001,2"}) {
    Run(figure);
    EXPECT_EQ(session.args.FieldsLeft(), 0) << figure;
    EXPECT_NE(session.PreviousCommand, "ARE") << figure;
  }
  // An empty line does nothing at all.
  std::vector<std::string> report = Run("\r\n");
  EXPECT_TRUE(report.empty());
  EXPECT_EQ(Run("1,2,3,1").back(), "Area = 5000.000 Sq. Ft.  or 0.115 Acres");
}

}  // namespace
}  // namespace vantrel
