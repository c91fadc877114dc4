// The program's built-in pictures (logo, button pictures, flags), by name.
#pragma once

#include <gtk/gtk.h>

namespace resources {

// The picture called `name` (file name without extension, e.g. "copy"), as a new
// reference the caller releases; nullptr when there is none or it cannot be decoded.
GdkPixbuf* loadPicture(const char* name);

// A GtkImage showing the picture called `name`; nullptr when it cannot be loaded.
GtkWidget* pictureImage(const char* name);

}  // namespace resources
