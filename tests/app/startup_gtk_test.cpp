// The end of start-up: the library presented the way the program starts with it.
#include "app/startup_gtk.h"

#include <string>

#include <gtest/gtest.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "database/topic_tree_gtk.h"
#include "search/code_index_reader.h"
#include "services/database_info_gtk.h"
#include "support/temp_dir.h"
#include "support/viewer_fixture.h"

namespace {

std::string topic(const std::string& title, const std::string& file, const std::string& inner = "") {
  return "<topic theme_de=\"" + title + "\" theme_en=\"" + title + "\" theme_fr=\"" + title + "\" File=\"" +
         file + "\" descript_de=\"Über " + title + "\">" + inner + "</topic>";
}

// Topics nested three levels below a group; the viewer's own group holds one too.
const std::string nestedLibrary =
    "<toc name=\"Nested\">Nested library of 2026-11-30 snippets"
    "<group name=\"ZID Idavode Ruriva\">" +
    topic("Hilfe", "ViewerHelp.txt", topic("Mehr Hilfe", "Help/More.zn")) +
    "</group>"
    "<group name=\"A\">" +
    topic("Eltern", "A/Parent.zn", topic("Kind", "A/Child.zn", topic("Enkel", "A/Grandchild.zn"))) +
    topic("Ohne Datei", "") +
    "</group>"
    "<group name=\"B\">" +
    topic("Eins", "B/One.zn") + topic("Zwei", "B/Two.zn") +
    "</group>"
    "<group name=\"Leer\"></group>"
    "</toc>";

class StartupTest : public testing_support::ViewerTest {
 protected:
  void TearDown() override {
    search::stopCodeIndexReading();
    search::codeIndex = search::CodeIndex();
    ViewerTest::TearDown();
  }

  GtkTreeView* tree() { return base::topicTreeView(); }

  // Every row that has children is open.
  bool everyNodeOpen() {
    GtkTreeModel* model = gtk_tree_view_get_model(tree());
    for (int row = 0; row < database::topicRowCount(); ++row) {
      GtkTreeIter iter;
      if (!database::topicRowIter(row, &iter) || !gtk_tree_model_iter_has_child(model, &iter)) continue;
      GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
      const bool open = gtk_tree_view_row_expanded(tree(), path);
      gtk_tree_path_free(path);
      if (!open) return false;
    }
    return true;
  }

  // The program as it stands before the end of start-up: the tree closed, another
  // row selected, the focus elsewhere.
  void presentAfterLoading(const std::string& databaseText) {
    loadLibrary(databaseText);
    database::expandAllTopics(tree(), false);
    database::selectTopicRow(tree(), 1);
    gtk_widget_grab_focus(GTK_WIDGET(tree()));
    base::clearEvents();
    appSettings.about = 1;
    app::presentLibrary();
  }

  void expectCountsShown(int topics, int entries) {
    base::postMenuEvent(base::MainWindowNo, 10);
    dispatchPending();
    EXPECT_EQ(std::to_string(topics), services::databaseInfoFieldText(base::TopicsFieldControl));
    EXPECT_EQ(std::to_string(entries), services::databaseInfoFieldText(base::EntriesFieldControl));
  }
};

TEST_F(StartupTest, TheLibraryOpensWhollyCountedWithRowZeroShownAndTheFocusInTheSearch) {
  presentAfterLoading(nestedLibrary);
  EXPECT_TRUE(everyNodeOpen());
  EXPECT_EQ(database::selectedTopicRow(tree()), 0);
  EXPECT_TRUE(gtk_widget_has_focus(base::mainWindow.control[base::SearchFieldControl]));
  dispatchPending();
  EXPECT_EQ(descriptionText(), "Nested library of 2026-11-30 snippets");
  // Once the window is painted, the seven snippet files are read in the background.
  EXPECT_TRUE(dispatchUntil(
      [] { return search::codeIndex.files.size() == 7 && !search::codeIndexProgress().building; }));
  EXPECT_TRUE(dialogs.requests.empty());
  // A and B (the empty group and the viewer's own left out); Eltern, Eins and Zwei
  // (Ohne Datei has no file, Kind and Enkel lie deeper).
  expectCountsShown(2, 3);
}

TEST_F(StartupTest, TheSampleLibraryCountsItsTopicsWithNestedOnes) {
  presentAfterLoading(testing_support::readFile(std::string(ZN_SOURCE_DIR) + "/sample/ZN-LinuxAPI-Toc.xml"));
  EXPECT_TRUE(everyNodeOpen());
  expectCountsShown(base::appState.groupCount, 29);
  EXPECT_GT(base::appState.groupCount, 0);
}

}  // namespace
