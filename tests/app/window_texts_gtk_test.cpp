// The texts of every window in German, English and French, as the default desktop font lays
// them out: each fits its fixed box, and each tooltip appears under the pointer.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/language_apply_gtk.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/interface_texts.h"
#include "config/language_file.h"
#include "config/settings_window_gtk.h"
#include "services/database_info_gtk.h"
#include "services/update_window_gtk.h"
#include "settings_gui_fixture.h"
#include "support/x_input_gtk.h"

namespace {

using config::InterfaceText;
using config::TextPlace;
using testing_support::pumpUntil;

const char* const languageCodes[] = {"de", "en", "fr"};

class WindowTextsTest : public testing_support::SettingsGuiTest {
 protected:
  void SetUp() override {
    SettingsGuiTest::SetUp();
    testing_support::writeFile(
        dir.file("DizerEZ API-LibLang.inf"),
        testing_support::readFile(std::string(ZN_SOURCE_DIR) + "/sample/DizerEZ API-LibLang.inf"));
    config::openSettingsWindow();
    // The find bar's texts are checked too, so it is open.
    base::postMenuEvent(base::MainWindowNo, base::FindInCodeMenuItem);
    dispatchPending();
    services::showDatabaseInfo();
    services::showUpdateWindow();
    ASSERT_TRUE(pumpUntil([] {
      return gtk_widget_get_mapped(config::settingsWindow.window) &&
             gtk_widget_get_mapped(services::databaseInfoWindow.window) &&
             gtk_widget_get_mapped(services::updateWindow.window);
    }));
  }

  // German is built in; the others come from the sample language file.
  void switchTo(int language) {
    if (language == 0 && appSettings.Language == 0) return;
    config::setLanguageChoice(language);
    app::ApplyLanguage(false);
  }

  static std::vector<GtkWidget*> windows() {
    return {base::mainWindow.window, config::settingsWindow.window, services::databaseInfoWindow.window,
            services::updateWindow.window};
  }

  static void collect(GtkWidget* widget, std::vector<GtkWidget*>* all) {
    all->push_back(widget);
    if (GTK_IS_CONTAINER(widget))
      gtk_container_forall(
          GTK_CONTAINER(widget),
          [](GtkWidget* child, gpointer list) {
            collect(child, static_cast<std::vector<GtkWidget*>*>(list));
          },
          all);
  }

  // A label whose laid-out text is wider or taller than its box, or that is cut without
  // the whole text as its tooltip.
  static std::string labelProblem(GtkWidget* label) {
    const std::string text = gtk_label_get_text(GTK_LABEL(label));
    GtkAllocation box;
    gtk_widget_get_allocation(label, &box);
    gint xpad = 0, ypad = 0;
    gtk_misc_get_padding(GTK_MISC(label), &xpad, &ypad);
    int width = 0, height = 0;
    PangoLayout* layout = gtk_label_get_layout(GTK_LABEL(label));
    pango_layout_get_pixel_size(layout, &width, &height);
    if (width > box.width - 2 * xpad || height > box.height - 2 * ypad)
      return "\"" + text + "\" needs " + std::to_string(width) + "x" + std::to_string(height) + " in " +
             std::to_string(box.width) + "x" + std::to_string(box.height);
    if (pango_layout_is_ellipsized(layout) && tooltip(label) != text)
      return "\"" + text + "\" is cut without tooltip";
    return "";
  }

  // An item of a drop-down list that its list does not show whole.
  static std::vector<std::string> listProblems(GtkWidget* list) {
    std::vector<std::string> problems;
    GtkWidget* view = gtk_bin_get_child(GTK_BIN(list));
    GtkAllocation box;
    gtk_widget_get_allocation(view, &box);
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(list));
    for (int item = 0; item < gtk_tree_model_iter_n_children(model, nullptr); ++item) {
      GtkTreePath* path = gtk_tree_path_new_from_indices(item, -1);
      GtkRequisition needed;
      gtk_cell_view_get_size_of_row(GTK_CELL_VIEW(view), path, &needed);
      gtk_tree_path_free(path);
      if (needed.width > box.width)
        problems.push_back("item " + std::to_string(item) + " of \"" + listItems(list) + "\" needs " +
                           std::to_string(needed.width) + " of " + std::to_string(box.width));
    }
    return problems;
  }

  static std::vector<std::string> textProblems() {
    std::vector<std::string> problems;
    for (GtkWidget* window : windows()) {
      std::vector<GtkWidget*> all;
      collect(window, &all);
      for (GtkWidget* widget : all) {
        if (!gtk_widget_get_mapped(widget)) continue;
        if (GTK_IS_LABEL(widget) && !labelProblem(widget).empty()) problems.push_back(labelProblem(widget));
        if (GTK_IS_COMBO_BOX(widget))
          for (const std::string& problem : listProblems(widget)) problems.push_back(problem);
      }
    }
    return problems;
  }

  static std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
  }
};

TEST_F(WindowTextsTest, EveryFixedTextFitsItsBoxInEveryLanguage) {
  for (int language = 0; language < 3; ++language) {
    switchTo(language);
    // Each text is fitted as it is laid out; a smaller font lays it out once more.
    EXPECT_TRUE(pumpUntil([] { return textProblems().empty(); }, 3000)) << languageCodes[language] << ":\n"
                                                                        << joined(textProblems());
  }
}

TEST_F(WindowTextsTest, EveryTooltipShowsUnderThePointerInEveryLanguage) {
  GtkSettings* toolkit = gtk_settings_get_default();
  gint delay = 0;
  g_object_get(toolkit, "gtk-tooltip-timeout", &delay, nullptr);
  g_object_set(toolkit, "gtk-tooltip-timeout", 20, nullptr);
  for (int language = 0; language < 3; ++language) {
    switchTo(language);
    for (const InterfaceText& entry : config::interfaceTooltips()) {
      GtkWidget* widget = widgetOf(entry);
      const std::string expected =
          language == 0 ? entry.german : config::LanguageText(entry.key, true, languageCodes[language]);
      // The windows overlap on the screen: the one under test comes to the top.
      gdk_window_raise(gtk_widget_get_window(gtk_widget_get_toplevel(widget)));
      ASSERT_TRUE(testing_support::pointAt(widget));
      EXPECT_TRUE(pumpUntil([&] { return testing_support::shownTooltip() == expected; }, 3000))
          << languageCodes[language] << " " << entry.key << ": " << testing_support::shownTooltip();
    }
  }
  g_object_set(toolkit, "gtk-tooltip-timeout", delay, nullptr);
}

TEST_F(WindowTextsTest, TextTooLongEvenAtTheSmallestSizeIsCutAndShownWholeAsTooltip) {
  const std::string label = "A label far too long for its box even at seven points, so it is cut at its end";
  const std::string item = "An item far too long for its list even at seven points, so it is cut at its end";
  testing_support::writeFile(dir.file("DizerEZ API-LibLang.inf"),
                             "[LanguageItems]\nKey = #Cnf_LabelSearch\nde = x\nen = " + label +
                                 "\nfr = x\nKey = #Cnf_SearchMode\nde = x\nen = " + item +
                                 "\tB\tC\nfr = x\n");
  config::clearLanguageTable();
  switchTo(1);
  GtkWidget* labelWidget = control(base::SearchScopeLabelControl);
  GtkWidget* list = control(base::SearchScopeListControl);
  gtk_combo_box_set_active(GTK_COMBO_BOX(list), 0);
  ASSERT_TRUE(
      pumpUntil([&] { return pango_layout_is_ellipsized(gtk_label_get_layout(GTK_LABEL(labelWidget))); }));
  EXPECT_TRUE(pumpUntil([] { return textProblems().empty(); }, 3000)) << joined(textProblems());
  gdk_window_raise(gtk_widget_get_window(config::settingsWindow.window));
  for (auto shown : {std::make_pair(labelWidget, label), std::make_pair(list, item)}) {
    ASSERT_TRUE(testing_support::pointAt(shown.first));
    EXPECT_TRUE(pumpUntil([&] { return testing_support::shownTooltip() == shown.second; }))
        << testing_support::shownTooltip();
  }
}

}  // namespace
