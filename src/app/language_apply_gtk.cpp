// Applies the language choice to the topic tree and the interface texts of every window.
#include "app/language_apply_gtk.h"

#include <string>

#include "app/main_window_gtk.h"
#include "base/event_queue.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/interface_texts.h"
#include "config/language_file.h"
#include "config/message_texts.h"
#include "config/settings_window_gtk.h"
#include "database/topic_tree_gtk.h"
#include "search/find_bar_gtk.h"
#include "services/database_info_gtk.h"
#include "services/update_window_gtk.h"

namespace app {
namespace {

GtkWidget* widgetAt(config::TextPlace place, int number) {
  switch (place) {
    case config::TextPlace::Main:
      return number >= 0 && number < base::MainControlCount ? base::mainWindow.control[number] : nullptr;
    case config::TextPlace::Settings: return config::settingsWindow.at(number);
    case config::TextPlace::DatabaseInfo: return services::databaseInfoWindow.at(number);
    case config::TextPlace::Update: {
      const int row = number - base::ProgramUpdateLabelControl;
      return row >= 0 && row < base::updateRowCount ? services::updateWindow.label[row] : nullptr;
    }
    case config::TextPlace::InfoMenu:
      return number >= 0 && number < base::MenuItemCount ? app::popupMenuItems[number] : nullptr;
    case config::TextPlace::FindBar: return search::findBar.at(number);
  }
  return nullptr;
}

// The three items of a list take the TAB-separated parts of the text.
void setListItems(GtkComboBox* list, const std::string& text) {
  GtkTreeModel* model = gtk_combo_box_get_model(list);
  if (!model || !GTK_IS_LIST_STORE(model)) return;
  const gint textColumn = gtk_tree_model_get_n_columns(model) - 1;
  GtkTreeIter iter;
  int item = 0;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
       ok = gtk_tree_model_iter_next(model, &iter))
    gtk_list_store_set(GTK_LIST_STORE(model), &iter, textColumn, config::listItemText(text, item++).c_str(),
                       -1);
}

void setWidgetText(GtkWidget* widget, const std::string& text) {
  if (GTK_IS_MENU_ITEM(widget)) {
    gtk_menu_item_set_label(GTK_MENU_ITEM(widget), text.c_str());
  } else if (GTK_IS_FRAME(widget)) {
    GtkWidget* title = gtk_frame_get_label_widget(GTK_FRAME(widget));
    if (title && GTK_IS_LABEL(title)) gtk_label_set_text(GTK_LABEL(title), text.c_str());
  } else if (GTK_IS_COMBO_BOX(widget)) {
    setListItems(GTK_COMBO_BOX(widget), text);
  } else if (GTK_IS_BUTTON(widget)) {
    gtk_button_set_label(GTK_BUTTON(widget), text.c_str());
  } else if (GTK_IS_LABEL(widget)) {
    gtk_label_set_text(GTK_LABEL(widget), text.c_str());
  }
}

void applyInterfaceTexts(const std::string& code) {
  TRACE_LINE();
  const base::ProgramChange guard;
  for (const config::InterfaceText& entry : config::interfaceTexts()) {
    if (GtkWidget* widget = widgetAt(entry.place, entry.widget))
      setWidgetText(widget, config::LanguageText(entry.key, false, code));
  }
  for (const config::InterfaceText& entry : config::interfaceTooltips()) {
    if (GtkWidget* widget = widgetAt(entry.place, entry.widget))
      gtk_widget_set_tooltip_text(widget, config::LanguageText(entry.key, true, code).c_str());
  }
}

}  // namespace

void rebuildTreeKeepingSelection() {
  TRACE_LINE();
  GtkTreeView* tree = base::topicTreeView();
  const int row = database::selectedTopicRow(tree);
  database::rebuildTopicTree(tree, config::languageChoice(), appSettings.DyeingNews != 0);
  app::setNodeToggle(true);
  app::expandAll(true);
  database::selectTopicRow(tree, row);
}

void ApplyLanguage(bool quick) {
  TRACE_LINE();
  const int language = config::languageChoice();
  if (language == appSettings.Language) return;
  rebuildTreeKeepingSelection();
  appSettings.Language = language;
  if (quick) return;
  applyInterfaceTexts(config::languageCode(language));
  config::setInterfaceLanguage(language);
  app::showEditorOnOpenCodeEntry();
}

}  // namespace app
