// The matching rules of the topic search over plain rows.
#include "search/topic_search.h"

#include <glib.h>

#include "app/app_state.h"

namespace search {
namespace {

// One row's searched text as last folded. The source is kept beside the folded
// text so that a row rebuilt with other texts (new database, other language,
// other mode) is noticed and folded again; one keystroke then folds nothing.
struct FoldedRow {
  std::string source;
  std::string folded;
};

std::vector<FoldedRow> foldedRows;

const database::IndexEntry& entryOf(const TopicRows& rows, int row) {
  static const database::IndexEntry none;
  if (!rows.entries || row >= static_cast<int>(rows.entries->size())) return none;
  return (*rows.entries)[row];
}

const std::string& descriptionIn(const database::IndexEntry& entry, int language) {
  if (language == 0) return entry.DescriptDe;
  if (language == 1) return entry.DescriptEn;
  return entry.DescriptFr;
}

// Whether the kept source is exactly the fields joined with ";", compared piece by
// piece so that no joined text has to be built for the check.
bool sourceMatches(const std::string& source, const SearchedFields& fields) {
  std::size_t position = 0;
  for (int i = 0; i < fields.count; ++i) {
    if (i > 0) {
      if (position >= source.size() || source[position] != ';') return false;
      ++position;
    }
    const std::string_view part = fields.parts[i];
    if (source.size() - position < part.size()) return false;
    if (source.compare(position, part.size(), part.data(), part.size()) != 0) return false;
    position += part.size();
  }
  return position == source.size();
}

const std::string& foldedTextOf(int row, const SearchedFields& fields) {
  if (static_cast<int>(foldedRows.size()) <= row) foldedRows.resize(row + 1);
  FoldedRow& kept = foldedRows[row];
  if (!sourceMatches(kept.source, fields)) {
    kept.source = searchedText(fields);
    kept.folded = foldCase(kept.source);
  }
  return kept.folded;
}

// Folds text that is known to be valid UTF-8. ASCII letters fold to their small
// forms and nothing else in ASCII changes, so only the runs of other characters
// go through the (much slower) Unicode folding.
std::string foldValid(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      folded += (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + ('a' - 'A')) : static_cast<char>(byte);
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) ++end;
    gchar* run = g_utf8_casefold(text.data() + i, static_cast<gssize>(end - i));
    folded += run;
    g_free(run);
    i = end;
  }
  return folded;
}

}  // namespace

int firstRowToSearch(SearchStart start, int selectedRow) {
  if (start == SearchStart::FromTop || selectedRow < 0) return 0;
  return selectedRow + 1;
}

SearchedFields searchedFields(const std::string& rowText, const database::IndexEntry& entry,
                              std::int64_t searchMode, int language) {
  SearchedFields fields;
  fields.parts[fields.count++] = rowText;
  if (searchMode == TitleOnly) return fields;
  if (searchMode == AllLanguages) {
    for (const std::string* part : {&entry.FunctionDe, &entry.FunctionEn, &entry.FunctionFr,
                                    &entry.DescriptDe, &entry.DescriptEn, &entry.DescriptFr}) {
      fields.parts[fields.count++] = *part;
    }
    return fields;
  }
  fields.parts[fields.count++] = descriptionIn(entry, language);
  return fields;
}

std::string searchedText(const SearchedFields& fields) {
  std::string text;
  for (int i = 0; i < fields.count; ++i) {
    if (i > 0) text += ';';
    text += fields.parts[i];
  }
  return text;
}

std::string foldCase(std::string_view text) {
  TRACE_LINE();
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return foldValid(text);
  // The replacement character stands in for every broken byte (and NUL), alike
  // in the search text and in the rows.
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  std::string folded = foldValid(valid);
  g_free(valid);
  return folded;
}

int findTopicRow(const std::string& searchText, int firstRow, const TopicRows& rows,
                 std::int64_t searchMode, int language) {
  TRACE_LINE();
  if (searchText.empty() || !rows.text) return -1;
  const std::string needle = foldCase(searchText);
  for (int row = firstRow < 0 ? 0 : firstRow; row < rows.count; ++row) {
    const SearchedFields fields = searchedFields(rows.text(row), entryOf(rows, row), searchMode, language);
    if (foldedTextOf(row, fields).find(needle) != std::string::npos) return row;
  }
  return -1;
}

void clearSearchCache() { std::vector<FoldedRow>().swap(foldedRows); }

}  // namespace search
