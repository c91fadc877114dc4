// The admin menu's export items: activated on the real menu, they read the tree's
// rows and records and tell the outcome through the dialog module.
#include <string>

#include <glib/gstdio.h>
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "base/main_window_widgets_gtk.h"
#include "config/display_language.h"
#include "support/viewer_fixture.h"

namespace {

using testing_support::readFile;

class AdminCommandsTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    base::appState.exportFolder = dir.path() + "Export/";
    ASSERT_EQ(g_mkdir(base::appState.exportFolder.c_str(), 0755), 0);
  }

  // Activates the admin menu item with this label, as a click on it does.
  void chooseAdminItem(const std::string& label) {
    GList* items = gtk_container_get_children(GTK_CONTAINER(base::mainWindow.adminMenu));
    GtkWidget* chosen = nullptr;
    for (GList* item = items; item; item = item->next) {
      if (GTK_IS_SEPARATOR_MENU_ITEM(item->data)) continue;
      const gchar* text = gtk_menu_item_get_label(GTK_MENU_ITEM(item->data));
      if (text && label == text) chosen = GTK_WIDGET(item->data);
    }
    g_list_free(items);
    ASSERT_NE(chosen, nullptr) << label;
    gtk_menu_item_activate(GTK_MENU_ITEM(chosen));
    dispatchPending();
  }

  std::string exported(const char* name) const { return readFile(base::appState.exportFolder + name); }
  std::string lastMessage() const { return dialogs.requests.empty() ? "" : dialogs.requests.back().text; }
};

TEST_F(AdminCommandsTest, FileListAndPostingsFollowTheTreeRows) {
  chooseAdminItem("Export Filelist");
  EXPECT_EQ(exported("FileList.txt"), "ViewerHelp.txt\nGtk/Window.zn\n/Gtk/Button.zn\nGtk/Missing.zn\n");
  EXPECT_EQ(lastMessage(), "Filelist-Export done to ...\n" + base::appState.exportFolder + "FileList.txt");
  EXPECT_EQ(dialogs.requests.back().title, "Linux ZN-ZID-Idavode-Ruriva");

  chooseAdminItem("Export Posting News");
  EXPECT_EQ(exported("ForumPosting.txt"), "\n\n[b]Windows[/b]: \t\u2730Knopf\n");
  // News are told by the shown title: in English this topic is not marked.
  config::setLanguageChoice(1);
  loadLibrary(testing_support::smallLibraryDatabase());
  chooseAdminItem("Export Posting News");
  EXPECT_EQ(exported("ForumPosting.txt"), "\n\n");
  config::setLanguageChoice(0);
  loadLibrary(testing_support::smallLibraryDatabase());
  chooseAdminItem("Export Posting All");
  EXPECT_EQ(
      exported("ForumPosting.txt"),
      "\n[b]ZID Idavode Ruriva[/b]: \tHilfe\n\n[b]Windows[/b]: \tFenster\n[b]Windows[/b]: \t\u2730Knopf\n"
      "[b]Windows[/b]: \tFehlt\n[b]Windows[/b]: \tOhne Datei\n");
  EXPECT_EQ(lastMessage(), "text-Export done to ...\n" + base::appState.exportFolder + "ForumPosting.txt");
}

TEST_F(AdminCommandsTest, WebPageAndDuplicatesReportAreWrittenAndTold) {
  chooseAdminItem("Export WebPage");
  EXPECT_NE(exported("ZN-LinuxAPI-Lib.html").find("outline('ZID Idavode Ruriva');outline('Windows');"),
            std::string::npos);
  EXPECT_EQ(lastMessage(),
            "html-Export done to ...\n" + base::appState.exportFolder + "ZN-LinuxAPI-Lib.html");
  chooseAdminItem("Debug doubles db-entries");
  EXPECT_EQ(exported("Protocoll.txt"), "Doppelte xml-Eintr\u00E4ge in ZN-LinuxAPI-Toc.xml:\n\n\n\n\n\n");
  EXPECT_EQ(lastMessage(),
            "Protokoll with double terms done to ...\n" + base::appState.exportFolder + "Protocoll.txt");

  // A page that cannot be created ends the command without a word.
  base::appState.exportFolder = dir.path() + "Missing/";
  const size_t told = dialogs.requests.size();
  chooseAdminItem("Export WebPage");
  EXPECT_EQ(dialogs.requests.size(), told);
}

}  // namespace
