// The settings window, created hidden at start-up; its controls come from one table.
#include "config/settings_window_gtk.h"

#include <cstdint>
#include <string>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "base/text_fit_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/interface_texts.h"
#include "config/language_file.h"
#include "resources/pictures_gtk.h"

namespace config {

SettingsWindow settingsWindow;

namespace {

enum ControlKind {
  Frame,
  Label,
  PathField,
  ChooserButton,
  CheckBox,
  StockButton,
  LanguageList,
  List,
  BorderedField,
  PushButton
};

struct ControlSpec {
  int number;
  ControlKind kind;
  int x, y, width, height;
  // A click leaves the keyboard focus where it was.
  bool keepsFocus;
  const char* stock;  // stock buttons only
};

// Texts and tooltips come from the built-in German interface texts.
const ControlSpec controls[] = {
    {base::DatabaseLabelControl, Label, 15, 22, 400, 26, false, nullptr},
    {base::DatabasePathControl, PathField, 20, 40, 475, 25, false, nullptr},
    {base::DatabaseChooserControl, ChooserButton, 500, 40, 30, 25, true, nullptr},
    {base::LibraryLabelControl, Label, 15, 67, 500, 26, false, nullptr},
    {base::LibraryPathControl, PathField, 20, 85, 475, 25, false, nullptr},
    {base::LibraryChooserControl, ChooserButton, 500, 85, 30, 25, true, nullptr},
    {base::KeepPathsControl, CheckBox, 15, 115, 300, 24, true, nullptr},
    {base::ApplyControl, StockButton, 395, 115, 135, 36, false, GTK_STOCK_APPLY},
    {base::LanguageLabelControl, Label, 20, 197, 155, 26, false, nullptr},
    {base::LanguageListControl, LanguageList, 180, 190, 210, 30, true, nullptr},
    {base::FontLabelControl, Label, 20, 227, 160, 32, false, nullptr},
    {base::FontNameControl, BorderedField, 180, 224, 175, 22, false, nullptr},
    {base::FontSizeControl, BorderedField, 360, 224, 30, 22, false, nullptr},
    {base::FontButtonControl, PushButton, 395, 222, 135, 26, true, nullptr},
    {base::SearchScopeLabelControl, Label, 20, 257, 155, 26, false, nullptr},
    {base::SearchScopeListControl, List, 180, 250, 210, 30, true, nullptr},
    {base::SearchHintLabelControl, Label, 20, 287, 155, 26, false, nullptr},
    {base::SearchHintListControl, List, 180, 280, 210, 30, true, nullptr},
    {base::TitleContentLabelControl, Label, 20, 317, 155, 26, false, nullptr},
    {base::TitleContentListControl, List, 180, 310, 210, 30, true, nullptr},
    {base::CodeMarkingLabelControl, Label, 20, 347, 155, 32, false, nullptr},
    {base::CodeMarkingListControl, List, 180, 340, 210, 30, true, nullptr},
    {base::NewTopicsControl, CheckBox, 15, 377, 300, 24, false, nullptr},
    {base::WindowGeometryControl, CheckBox, 15, 404, 300, 24, true, nullptr},
    {base::CancelControl, StockButton, 5, 440, 260, 36, false, GTK_STOCK_CANCEL},
    {base::SaveControl, StockButton, 274, 440, 260, 36, false, GTK_STOCK_SAVE},
    // The frames come last: the toolkit looks for the control under the pointer in
    // this order, and a frame placed first would hide its controls' tooltips.
    {base::PathsFrameControl, Frame, 5, 5, 530, 152, false, nullptr},
    {base::ProgramFrameControl, Frame, 5, 170, 530, 262, false, nullptr},
};

// The controls that show a setting when the window is created.
struct SettingLink {
  int control;
  std::int64_t AppSettings::*field;
};
const SettingLink checkBoxSettings[] = {
    {base::KeepPathsControl, &AppSettings::SavePaths},
    {base::NewTopicsControl, &AppSettings::DyeingNews},
    {base::WindowGeometryControl, &AppSettings::SaveWinSetting},
};
const SettingLink listSettings[] = {
    {base::LanguageListControl, &AppSettings::Language},
    {base::SearchScopeListControl, &AppSettings::SearchMode},
    {base::SearchHintListControl, &AppSettings::SearchHint},
    {base::TitleContentListControl, &AppSettings::SourceInTitle},
    {base::CodeMarkingListControl, &AppSettings::CodeMarks},
};

const char* const flagPictures[3] = {"flag-de", "flag-en", "flag-fr"};
enum ListColumn { ListColumnFlag, ListColumnText, ListColumnCount };
constexpr int listItemCount = 3;

void onSettingsButtonClicked(GtkButton*, gpointer number) {
  if (base::programChangeInProgress()) return;
  base::postWidgetEvent(base::SettingsWindowNo, GPOINTER_TO_INT(number), base::EventType::LeftClick);
}

GtkWidget* newLabel(const std::string& text) {
  GtkWidget* label = gtk_label_new(text.c_str());
  gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
  return label;
}

GtkWidget* newPathField() {
  GtkWidget* field = gtk_entry_new();
  gtk_editable_set_editable(GTK_EDITABLE(field), FALSE);
  return field;
}

// A drop-down list of three items; the language list shows a flag before each.
GtkWidget* newList(const std::string& items, bool flags) {
  GtkListStore* store = gtk_list_store_new(ListColumnCount, GDK_TYPE_PIXBUF, G_TYPE_STRING);
  for (int item = 0; item < listItemCount; ++item) {
    GtkTreeIter iter;
    gtk_list_store_append(store, &iter);
    GdkPixbuf* flag = flags ? resources::loadPicture(flagPictures[item]) : nullptr;
    gtk_list_store_set(store, &iter, ListColumnFlag, flag, ListColumnText, listItemText(items, item).c_str(),
                       -1);
    if (flag) g_object_unref(flag);
  }
  GtkWidget* list = gtk_combo_box_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  GtkCellLayout* layout = GTK_CELL_LAYOUT(list);
  if (flags) {
    GtkCellRenderer* picture = gtk_cell_renderer_pixbuf_new();
    gtk_cell_layout_pack_start(layout, picture, FALSE);
    gtk_cell_layout_add_attribute(layout, picture, "pixbuf", ListColumnFlag);
  }
  GtkCellRenderer* text = gtk_cell_renderer_text_new();
  gtk_cell_layout_pack_start(layout, text, TRUE);
  gtk_cell_layout_add_attribute(layout, text, "text", ListColumnText);
  base::keepListItemsInside(list, text);
  return list;
}

GtkWidget* newButton(const ControlSpec& spec, const std::string& text) {
  GtkWidget* button =
      spec.stock ? gtk_button_new_from_stock(spec.stock) : gtk_button_new_with_label(text.c_str());
  g_signal_connect(button, "clicked", G_CALLBACK(onSettingsButtonClicked), GINT_TO_POINTER(spec.number));
  return button;
}

// Returns the widget to place; `carrier` gets the widget that holds the text.
GtkWidget* makeControl(const ControlSpec& spec, GtkWidget** carrier) {
  TRACE_LINE();
  const std::string text = builtInText(TextPlace::Settings, spec.number);
  GtkWidget* widget = nullptr;
  switch (spec.kind) {
    case Frame: widget = base::newTitledFrame(text); break;
    case Label: widget = newLabel(text); break;
    case PathField: widget = newPathField(); break;
    case ChooserButton: widget = newButton(spec, "..."); break;
    case StockButton:
    case PushButton: widget = newButton(spec, text); break;
    case CheckBox: widget = gtk_check_button_new_with_label(text.c_str()); break;
    case LanguageList:
    case List: widget = newList(text, spec.kind == LanguageList); break;
    case BorderedField: {
      *carrier = gtk_label_new("");
      GtkWidget* border = gtk_frame_new(nullptr);
      gtk_frame_set_shadow_type(GTK_FRAME(border), GTK_SHADOW_IN);
      gtk_container_add(GTK_CONTAINER(border), *carrier);
      return border;
    }
  }
  *carrier = widget;
  return widget;
}

void setKeepsFocus(GtkWidget* widget) {
  if (GTK_IS_BUTTON(widget)) gtk_button_set_focus_on_click(GTK_BUTTON(widget), FALSE);
  if (GTK_IS_COMBO_BOX(widget)) gtk_combo_box_set_focus_on_click(GTK_COMBO_BOX(widget), FALSE);
}

void buildControls(GtkWidget* fixed) {
  TRACE_LINE();
  for (const ControlSpec& spec : controls) {
    GtkWidget* carrier = nullptr;
    GtkWidget* widget = makeControl(spec, &carrier);
    gtk_widget_set_size_request(widget, spec.width, spec.height);
    gtk_fixed_put(GTK_FIXED(fixed), widget, spec.x, spec.y);
    settingsWindow.control[spec.number] = carrier;
    if (spec.kind == Label || spec.kind == CheckBox || spec.kind == PushButton ||
        spec.kind == ChooserButton || spec.kind == BorderedField)
      base::keepTextInside(carrier);
    if (spec.keepsFocus) setKeepsFocus(carrier);
    const std::string tooltip = builtInTooltip(TextPlace::Settings, spec.number);
    if (!tooltip.empty()) gtk_widget_set_tooltip_text(carrier, tooltip.c_str());
  }
}

// A list shows no item for a value outside its items.
void selectListItem(int control, std::int64_t value) {
  GtkWidget* list = settingsWindow.control[control];
  if (!list) return;
  const base::ProgramChange guard;
  gtk_combo_box_set_active(GTK_COMBO_BOX(list),
                           value >= 0 && value < listItemCount ? static_cast<gint>(value) : -1);
}

void showSettings() {
  TRACE_LINE();
  const base::ProgramChange guard;
  for (const SettingLink& link : checkBoxSettings)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(settingsWindow.control[link.control]),
                                 appSettings.*link.field != 0);
  for (const SettingLink& link : listSettings) selectListItem(link.control, appSettings.*link.field);
  setSettingsFieldText(base::FontNameControl, appSettings.FontName);
  setSettingsFieldText(base::FontSizeControl, std::to_string(appSettings.FontSize));
}

void attachLanguageList() {
  LanguageSelector selector;
  selector.read = [] { return settingsListIndex(base::LanguageListControl); };
  selector.select = [](int choice) { selectListItem(base::LanguageListControl, choice); };
  attachLanguageSelector(selector);
}

}  // namespace

void createSettingsWindow() {
  TRACE_LINE();
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  settingsWindow.window = window;
  gtk_window_set_title(GTK_WINDOW(window), "Linux ZN-ZID-Idavode-Ruriva - Settings");
  gtk_widget_set_size_request(window, 540, 486);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  base::takeFocusWhenShown(window);
  if (base::mainWindow.window)
    gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(base::mainWindow.window));
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), fixed);
  buildControls(fixed);
  showSettings();
  attachLanguageList();
  base::connectCloseAndEscape(window, base::SettingsWindowNo);
  gtk_widget_show_all(fixed);
  gtk_window_set_focus(GTK_WINDOW(window), settingsWindow.control[base::CancelControl]);
}

void destroySettingsWindow() {
  if (!settingsWindow.window) return;
  detachLanguageSelector();
  gtk_widget_destroy(settingsWindow.window);
  settingsWindow = SettingsWindow();
}

void openSettingsWindow() {
  TRACE_LINE();
  if (!settingsWindow.window) return;
  showSettings();
  setSettingsFieldText(base::DatabasePathControl, appSettings.db_path + base::appState.databaseFileName);
  setSettingsFieldText(base::LibraryPathControl, appSettings.Lib_path);
  setSettingsFieldText(base::FontNameControl, appSettings.FontName);
  setSettingsFieldText(base::FontSizeControl, std::to_string(appSettings.FontSize));
  gtk_window_present(GTK_WINDOW(settingsWindow.window));
}

void hideSettingsWindow() {
  if (settingsWindow.window) gtk_widget_hide(settingsWindow.window);
}

void cancelSettingsWindow() {
  TRACE_LINE();
  if (!settingsWindow.window) return;
  // The language list is also the live language choice: a cancelled language must
  // not decide the next rebuild of the tree.
  showSettings();
  hideSettingsWindow();
}

std::string settingsFieldText(int control) {
  GtkWidget* widget = settingsWindow.at(control);
  if (widget && GTK_IS_ENTRY(widget)) return gtk_entry_get_text(GTK_ENTRY(widget));
  if (widget && GTK_IS_LABEL(widget)) return gtk_label_get_text(GTK_LABEL(widget));
  return std::string();
}

void setSettingsFieldText(int control, const std::string& text) {
  GtkWidget* widget = settingsWindow.at(control);
  if (widget && GTK_IS_ENTRY(widget)) gtk_entry_set_text(GTK_ENTRY(widget), text.c_str());
  if (widget && GTK_IS_LABEL(widget)) gtk_label_set_text(GTK_LABEL(widget), text.c_str());
}

int settingsListIndex(int control) {
  GtkWidget* widget = settingsWindow.at(control);
  return widget && GTK_IS_COMBO_BOX(widget) ? gtk_combo_box_get_active(GTK_COMBO_BOX(widget)) : -1;
}

bool settingsCheckBoxState(int control) {
  GtkWidget* widget = settingsWindow.at(control);
  return widget && GTK_IS_TOGGLE_BUTTON(widget) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
}

}  // namespace config
