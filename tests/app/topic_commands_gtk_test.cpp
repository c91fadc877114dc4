// Showing topics in the code view: descriptions, file fields, missing files and dropped files.
#include <gtest/gtest.h>

#include "app/topic_commands_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "support/viewer_fixture.h"
#include "viewer/code_file.h"
#include "viewer/code_view_gtk.h"

namespace {

class CodeViewTest : public testing_support::ViewerTest {
 protected:
  GdkColor descriptionBase() {
    return gtk_widget_get_style(base::mainWindow.control[base::DescriptionControl])->base[GTK_STATE_NORMAL];
  }
  bool descriptionIsAlarmed() {
    const GdkColor base = descriptionBase();
    return base.red == 224 * 257 && base.green == 145 * 257 && base.blue == 131 * 257;
  }
  void dropFiles(const std::string& paths) {
    base::Event event;
    event.kind = base::EventKind::FilesDropped;
    event.window = base::MainWindowNo;
    event.widget = base::CodeViewControl;
    event.droppedPaths = paths;
    base::postEvent(event);
    dispatchPending();
  }
};

TEST_F(CodeViewTest, TopicShowsDescriptionCodePropertiesAndFileFields) {
  selectRow(4);
  EXPECT_EQ("Ein Fenster", descriptionText());
  EXPECT_EQ("Window code\n; Grüße", codeText()) << "the options block is hidden";
  EXPECT_EQ("Gtk/Window.zn", base::appState.currentCodeFile);
  EXPECT_EQ(1, app::codeFileProperties.SourceUtf8);
  EXPECT_EQ(1, app::codeFileProperties.EnableUnicode);
  EXPECT_EQ("Gtk/Window.zn", services::databaseInfoFieldText(base::FileFieldControl));
  EXPECT_EQ("UTF8", services::databaseInfoFieldText(base::CodeFormatFieldControl));
  EXPECT_EQ("Unicode", services::databaseInfoFieldText(base::ExecutableFormatFieldControl));

  selectRow(5);  // CR LF lines, no mark, a leading "/" in the File value
  EXPECT_EQ("Button code\nsecond", codeText());
  EXPECT_EQ("Ascii", services::databaseInfoFieldText(base::CodeFormatFieldControl));
  EXPECT_EQ("Ascii", services::databaseInfoFieldText(base::ExecutableFormatFieldControl));
}

TEST_F(CodeViewTest, EverySnippetOpensAtItsStartWithOnlyItsOwnMarks) {
  // The old text goes in one of two ways, by where the cursor stood: at the start, or
  // elsewhere with a selection.
  appSettings.CodeMarks = 1;
  dir.write("Gtk/Window.zn", "If x ; a comment\n");
  dir.write("Gtk/Button.zn", "plain words\nsecond\n");
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::codeView());
  for (const bool selectedBefore : {false, true}) {
    selectRow(4);
    GtkTextIter from, to;
    gtk_text_buffer_get_iter_at_offset(buffer, &from, 3);
    gtk_text_buffer_get_iter_at_offset(buffer, &to, 9);
    if (selectedBefore) gtk_text_buffer_select_range(buffer, &from, &to);
    selectRow(5);
    EXPECT_EQ("plain words\nsecond", codeText());
    GtkTextIter cursor, bound;
    gtk_text_buffer_get_selection_bounds(buffer, &cursor, &bound);
    EXPECT_EQ(0, gtk_text_iter_get_offset(&cursor)) << selectedBefore;
    EXPECT_EQ(0, gtk_text_iter_get_offset(&bound)) << selectedBefore;
    gtk_text_buffer_get_start_iter(buffer, &from);
    GSList* tags = gtk_text_iter_get_tags(&from);
    EXPECT_EQ(nullptr, tags) << "no mark of the text before";
    g_slist_free(tags);
  }
}

TEST_F(CodeViewTest, DescriptionFollowsTheDisplayLanguageAndGroupsShowTheirText) {
  config::setLanguageChoice(1);
  selectRow(4);
  EXPECT_EQ("A window", descriptionText());
  config::setLanguageChoice(2);
  selectRow(5);
  EXPECT_EQ("Un bouton", descriptionText());
  selectRow(3);
  EXPECT_EQ("Window snippets", descriptionText());
  selectRow(0);
  EXPECT_EQ("Test library of 2026-11-30 snippets", descriptionText());
}

TEST_F(CodeViewTest, SampleSnippetInUtf8WithoutAMarkShowsItsUmlauts) {
  appSettings.Lib_path = std::string(ZN_SOURCE_DIR) + "/sample/";
  loadLibrary(testing_support::readFile(appSettings.Lib_path + "ZN-LinuxAPI-Toc.xml"));
  int row = 0;
  while (database::indexEntries[row].File != "GLib/Utilities/DateAndTime.zn") ++row;
  selectRow(row);
  EXPECT_NE(std::string::npos, codeText().find("gespeichert; ältere")) << codeText().substr(0, 200);
  EXPECT_EQ("UTF8", services::databaseInfoFieldText(base::CodeFormatFieldControl));
}

TEST_F(CodeViewTest, TopicWithoutFileEmptiesViewTitleAndFileFields) {
  selectRow(4);
  selectRow(7);
  EXPECT_EQ("", codeText());
  EXPECT_EQ("", base::appState.currentCodeFile);
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva", windowTitle());
  EXPECT_EQ("", services::databaseInfoFieldText(base::FileFieldControl));
  EXPECT_EQ("", services::databaseInfoFieldText(base::CodeFormatFieldControl));
}

TEST_F(CodeViewTest, MissingFileIsReportedOnceThenShownAsBannerWithBeeps) {
  fakeProgram("beep");
  appSettings.Lib_path = dir.path();
  selectRow(6);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva", dialogs.requests[0].title);
  EXPECT_EQ("Missing file:\nGtk/Missing.zn\n\nCheck library-path in settings:\n" + dir.path(),
            dialogs.requests[0].text);
  EXPECT_EQ("", codeText());
  EXPECT_TRUE(descriptionIsAlarmed());
  EXPECT_EQ(0, base::appState.missingFileWarning);
  ASSERT_TRUE(waitForProgramCalls("beep", 1));

  selectRow(4);
  EXPECT_FALSE(descriptionIsAlarmed());
  selectRow(6);
  EXPECT_EQ(1u, dialogs.requests.size()) << "only the first missing file gets a message";
  EXPECT_EQ("*************************\n***   Missing file!   ***\n*************************", codeText());
  EXPECT_TRUE(descriptionIsAlarmed());
  ASSERT_TRUE(waitForProgramCalls("beep", 2));
  EXPECT_EQ("-f 130.8 -l 100\n-f 130.8 -l 100\n", programLog("beep"));
  EXPECT_EQ("Ascii", services::databaseInfoFieldText(base::CodeFormatFieldControl));
}

TEST_F(CodeViewTest, SelectingTheShownTopicAgainDoesNotReadTheFileAgain) {
  selectRow(4);
  testing_support::writeFile(dir.path() + "Gtk/Window.zn", "changed on disk\n");
  selectRow(4);
  EXPECT_EQ("Window code\n; Grüße", codeText());
}

TEST_F(CodeViewTest, DroppedFilesPassTheTypeTestOrAreRefused) {
  selectRow(4);
  const std::string upper = dir.write("drop/Upper.ZN", "upper\n");
  dropFiles(upper);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ("File type 'ZN' not supported!\nNot loaded!", dialogs.requests[0].text);
  EXPECT_EQ("Window code\n; Grüße", codeText()) << "a refused drop changes nothing";
  EXPECT_EQ("Gtk/Window.zn", base::appState.currentCodeFile);
  EXPECT_EQ(4, database::selectedTopicRow(base::topicTreeView()));

  const std::string single = dir.write("drop/Single.z", "single letter\n");
  const std::string second = dir.write("drop/Second.zn", "second file\n");
  dropFiles(single + "\n" + second);
  EXPECT_EQ("single letter", codeText()) << "only the first dropped file is shown";
  EXPECT_EQ("Extern file ...", descriptionText());
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva ~ Single.z", windowTitle());
  EXPECT_EQ("", base::appState.currentCodeFile);
  EXPECT_EQ(-1, database::selectedTopicRow(base::topicTreeView()));

  selectRow(4);  // the topic shown before is read again
  EXPECT_EQ("Window code\n; Grüße", codeText());

  dropFiles(dir.write("drop/noextension", "x\n"));
  EXPECT_EQ("File type '' not supported!\nNot loaded!", dialogs.requests.back().text);
}

TEST_F(CodeViewTest, HelpTopicIsShownThroughTheTree) {
  base::postMenuEvent(base::MainWindowNo, 15);  // F1 posts a click of the help button
  dispatchPending();
  EXPECT_EQ(base::appState.helpRow, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_EQ("Help text", codeText());
  EXPECT_EQ("Hilfe de", descriptionText());
}

TEST_F(CodeViewTest, MissingHelpTopicIsReported) {
  loadLibrary("<toc name=\"x\"><g name=\"Group\"><t File=\"a.zn\"/></g></toc>");
  base::appState.helpRow = 0;
  base::postWidgetEvent(base::MainWindowNo, base::HelpButtonControl, base::EventType::LeftClick);
  dispatchPending();
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ("No help-file found.", dialogs.requests[0].text);
}

}  // namespace
