#pragma once
// The start-up steps that join the program's services to the toolkit: the
// early catalog read becomes the language set and the application name, the
// names are handed to the toolkit's Manager, the settings store gets its
// database folder, and a language change reaches the toolkit's font.

#include <functional>
#include <string>

#include "catalog/Catalog.h"

class SettingsStore;

namespace app {

// The early read's languages replace the language set; a caption it found
// becomes the application name (an empty caption too), otherwise the name
// stays as it is.
void AdoptCatalogStart(const CatalogStart& start);

// Copies the application name, the font name and the program folder into
// the toolkit (Manager::SetDeviceName, SetFontName, SetProgramFolder).
// Called once the name is final, before any window exists.
void HandNamesToToolkit();

// Creates the user's database folder (with every folder above it) and hands
// it to the store. A folder that cannot be created is handed all the same:
// it shows later as a database that cannot be opened.
void PrepareDatabaseFolder(SettingsStore& store);

// Installs the handler that SetLanguage notifies: it passes the new font face
// to the toolkit and then calls refreshTexts (the main window fetching its
// texts again), when one is given.
void InstallLanguageChangedHandler(std::function<void(const std::wstring& face)> refreshTexts = {});

}  // namespace app
