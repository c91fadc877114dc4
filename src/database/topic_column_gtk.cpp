// Sizing the topic column from the characters of the rows instead of laid-out rows.
#include "database/topic_column_gtk.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "base/trace.h"

namespace database {
namespace {

// Widths in Pango units of the characters met so far, measured with the view's font.
struct CharacterWidths {
  PangoLayout* layout = nullptr;
  std::vector<int> common;  // by code point below commonLimit, -1 until measured
  std::unordered_map<gunichar, int> rare;
};

constexpr gunichar commonLimit = 0x3000;

int measure(CharacterWidths& widths, gunichar character) {
  gchar text[8];
  const gint length = g_unichar_to_utf8(character, text);
  pango_layout_set_text(widths.layout, text, length);
  int width = 0;
  pango_layout_get_size(widths.layout, &width, nullptr);
  return width;
}

int characterWidth(CharacterWidths& widths, gunichar character) {
  if (character < commonLimit) {
    int& width = widths.common[character];
    if (width < 0) width = measure(widths, character);
    return width;
  }
  const auto known = widths.rare.find(character);
  if (known != widths.rare.end()) return known->second;
  return widths.rare[character] = measure(widths, character);
}

// Kerning can only narrow a text, so the sum is never short of the laid-out width.
int textWidth(CharacterWidths& widths, const std::string& text) {
  int width = 0;
  for (const gchar* at = text.c_str(); *at; at = g_utf8_next_char(at)) {
    width += characterWidth(widths, g_utf8_get_char(at));
  }
  return width;
}

// What the view adds to a row's text: the renderer's and the column's padding,
// and per level the expander's room and the extra indentation.
struct RowSpacing {
  int fixed = 0;
  int perLevel = 0;
};

RowSpacing rowSpacing(GtkTreeView* view, GtkTreeViewColumn* column) {
  gint expanderSize = 0, separator = 0, focusWidth = 0;
  gtk_widget_style_get(GTK_WIDGET(view), "expander-size", &expanderSize, "horizontal-separator", &separator,
                       "focus-line-width", &focusWidth, nullptr);
  gint xpad = 0;
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(column));
  for (GList* cell = cells; cell; cell = cell->next) {
    gint cellXpad = 0;
    gtk_cell_renderer_get_padding(GTK_CELL_RENDERER(cell->data), &cellXpad, nullptr);
    xpad += cellXpad;
  }
  g_list_free(cells);
  // The view keeps 4 pixels beside every expander.
  const int expander = gtk_tree_view_get_show_expanders(view) ? expanderSize + 4 : 0;
  const int indentation = gtk_tree_view_get_level_indentation(view);
  RowSpacing spacing;
  spacing.perLevel = expander + indentation;
  // The first level has no extra indentation.
  spacing.fixed = 2 * xpad + 2 * focusWidth + separator - indentation;
  return spacing;
}

}  // namespace

void useFixedRowSizes(GtkTreeView* view) {
  TRACE_LINE();
  GtkTreeViewColumn* column = gtk_tree_view_get_column(view, 0);
  if (!column) return;
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(column, 1);
  gtk_tree_view_set_fixed_height_mode(view, TRUE);
}

void fitTopicColumn(GtkTreeView* view, const std::vector<TopicRow>& rows) {
  TRACE_LINE();
  GtkTreeViewColumn* column = gtk_tree_view_get_column(view, 0);
  if (!column) return;
  gtk_widget_ensure_style(GTK_WIDGET(view));
  CharacterWidths widths;
  widths.layout = gtk_widget_create_pango_layout(GTK_WIDGET(view), nullptr);
  widths.common.assign(commonLimit, -1);
  const RowSpacing spacing = rowSpacing(view, column);
  int widest = 0;
  for (const TopicRow& row : rows) {
    const int width = PANGO_PIXELS_CEIL(textWidth(widths, row.text)) + (row.level + 1) * spacing.perLevel;
    widest = std::max(widest, width);
  }
  g_object_unref(widths.layout);
  gtk_tree_view_column_set_fixed_width(column, std::max(1, widest + spacing.fixed));
}

}  // namespace database
