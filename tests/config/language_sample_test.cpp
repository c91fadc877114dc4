// The shipped language file: a block for every interface text, tooltip and composed text, in three
// languages.
#include <string>

#include <gtest/gtest.h>

#include <glib.h>

#include "config/interface_texts.h"
#include "config/language_file.h"
#include "support/temp_dir.h"

namespace {

std::string sampleBytes() {
  return testing_support::readFile(std::string(ZN_SOURCE_DIR) + "/sample/DizerEZ API-LibLang.inf");
}

int tabCount(const std::string& text) {
  int count = 0;
  for (const char c : text) count += c == '\t';
  return count;
}

void expectComplete(const config::LanguageTable& table, const config::InterfaceText& entry,
                    const std::string& key) {
  const auto found = table.find(key);
  ASSERT_NE(table.end(), found) << key;
  const config::LanguageEntry& texts = found->second;
  // The German block repeats the built-in text, so switching back restores it.
  EXPECT_EQ(entry.german, texts.de) << key;
  EXPECT_FALSE(texts.en.empty()) << key;
  EXPECT_FALSE(texts.fr.empty()) << key;
  EXPECT_EQ(tabCount(entry.german), tabCount(texts.en)) << key;
  EXPECT_EQ(tabCount(entry.german), tabCount(texts.fr)) << key;
}

TEST(LanguageSample, IsUtf8WithoutByteOrderMark) {
  const std::string bytes = sampleBytes();
  ASSERT_FALSE(bytes.empty());
  EXPECT_NE(0, bytes.compare(0, 3, "\xEF\xBB\xBF"));
  EXPECT_TRUE(g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr));
  EXPECT_EQ(std::string::npos, bytes.find('\r'));
}

TEST(LanguageSample, HasEveryInterfaceTextTooltipAndComposedTextInThreeLanguages) {
  config::LanguageTable table;
  config::readLanguageText(sampleBytes(), table);
  for (const config::InterfaceText& entry : config::interfaceTexts()) expectComplete(table, entry, entry.key);
  for (const config::InterfaceText& entry : config::interfaceTooltips())
    expectComplete(table, entry, std::string("TT") + entry.key);
  for (const config::MessageTextEntry& message : config::messageTexts())
    expectComplete(table, {message.key, config::TextPlace::Main, -1, message.german}, message.key);
  EXPECT_EQ(
      config::interfaceTexts().size() + config::interfaceTooltips().size() + config::messageTexts().size(),
      table.size());
}

TEST(LanguageSample, ListsHaveThreeItems) {
  int lists = 0;
  for (const config::InterfaceText& entry : config::interfaceTexts()) {
    if (tabCount(entry.german) == 0) continue;
    ++lists;
    EXPECT_EQ(2, tabCount(entry.german)) << entry.key;
  }
  EXPECT_EQ(5, lists);
}

}  // namespace
