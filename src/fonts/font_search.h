#pragma once
// The search among the loaded fonts: those whose face name or file base name contains the typed
// text, shown as a paged list of their own until the next scan or an empty search.

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// Click of the search button.
void searchFonts(MainState& state);

// Whether `text` contains `part`, byte for byte; a match never begins on the second byte of a
// double-byte character.
bool containsText(const Text& text, const Text& part);
// The last part of a path split at "\" (the file name); empty when there is none.
Text fileNameOf(const Text& path);
// The file name cut before its first ".".
Text fileBaseNameOf(const Text& path);

Bindings fontSearchBindings(MainState& state);

} // namespace glyvora::app
