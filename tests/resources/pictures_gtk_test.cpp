// The built-in pictures: each one is in the program, decodes at its size with
// transparency, and unknown names are refused.
#include "resources/pictures_gtk.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <gtk/gtk.h>

namespace {

struct PictureSize {
  const char* name;
  int size;
};

const std::vector<PictureSize>& allPictures() {
  static const std::vector<PictureSize> pictures = {
      {"logo", 48},     {"node-toggle", 16}, {"node-toggle-pressed", 16},
      {"copy", 16},     {"settings", 16},    {"help", 16},
      {"info", 16},     {"admin", 16},       {"flag-de", 16},
      {"flag-en", 16},  {"flag-fr", 16},     {"database", 16},
      {"document", 16}, {"arrow-right", 16},
  };
  return pictures;
}

// The alpha value of one pixel of an RGBA picture.
int alphaAt(GdkPixbuf* picture, int x, int y) {
  const guchar* pixels = gdk_pixbuf_get_pixels(picture);
  return pixels[y * gdk_pixbuf_get_rowstride(picture) + x * gdk_pixbuf_get_n_channels(picture) + 3];
}

// Whether two pictures of the same size differ in any byte of their pixels.
bool picturesDiffer(GdkPixbuf* a, GdkPixbuf* b) {
  const int height = gdk_pixbuf_get_height(a);
  const int rowBytes = gdk_pixbuf_get_width(a) * gdk_pixbuf_get_n_channels(a);
  for (int y = 0; y < height; ++y) {
    const guchar* rowA = gdk_pixbuf_get_pixels(a) + y * gdk_pixbuf_get_rowstride(a);
    const guchar* rowB = gdk_pixbuf_get_pixels(b) + y * gdk_pixbuf_get_rowstride(b);
    if (!std::equal(rowA, rowA + rowBytes, rowB)) return true;
  }
  return false;
}

TEST(Pictures, EveryPictureLoadsAtItsSizeWithTransparency) {
  for (const PictureSize& expected : allPictures()) {
    SCOPED_TRACE(expected.name);
    GdkPixbuf* picture = resources::loadPicture(expected.name);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(gdk_pixbuf_get_width(picture), expected.size);
    EXPECT_EQ(gdk_pixbuf_get_height(picture), expected.size);
    EXPECT_TRUE(gdk_pixbuf_get_has_alpha(picture));
    EXPECT_EQ(gdk_pixbuf_get_n_channels(picture), 4);
    g_object_unref(picture);
  }
}

TEST(Pictures, PicturesAreDrawnOnAClearBackground) {
  // A picture that rendered empty, or onto an opaque background, shows here.
  for (const PictureSize& expected : allPictures()) {
    SCOPED_TRACE(expected.name);
    GdkPixbuf* picture = resources::loadPicture(expected.name);
    ASSERT_NE(picture, nullptr);
    int visible = 0;
    int clear = 0;
    for (int y = 0; y < expected.size; ++y) {
      for (int x = 0; x < expected.size; ++x) {
        const int alpha = alphaAt(picture, x, y);
        if (alpha == 0) ++clear;
        if (alpha >= 128) ++visible;
      }
    }
    const int area = expected.size * expected.size;
    EXPECT_GT(visible, area / 4);
    EXPECT_GT(clear, 0);
    g_object_unref(picture);
  }
}

TEST(Pictures, FlagsAreRound) {
  for (const char* name : {"flag-de", "flag-en", "flag-fr"}) {
    SCOPED_TRACE(name);
    GdkPixbuf* flag = resources::loadPicture(name);
    ASSERT_NE(flag, nullptr);
    for (const int x : {0, 15}) {
      for (const int y : {0, 15}) EXPECT_EQ(alphaAt(flag, x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(alphaAt(flag, 8, 8), 255);
    EXPECT_EQ(alphaAt(flag, 8, 1), 255);
    EXPECT_EQ(alphaAt(flag, 1, 8), 255);
    g_object_unref(flag);
  }
}

TEST(Pictures, TheNodeToggleShowsAnotherPictureWhilePressed) {
  GdkPixbuf* released = resources::loadPicture("node-toggle");
  GdkPixbuf* pressed = resources::loadPicture("node-toggle-pressed");
  ASSERT_NE(released, nullptr);
  ASSERT_NE(pressed, nullptr);
  EXPECT_TRUE(picturesDiffer(released, pressed));
  g_object_unref(released);
  g_object_unref(pressed);
}

TEST(Pictures, EachLoadGivesTheCallerItsOwnReference) {
  GdkPixbuf* first = resources::loadPicture("copy");
  GdkPixbuf* second = resources::loadPicture("copy");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(G_OBJECT(first)->ref_count, 1u);
  EXPECT_EQ(G_OBJECT(second)->ref_count, 1u);
  g_object_unref(first);
  g_object_unref(second);
}

TEST(Pictures, UnknownOrEmptyNamesGiveNothing) {
  for (const char* name : {"no-such-picture", "", "copy.png", "../copy", "logo.svg"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(resources::loadPicture(name), nullptr);
    EXPECT_EQ(resources::pictureImage(name), nullptr);
  }
  EXPECT_EQ(resources::loadPicture(nullptr), nullptr);
  EXPECT_EQ(resources::pictureImage(nullptr), nullptr);
}

TEST(Pictures, PictureImageShowsThePicture) {
  GtkWidget* image = resources::pictureImage("settings");
  ASSERT_NE(image, nullptr);
  g_object_ref_sink(image);
  ASSERT_TRUE(GTK_IS_IMAGE(image));
  ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image)), GTK_IMAGE_PIXBUF);
  GdkPixbuf* shown = gtk_image_get_pixbuf(GTK_IMAGE(image));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(shown), 16);
  EXPECT_EQ(gdk_pixbuf_get_height(shown), 16);
  // The image holds the only reference: destroying it frees the picture.
  EXPECT_EQ(G_OBJECT(shown)->ref_count, 1u);
  gtk_widget_destroy(image);
  g_object_unref(image);
}

}  // namespace
