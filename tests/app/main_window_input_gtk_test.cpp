// The main window under real input: the pointer, the keyboard and another program's drag
// go through the X server, so every signal handler is raised by its widget.
#include <string>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/main_window_gtk.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "support/viewer_fixture.h"
#include "support/x_input_gtk.h"

namespace {

using testing_support::pumpUntil;

class MainWindowInputTest : public testing_support::ViewerTest {
 protected:
  GtkWidget* gadget(int number) { return app::mainWindow.gadget[number]; }

  std::string fileUri(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string result = uri;
    g_free(uri);
    return result;
  }

  // Runs the queued events until the condition holds, as the program's loop does.
  bool dispatchUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
    return pumpUntil(
        [&] {
          dispatchPending();
          return condition();
        },
        timeoutMs);
  }

  int selectedRow() { return database::selectedTopicRow(app::topicTreeView()); }
};

TEST_F(MainWindowInputTest, FileDroppedByAnotherProgramOnTheCodeViewIsShownAsExternalFile) {
  selectRow(4);
  const std::string file = dir.write("outside/Dropped.zn", "Dropped code\n");
  testing_support::DndPeer source;
  ASSERT_TRUE(source.startSource(1000, 700, {fileUri(file)}));
  testing_support::SignalCounter motions(gadget(app::CodeViewGadget), "drag-motion");

  ASSERT_TRUE(
      testing_support::dragTo(source.centre(), testing_support::screenPoint(gadget(app::CodeViewGadget))));
  ASSERT_TRUE(pumpUntil([&] { return motions.count() > 0; })) << "the drag never reached the code view";
  ASSERT_TRUE(testing_support::releaseButton());

  ASSERT_TRUE(dispatchUntil([&] { return codeText() == "Dropped code"; })) << codeText();
  EXPECT_EQ("Extern file ...", descriptionText());
  EXPECT_EQ(-1, selectedRow()) << "no topic is selected";
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva ~ Dropped.zn", windowTitle());
  EXPECT_TRUE(source.waitForEnd());
}

}  // namespace
