// Draws a text that does not fit its fixed box smaller, and cuts it only as a last resort.
#include "base/text_fit_gtk.h"

#include <string>
#include <unordered_map>

#include "base/text_fit.h"
#include "base/trace.h"

namespace base {
namespace {

// The font the text is drawn at before any fitting, kept on the carrier.
const char* const baseFontKey = "zn-text-fit-base-font";
// Marks a tooltip that the fitting set, so that only that one is taken away again.
const char* const fitTooltipKey = "zn-text-fit-tooltip";
// The whole text of the list's shown item when it is cut, else "".
const char* const cutItemKey = "zn-text-fit-cut-item";

double pointsOf(const PangoFontDescription* font) {
  return static_cast<double>(pango_font_description_get_size(font)) / PANGO_SCALE;
}

const PangoFontDescription* currentFont(GtkWidget* widget) {
  return pango_context_get_font_description(gtk_widget_get_pango_context(widget));
}

// Taken when the carrier is first laid out, once the window's style has reached it.
const PangoFontDescription* baseFont(GtkWidget* carrier, GtkWidget* styled) {
  auto* base = static_cast<PangoFontDescription*>(g_object_get_data(G_OBJECT(carrier), baseFontKey));
  if (base) return base;
  base = pango_font_description_copy(currentFont(styled));
  g_object_set_data_full(G_OBJECT(carrier), baseFontKey, base,
                         reinterpret_cast<GDestroyNotify>(pango_font_description_free));
  return base;
}

// Whether the text, set at the size, fits the box; a box not yet laid out takes any text.
bool textFitsAt(GtkWidget* widget, const char* text, const PangoFontDescription* base, double points,
                const GdkRectangle& box) {
  if (box.width <= 1 || box.height <= 1) return true;
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, text);
  PangoFontDescription* font = pango_font_description_copy(base);
  pango_font_description_set_size(font, static_cast<gint>(points * PANGO_SCALE));
  pango_layout_set_font_description(layout, font);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  pango_font_description_free(font);
  g_object_unref(layout);
  return width <= box.width && height <= box.height;
}

TextFit fitOf(GtkWidget* widget, const char* text, const PangoFontDescription* base,
              const GdkRectangle& box) {
  return fitText(pointsOf(base), [&](double points) { return textFitsAt(widget, text, base, points, box); });
}

GtkWidget* textLabelOf(GtkWidget* carrier) {
  if (GTK_IS_LABEL(carrier)) return carrier;
  GtkWidget* child = GTK_IS_BIN(carrier) ? gtk_bin_get_child(GTK_BIN(carrier)) : nullptr;
  return child && GTK_IS_LABEL(child) ? child : nullptr;
}

// A cut text has the whole text as its tooltip, and loses it once it fits again.
void setFitTooltip(GtkWidget* label, const char* text, bool cut) {
  const bool ours = g_object_get_data(G_OBJECT(label), fitTooltipKey) != nullptr;
  gchar* shown = gtk_widget_get_tooltip_text(label);
  const bool same = shown && g_strcmp0(shown, text) == 0;
  g_free(shown);
  if (cut && !(ours && same)) {
    gtk_widget_set_tooltip_text(label, text);
    g_object_set_data(G_OBJECT(label), fitTooltipKey, GINT_TO_POINTER(1));
  } else if (!cut && ours) {
    gtk_widget_set_tooltip_text(label, nullptr);
    g_object_set_data(G_OBJECT(label), fitTooltipKey, nullptr);
  }
}

void applyToLabel(GtkWidget* label, const PangoFontDescription* base, const TextFit& fit) {
  const gint size = static_cast<gint>(fit.points * PANGO_SCALE);
  if (pango_font_description_get_size(currentFont(label)) != size) {
    PangoFontDescription* font = pango_font_description_copy(base);
    pango_font_description_set_size(font, size);
    gtk_widget_modify_font(label, font);
    pango_font_description_free(font);
  }
  const PangoEllipsizeMode mode = fit.ellipsized ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE;
  if (gtk_label_get_ellipsize(GTK_LABEL(label)) != mode) gtk_label_set_ellipsize(GTK_LABEL(label), mode);
  setFitTooltip(label, gtk_label_get_text(GTK_LABEL(label)), fit.ellipsized);
}

// Runs after the carrier has placed its label, so the label's box is known. A change
// of the font lays the label out again and comes back here, to find it fitting.
void onCarrierAllocated(GtkWidget* carrier, GtkAllocation*, gpointer) {
  TRACE_LINE();
  GtkWidget* label = textLabelOf(carrier);
  if (!label) return;
  GtkAllocation box;
  gtk_widget_get_allocation(label, &box);
  gint xpad = 0, ypad = 0;
  gtk_misc_get_padding(GTK_MISC(label), &xpad, &ypad);
  box.width -= 2 * xpad;
  box.height -= 2 * ypad;
  const PangoFontDescription* base = baseFont(carrier, label);
  applyToLabel(label, base, fitOf(label, gtk_label_get_text(GTK_LABEL(label)), base, box));
}

// The box the list's own cell view leaves for the text cell.
GdkRectangle textCellBox(GtkWidget* list, GtkCellRenderer* textCell) {
  GdkRectangle box{0, 0, 0, 0};
  GtkWidget* view = gtk_bin_get_child(GTK_BIN(list));
  if (!view) return box;
  gtk_widget_get_allocation(view, &box);
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(list));
  for (GList* cell = cells; cell; cell = cell->next) {
    gint cellWidth = 0;
    if (cell->data != textCell)
      gtk_cell_renderer_get_size(GTK_CELL_RENDERER(cell->data), view, nullptr, nullptr, nullptr, &cellWidth,
                                 nullptr);
    box.width -= cellWidth;
  }
  g_list_free(cells);
  gint xpad = 0, ypad = 0;
  gtk_cell_renderer_get_padding(textCell, &xpad, &ypad);
  box.width -= 2 * xpad;
  box.height -= 2 * ypad;
  return box;
}

// The fits of a list's items for one box: the list measures every item whenever it
// changes, and laying a text out is the dear part.
struct ItemFits {
  GdkRectangle box{0, 0, 0, 0};
  std::unordered_map<std::string, TextFit> byText;
};
const char* const itemFitsKey = "zn-text-fit-items";

TextFit itemFit(GtkWidget* list, const char* text, const PangoFontDescription* base,
                const GdkRectangle& box) {
  auto* fits = static_cast<ItemFits*>(g_object_get_data(G_OBJECT(list), itemFitsKey));
  if (!fits) {
    fits = new ItemFits;
    g_object_set_data_full(G_OBJECT(list), itemFitsKey, fits,
                           [](gpointer data) { delete static_cast<ItemFits*>(data); });
  }
  // A long session shows many file names; the list holds a few of them at a time.
  constexpr std::size_t keptFits = 256;
  if (fits->box.width != box.width || fits->box.height != box.height || fits->byText.size() >= keptFits) {
    fits->byText.clear();
    fits->box = box;
  }
  const auto known = fits->byText.find(text);
  if (known != fits->byText.end()) return known->second;
  const TextFit fit = fitOf(list, text, base, box);
  fits->byText.emplace(text, fit);
  return fit;
}

// Sizes each item as it is drawn, in the list and in its drop-down menu alike.
void onListItemData(GtkCellLayout* layout, GtkCellRenderer* cell, GtkTreeModel*, GtkTreeIter*,
                    gpointer list) {
  TRACE_LINE();
  GtkWidget* listWidget = GTK_WIDGET(list);
  gchar* text = nullptr;
  g_object_get(cell, "text", &text, nullptr);
  const PangoFontDescription* base = baseFont(listWidget, listWidget);
  const TextFit fit = itemFit(listWidget, text ? text : "", base, textCellBox(listWidget, cell));
  g_object_set(cell, "scale", fit.points / pointsOf(base), "scale-set", TRUE, "ellipsize",
               fit.ellipsized ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE, "ellipsize-set", TRUE, nullptr);
  // The layout is not always a widget: the list's key navigation asks the cells through
  // a tree view column. Only the list's own cell view keeps the cut text.
  if (static_cast<gpointer>(layout) == static_cast<gpointer>(gtk_bin_get_child(GTK_BIN(listWidget)))) {
    const std::string cut = fit.ellipsized && text ? text : "";
    g_object_set_data_full(G_OBJECT(listWidget), cutItemKey, g_strdup(cut.c_str()), g_free);
    if (!cut.empty()) gtk_widget_set_has_tooltip(listWidget, TRUE);
  }
  g_free(text);
}

// The list's own tooltip stays; a cut item puts its whole text in front of it.
gboolean onListQueryTooltip(GtkWidget* list, gint, gint, gboolean, GtkTooltip* tooltip, gpointer) {
  const auto* cut = static_cast<const gchar*>(g_object_get_data(G_OBJECT(list), cutItemKey));
  if (!cut || !*cut) return FALSE;
  std::string text = cut;
  gchar* own = gtk_widget_get_tooltip_text(list);
  if (own && *own) text = text + "\n\n" + own;
  g_free(own);
  gtk_tooltip_set_text(tooltip, text.c_str());
  return TRUE;
}

}  // namespace

void keepTextInside(GtkWidget* carrier) {
  g_signal_connect_after(carrier, "size-allocate", G_CALLBACK(onCarrierAllocated), nullptr);
}

void keepListItemsInside(GtkWidget* list, GtkCellRenderer* textCell) {
  gtk_cell_layout_set_cell_data_func(GTK_CELL_LAYOUT(list), textCell, onListItemData, list, nullptr);
  g_signal_connect(list, "query-tooltip", G_CALLBACK(onListQueryTooltip), nullptr);
}

}  // namespace base
