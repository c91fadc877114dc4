// Builds and fills the database information window.
#include "services/database_info_gtk.h"

#include <string>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/text_fit_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/app_settings.h"
#include "config/interface_texts.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "resources/pictures_gtk.h"

namespace services {

DatabaseInfoWindow databaseInfoWindow;

namespace {

enum ControlKind { Frame, Label, Field, NumberField, Icon, Arrow };

struct ControlSpec {
  int number;  // -1: no event number
  ControlKind kind;
  int x, y, width, height;
  const char* picture;
};

// Frame titles, label texts and icon tooltips are the built-in German interface texts.
const ControlSpec controls[] = {
    {base::FolderIconControl, Icon, 7, 24, 16, 16, "database"},
    {base::InfoDatabaseLabelControl, Label, 28, 25, 137, 22, nullptr},
    {base::DatabaseFieldControl, Field, 170, 20, 520, 24, nullptr},
    {base::ContentLabelControl, Label, 5, 49, 160, 22, nullptr},
    {base::ContentFieldControl, Field, 170, 45, 520, 24, nullptr},
    {base::InfoLibraryLabelControl, Label, 5, 73, 160, 22, nullptr},
    {base::LibraryFieldControl, Field, 170, 69, 520, 24, nullptr},
    {-1, Arrow, 154, 95, 16, 16, "arrow-right"},
    {base::TopicsLabelControl, Label, 185, 97, 120, 22, nullptr},
    {base::TopicsFieldControl, NumberField, 310, 93, 80, 24, nullptr},
    {base::EntriesLabelControl, Label, 485, 97, 120, 22, nullptr},
    {base::EntriesFieldControl, NumberField, 610, 93, 80, 24, nullptr},
    {base::CopyIconControl, Icon, 7, 150, 16, 16, "document"},
    {base::FileLabelControl, Label, 28, 151, 137, 22, nullptr},
    {base::FileFieldControl, Field, 170, 146, 520, 24, nullptr},
    {-1, Arrow, 154, 173, 16, 16, "arrow-right"},
    {base::CodeFormatLabelControl, Label, 185, 175, 120, 22, nullptr},
    {base::CodeFormatFieldControl, Field, 310, 170, 80, 24, nullptr},
    {base::ExecutableFormatLabelControl, Label, 485, 175, 120, 22, nullptr},
    {base::ExecutableFormatFieldControl, Field, 610, 170, 80, 24, nullptr},
    // The frames come last: the toolkit looks for the control under the pointer in
    // this order, and a frame placed first would hide its controls' tooltips.
    {base::LibraryFrameControl, Frame, 5, 2, 690, 121, nullptr},
    {base::FileFrameControl, Frame, 5, 128, 690, 72, nullptr},
};

GtkWidget* pictureOrStock(const char* picture, const char* stock) {
  if (GtkWidget* image = resources::pictureImage(picture)) return image;
  return gtk_image_new_from_stock(stock, GTK_ICON_SIZE_MENU);
}

gboolean onIconPress(GtkWidget*, GdkEventButton* event, gpointer number) {
  if (event->button == 1 && event->type == GDK_BUTTON_PRESS)
    base::postWidgetEvent(base::DatabaseInfoWindowNo, GPOINTER_TO_INT(number), base::EventType::LeftClick);
  return TRUE;
}

GtkWidget* newLabel(const std::string& text) {
  GtkWidget* label = gtk_label_new(text.c_str());
  gtk_misc_set_alignment(GTK_MISC(label), 1.0f, 0.5f);
  base::keepTextInside(label);
  return label;
}

GtkWidget* newField(bool number) {
  GtkWidget* field = gtk_entry_new();
  gtk_editable_set_editable(GTK_EDITABLE(field), FALSE);
  if (number) gtk_entry_set_alignment(GTK_ENTRY(field), 1.0f);
  return field;
}

GtkWidget* newIcon(const ControlSpec& spec) {
  GtkWidget* box = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(box), FALSE);
  const char* stock = spec.number == base::FolderIconControl ? GTK_STOCK_HARDDISK : GTK_STOCK_FILE;
  gtk_container_add(GTK_CONTAINER(box), pictureOrStock(spec.picture, stock));
  const std::string tooltip = config::builtInTooltip(config::TextPlace::DatabaseInfo, spec.number);
  gtk_widget_set_tooltip_text(box, tooltip.c_str());
  g_signal_connect(box, "button-press-event", G_CALLBACK(onIconPress), GINT_TO_POINTER(spec.number));
  return box;
}

GtkWidget* makeControl(const ControlSpec& spec) {
  const std::string text = config::builtInText(config::TextPlace::DatabaseInfo, spec.number);
  switch (spec.kind) {
    case Frame: return base::newTitledFrame(text);
    case Label: return newLabel(text);
    case Field: return newField(false);
    case NumberField: return newField(true);
    case Icon: return newIcon(spec);
    case Arrow: return pictureOrStock(spec.picture, GTK_STOCK_GO_FORWARD);
  }
  return nullptr;
}

void setField(int control, const std::string& text) {
  if (GtkWidget* field = databaseInfoWindow.control[control])
    gtk_entry_set_text(GTK_ENTRY(field), text.c_str());
}

}  // namespace

void createDatabaseInfoWindow() {
  TRACE_LINE();
  GtkWidget* fixed = nullptr;
  GtkWidget* window = base::newUtilityWindow("About: current Database & File", 700, 205, &fixed);
  databaseInfoWindow.window = window;
  for (const ControlSpec& spec : controls) {
    GtkWidget* widget = makeControl(spec);
    gtk_widget_set_size_request(widget, spec.width, spec.height);
    gtk_fixed_put(GTK_FIXED(fixed), widget, spec.x, spec.y);
    if (spec.number >= 0) databaseInfoWindow.control[spec.number] = widget;
  }
  base::connectCloseAndEscape(window, base::DatabaseInfoWindowNo);
  gtk_widget_show_all(fixed);
}

void setSelectedFileFields(const std::string& file, const std::string& codeFormat,
                           const std::string& executableFormat) {
  setField(base::FileFieldControl, file);
  setFileFormatFields(codeFormat, executableFormat);
}

void setFileFormatFields(const std::string& codeFormat, const std::string& executableFormat) {
  setField(base::CodeFormatFieldControl, codeFormat);
  setField(base::ExecutableFormatFieldControl, executableFormat);
}

void setSelectedFileField(const std::string& file) { setField(base::FileFieldControl, file); }

std::string databaseInfoFieldText(int control) {
  GtkWidget* field = databaseInfoWindow.at(control);
  if (!field || !GTK_IS_ENTRY(field)) return std::string();
  return gtk_entry_get_text(GTK_ENTRY(field));
}

void fillDatabaseInfo() {
  TRACE_LINE();
  setField(base::DatabaseFieldControl, absoluteDatabasePath());
  const std::string rootText = database::topicRowCount() > 0 ? database::topicRowText(0) : std::string();
  const std::string_view entryText =
      database::indexEntries.empty() ? std::string_view() : database::indexEntries[0].Text;
  setField(base::ContentFieldControl, rootText + " - " + std::string(entryText));
  setField(base::LibraryFieldControl, absoluteLibraryFolder());
  setField(base::TopicsFieldControl, std::to_string(base::appState.groupCount));
  setField(base::EntriesFieldControl, std::to_string(base::appState.codeTopicCount));
}

void showDatabaseInfo() {
  if (databaseInfoWindow.window) gtk_widget_show(databaseInfoWindow.window);
  if (databaseInfoWindow.window) gtk_window_present(GTK_WINDOW(databaseInfoWindow.window));
}

void hideDatabaseInfo() {
  if (databaseInfoWindow.window) gtk_widget_hide(databaseInfoWindow.window);
}

}  // namespace services
