// The real file chooser of the program's dialog door: what it proposes, and that the
// toolkit has nothing to complain about (a warning fails the test).
#include <string>

#include <gtest/gtest.h>

#include <unistd.h>

#include "base/dialogs.h"
#include "support/gui_fixture.h"
#include "support/temp_dir.h"
#include "support/x_input_gtk.h"

namespace {

using testing_support::pumpUntil;

class FileChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char* previous = g_get_current_dir();
    previousFolder_ = previous;
    g_free(previous);
    dir.write("ZN-LinuxAPI-Toc.xml", "<toc/>\n");
    dir.write("other/Elsewhere.xml", "<toc/>\n");
    // The program works in its own folder; a bare name lies there.
    ASSERT_EQ(0, chdir(dir.path().c_str()));
  }
  void TearDown() override { ASSERT_EQ(0, chdir(previousFolder_.c_str())); }

  static std::string chooserText(gchar* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
  }

  testing_support::TempDir dir;

 private:
  std::string previousFolder_;
};

struct Proposal {
  const char* proposed;  // relative to the scratch folder unless it is a bare name
  bool absolute;
  const char* selected;  // the file the chooser shows selected; nullptr: a missing file, left to the user
  const char* folder;    // the folder it shows
};

TEST_F(FileChooserTest, OpenChooserSelectsTheProposedFileInItsFolder) {
  const Proposal proposals[] = {
      {"ZN-LinuxAPI-Toc.xml", false, "ZN-LinuxAPI-Toc.xml", ""},
      {"other/Elsewhere.xml", true, "other/Elsewhere.xml", "other/"},
      {"other/Missing.xml", true, nullptr, "other/"},
      {"Missing.xml", false, nullptr, ""},
  };
  testing_support::ToolkitDialogs realDialogs;
  for (const Proposal& proposal : proposals) {
    const std::string proposed = proposal.absolute ? dir.file(proposal.proposed) : proposal.proposed;
    const std::string selected = proposal.selected ? dir.file(proposal.selected) : "";
    std::string folder = dir.file(proposal.folder);
    folder.pop_back();
    std::string title;
    testing_support::DialogAnswer answer(
        [&](GtkWidget* dialog) {
          title = gtk_window_get_title(GTK_WINDOW(dialog));
          GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
          EXPECT_TRUE(pumpUntil([&] {
            return chooserText(gtk_file_chooser_get_current_folder(chooser)) == folder &&
                   (!proposal.selected || chooserText(gtk_file_chooser_get_filename(chooser)) == selected);
          })) << proposed
              << ": folder " << chooserText(gtk_file_chooser_get_current_folder(chooser)) << ", selected "
              << chooserText(gtk_file_chooser_get_filename(chooser));
        },
        proposal.selected ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
    EXPECT_EQ(selected, base::chooseFile("Choose database ...", proposed, "XML files (*.xml)", "*.xml"))
        << proposed;
    EXPECT_TRUE(answer.answered());
    EXPECT_EQ("Choose database ...", title);
  }
}

}  // namespace
