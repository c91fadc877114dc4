// The database information window: which database, library and snippet are in use.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "base/control_numbers.h"
#include "base/window_kit_gtk.h"

namespace services {

using DatabaseInfoWindow = base::NumberedWindow<base::DatabaseInfoControlCount>;
extern DatabaseInfoWindow databaseInfoWindow;

// Created once at start-up, hidden.
void createDatabaseInfoWindow();
// The three fields that follow the shown snippet, also while the window is hidden.
void setSelectedFileFields(const std::string& file, const std::string& codeFormat,
                           const std::string& executableFormat);
// The same fields one by one: the two formats, then the file.
void setFileFormatFields(const std::string& codeFormat, const std::string& executableFormat);
void setSelectedFileField(const std::string& file);
std::string databaseInfoFieldText(int control);
// Refills database, content, library and the two counts.
void fillDatabaseInfo();
void showDatabaseInfo();
void hideDatabaseInfo();

}  // namespace services
