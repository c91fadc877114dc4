// The open-code entry of the info menu names a usable code editor in every language.
#include <gtest/gtest.h>

#include "app/language_apply_gtk.h"
#include "app/main_window_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/language_file.h"
#include "support/viewer_fixture.h"

namespace {

class OpenCodeEntryTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    config::clearLanguageTable();
    dir.write("DizerEZ API-LibLang.inf",
              "[LanguageItems]\nKey = #PuInf_OpnCode\nde = Mit Standard-App öffnen\n"
              "en = Open with the standard application\nfr = Ouvrir avec l'application standard\n");
  }
  void TearDown() override {
    config::clearLanguageTable();
    ViewerTest::TearDown();
  }
  std::string entryText() {
    return gtk_menu_item_get_label(GTK_MENU_ITEM(app::popupMenuItems[base::OpenCodeMenuItem]));
  }
  void switchTo(int language) {
    config::setLanguageChoice(language);
    app::ApplyLanguage(false);
  }
};

TEST_F(OpenCodeEntryTest, AUsableEditorNamesItselfAlsoAfterALanguageSwitch) {
  testing_support::writeScript(dir.path() + "bin/kate-like", "exit 0\n");
  appSettings.CodeEditorPath = dir.path() + "bin/kate-like";
  app::showEditorOnOpenCodeEntry();
  EXPECT_EQ("Open code in kate-like", entryText());
  switchTo(1);
  EXPECT_EQ("Open code in kate-like", entryText());
  switchTo(2);
  EXPECT_EQ("Open code in kate-like", entryText());
}

TEST_F(OpenCodeEntryTest, WithoutAUsableEditorTheEntryShowsItsLanguageText) {
  appSettings.CodeEditorPath = dir.write("notes.txt", "no program\n");
  app::showEditorOnOpenCodeEntry();
  EXPECT_EQ("Mit Standard-App öffnen", entryText());
  switchTo(1);
  EXPECT_EQ("Open with the standard application", entryText());
  appSettings.CodeEditorPath = "";
  switchTo(2);
  EXPECT_EQ("Ouvrir avec l'application standard", entryText());
}

}  // namespace
