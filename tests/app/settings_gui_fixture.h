// The viewer's windows with the settings window, and readers for what their widgets show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "config/display_language.h"
#include "config/interface_texts.h"
#include "config/language_file.h"
#include "config/settings_window_gtk.h"
#include "database/topic_tree_gtk.h"
#include "search/find_bar_gtk.h"
#include "services/database_info_gtk.h"
#include "services/update_window_gtk.h"
#include "support/viewer_fixture.h"

namespace testing_support {

class SettingsGuiTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    config::clearLanguageTable();
    base::appState.databasePath = dir.file("ZN-LinuxAPI-Toc.xml");
    services::createUpdateWindow();
    config::createSettingsWindow();
    startCountingRebuilds();
  }

  void TearDown() override {
    config::destroySettingsWindow();
    if (services::updateWindow.window) gtk_widget_destroy(services::updateWindow.window);
    services::updateWindow = services::UpdateWindow();
    config::clearLanguageTable();
    config::setLanguageChoice(0);
    ViewerTest::TearDown();
  }

  void recreateSettingsWindow() {
    config::destroySettingsWindow();
    config::createSettingsWindow();
  }

  GtkWidget* control(int number) const { return config::settingsWindow.control[number]; }

  // The widget that an entry of the interface tables labels.
  static GtkWidget* widgetOf(const config::InterfaceText& entry) {
    switch (entry.place) {
      case config::TextPlace::Main: return base::mainWindow.control[entry.widget];
      case config::TextPlace::Settings: return config::settingsWindow.control[entry.widget];
      case config::TextPlace::DatabaseInfo: return services::databaseInfoWindow.control[entry.widget];
      case config::TextPlace::Update:
        return services::updateWindow.label[entry.widget - base::ProgramUpdateLabelControl];
      case config::TextPlace::InfoMenu: return app::popupMenuItems[entry.widget];
      case config::TextPlace::FindBar: return search::findBar.at(entry.widget);
    }
    return nullptr;
  }

  // The label of a label, button, check box, frame title or menu entry.
  static std::string shownText(GtkWidget* widget) {
    if (GTK_IS_MENU_ITEM(widget)) return gtk_menu_item_get_label(GTK_MENU_ITEM(widget));
    if (GTK_IS_FRAME(widget))
      return gtk_label_get_text(GTK_LABEL(gtk_frame_get_label_widget(GTK_FRAME(widget))));
    if (GTK_IS_BUTTON(widget)) return gtk_button_get_label(GTK_BUTTON(widget));
    if (GTK_IS_LABEL(widget)) return gtk_label_get_text(GTK_LABEL(widget));
    if (GTK_IS_ENTRY(widget)) return gtk_entry_get_text(GTK_ENTRY(widget));
    return "(no text)";
  }

  // The item texts of a drop-down list, joined by TAB like the language file writes them.
  static std::string listItems(GtkWidget* list) {
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(list));
    const gint column = gtk_tree_model_get_n_columns(model) - 1;
    std::string joined;
    int item = 0;
    GtkTreeIter iter;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
         ok = gtk_tree_model_iter_next(model, &iter)) {
      gchar* text = nullptr;
      gtk_tree_model_get(model, &iter, column, &text, -1);
      if (item++ > 0) joined += "\t";
      joined += text ? text : "";
      g_free(text);
    }
    return joined;
  }

  static std::string tooltip(GtkWidget* widget) {
    gchar* text = gtk_widget_get_tooltip_text(widget);
    std::string result = text ? text : "";
    g_free(text);
    return result;
  }

  // The text a widget of the interface tables shows: list items joined by TAB.
  static std::string interfaceText(GtkWidget* widget) {
    return GTK_IS_COMBO_BOX(widget) ? listItems(widget) : shownText(widget);
  }

  // How often the topic tree was rebuilt since the counting began.
  int treeBuilds() const { return static_cast<int>(database::topicRowsVersion() - rowsVersionAtStart_); }

  std::vector<std::string> rowTexts() const {
    std::vector<std::string> titles;
    for (int row = 0; row < database::topicRowCount(); ++row) titles.push_back(database::topicRowText(row));
    return titles;
  }

 private:
  void startCountingRebuilds() { rowsVersionAtStart_ = database::topicRowsVersion(); }

  std::uint64_t rowsVersionAtStart_ = 0;
};

}  // namespace testing_support
