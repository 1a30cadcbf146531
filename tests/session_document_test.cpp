// The session as the window's document, without the window: unsaved work is
// points, registers or the pane changed since the last save, open or start;
// Save asks for a name once (Save As always), Open reads a session and
// counts it as saved; the question before work is set aside is worded for
// closing or opening, and Cancel or a failed save keeps the work.
#include <gtest/gtest.h>

#include <fstream>

#include "session_fixture.h"
#include "store/session_document.h"
#include "temp_folder.h"

namespace vantrel {
namespace {

class SessionDocumentTest : public SessionTest {
 protected:
  TempFolder folder{"vantrel-document"};
  SessionDocument document{session};

  SessionDocumentTest() {
    session.files.ProgramFolder = folder.path().string();
    session.files.IODefault = false;
  }
  std::string InFolder(const std::string& name) { return (folder.path() / name).string(); }
};

TEST_F(SessionDocumentTest, UnsavedWorkIsWhatChangedSinceTheLastSaveOrOpen) {
  EXPECT_FALSE(document.HasUnsavedWork(""));
  EXPECT_TRUE(document.HasUnsavedWork("KWN"));
  Run("KWN\n1,100,200\n");
  EXPECT_TRUE(document.HasUnsavedWork(""));
  document.MarkSaved("");
  Run("RTH\nD4=2\n");
  EXPECT_TRUE(document.HasUnsavedWork(""));

  // Saved: asked for a name once; the next save goes to the same file.
  user.promptAnswers = {"day"};
  ASSERT_TRUE(document.Save("KWN\n", false));
  EXPECT_EQ(document.FileName(), InFolder("day.vsn"));
  EXPECT_EQ(document.DisplayName(), "day");
  EXPECT_FALSE(document.HasUnsavedWork("KWN\n"));
  EXPECT_TRUE(document.HasUnsavedWork("KWN\nDAB\n"));  // typed since
  document.MarkPaneSaved("KWN\nDAB\n");                // exported
  EXPECT_FALSE(document.HasUnsavedWork("KWN\nDAB\n"));
  ASSERT_TRUE(document.Save("KWN\n", false));
  // Save As asks again.
  user.promptAnswers = {"day two"};
  ASSERT_TRUE(document.Save("KWN\n", true));
  EXPECT_EQ(document.DisplayName(), "day two");
  EXPECT_EQ(user.transcript, (std::vector<std::string>{"Prompt: Enter File Name for Session -> day",
                                                       "Prompt: Enter File Name for Session -> day two"}));

  // Opened into another session: the same points, nothing unsaved.
  ScriptedUser otherUser;
  Session other(otherUser);
  SessionDocument opened(other);
  EXPECT_EQ(opened.DisplayName(), "");
  other.files.ProjectName = " Lot 7 ";
  EXPECT_EQ(opened.DisplayName(), "Lot 7");
  std::optional<std::string> pane = opened.Open(InFolder("day.vsn"));
  ASSERT_TRUE(pane);
  EXPECT_EQ(*pane, "KWN\n");
  EXPECT_TRUE(other.points.IsDefined(1));
  EXPECT_EQ(other.registers.distance[4], 2);
  EXPECT_FALSE(opened.HasUnsavedWork(*pane));
  EXPECT_EQ(opened.DisplayName(), "day");
  // A file that is no session: told, nothing changes.
  std::ofstream(InFolder("notes.vsn")) << "not a session\n";
  EXPECT_FALSE(opened.Open(InFolder("notes.vsn")));
  EXPECT_EQ(otherUser.transcript.back(), "Info Only: " + InFolder("notes.vsn") + ": This is not a Vantrel session file");
  EXPECT_EQ(opened.FileName(), InFolder("day.vsn"));
}

TEST_F(SessionDocumentTest, TheQuestionBeforeWorkIsSetAside) {
  struct Case {
    SessionDocument::SetAside reason;
    std::vector<bool> answers;  // Yes saves, No discards (a side without a three-button box)
    std::string fileName;       // the name typed when saving
    bool mayGo;
    std::vector<std::string> transcript;
  };
  const std::string closing = "Warning: Save the session before closing?";
  const std::string opening = "Warning: Save the session before opening another?";
  const Case cases[] = {
      {SessionDocument::SetAside::Closing, {false}, "", true, {closing + " -> No"}},
      {SessionDocument::SetAside::Opening, {false}, "", true, {opening + " -> No"}},
      {SessionDocument::SetAside::Closing,
       {true},
       "kept",
       true,
       {closing + " -> Yes", "Prompt: Enter File Name for Session -> kept"}},
      // No name given for the save: the work stays.
      {SessionDocument::SetAside::Opening, {true}, "", false, {opening + " -> Yes", "Prompt: Enter File Name for Session"}},
  };
  for (const Case& c : cases) {
    session.points.ClearAll();
    SessionDocument fresh(session);
    Run("KWN\n1,100,200\n");
    user.transcript.clear();
    user.answers = {c.answers.begin(), c.answers.end()};
    user.promptAnswers = {c.fileName};
    EXPECT_EQ(fresh.MaySetAside("", c.reason), c.mayGo) << c.transcript.front();
    EXPECT_EQ(user.transcript, c.transcript);
  }
  // Nothing unsaved: nothing asked.
  user.transcript.clear();
  document.MarkSaved("pane");
  EXPECT_TRUE(document.MaySetAside("pane", SessionDocument::SetAside::Closing));
  EXPECT_TRUE(user.transcript.empty());
}

TEST_F(SessionDocumentTest, RecoveryCopyIsDueWhenThePaneChangedAndRestoresTheSession) {
  EXPECT_FALSE(document.RecoveryDue(""));
  EXPECT_TRUE(document.RecoveryDue("KWN"));
  Run("KWN\n3,10,20\n");
  std::string copy = document.RecoveryText("KWN\n3,10,20\n");
  document.RecoveryWritten("KWN\n3,10,20\n");
  EXPECT_FALSE(document.RecoveryDue("KWN\n3,10,20\n"));

  ScriptedUser otherUser;
  Session other(otherUser);
  SessionDocument restored(other);
  std::optional<std::string> pane = restored.Restore(copy, "recovery.vsn");
  ASSERT_TRUE(pane);
  EXPECT_EQ(*pane, "KWN\n3,10,20\n");
  EXPECT_TRUE(other.points.IsDefined(3));
  EXPECT_TRUE(restored.HasUnsavedWork(*pane));  // restored work is not saved anywhere yet
  EXPECT_FALSE(restored.Restore("Vantrel session 99\n", "recovery.vsn"));
  EXPECT_EQ(otherUser.transcript.back().substr(0, 27), "Info Only: recovery.vsn: Th");
}

}  // namespace
}  // namespace vantrel
