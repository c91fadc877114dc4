// Loads the built-in pictures from the resource bundle compiled into the program.
#include "resources/pictures_gtk.h"

#include "base/trace.h"

#include <string>

#include <gio/gio.h>

// The generated bundle is C code and its header declares no C linkage itself.
extern "C" {
#include "picture_bundle.h"
}

namespace resources {
namespace {

constexpr const char* picturePrefix = "/org/zarnel/apiviewer/pictures/";

// The bundle sits in a static library, so it is registered on first use
// rather than by a constructor that the linker might drop.
void ensureBundleRegistered() {
  static const bool registered = (zn_pictures_register_resource(), true);
  (void)registered;
}

}  // namespace

GdkPixbuf* loadPicture(const char* name) {
  TRACE_LINE();
  if (name == nullptr || *name == '\0') return nullptr;
  ensureBundleRegistered();
  const std::string path = std::string(picturePrefix) + name + ".png";
  GError* error = nullptr;
  TRACE_LINE();
  GdkPixbuf* picture = gdk_pixbuf_new_from_resource(path.c_str(), &error);
  // An unknown or undecodable picture is an ordinary outcome: callers then
  // leave out the widget that would have shown it.
  if (error != nullptr) g_error_free(error);
  return picture;
}

GtkWidget* pictureImage(const char* name) {
  TRACE_LINE();
  GdkPixbuf* picture = loadPicture(name);
  if (picture == nullptr) return nullptr;
  GtkWidget* image = gtk_image_new_from_pixbuf(picture);
  g_object_unref(picture);
  return image;
}

}  // namespace resources
