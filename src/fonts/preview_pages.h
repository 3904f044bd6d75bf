#pragma once
// The eight preview labels: the page fill every listing uses, paging, the automatic page turn and
// the appearance controls (sample text, size, style, colours).

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// Fills the eight labels from entry i0 of the page source on: a label with an entry gets the sample
// text in that entry's face and remembers the entry in its page slots; a label past the end gets
// an empty caption and keeps its face and slots.
void fillPage(MainState& state, int firstEntry);
// With the style "常规" chosen, every label that shows something loses bold.
void regularStyleFixUp(MainState& state);
// "页次：" + current page + "/" + page count.
void showPageLabel(MainState& state);
// Number of pages for n entries: n / 8 rounded up.
int pageCountFor(std::size_t entries);
// Each label that shows an entry of the current page carries the entry's face name and path as its
// hint, and the characters of the sample text its file lacks; the others none.
void refreshPreviewHints(MainState& state);

void nextPage(MainState& state);
void previousPage(MainState& state);
void jumpToPage(MainState& state);
void autoPageTurn(MainState& state);
void sampleTextChanged(MainState& state);
void sizeChosen(MainState& state);
void styleChosen(MainState& state);
void applyLabelTextColour();
void applyLabelBackColour();

Bindings previewPageBindings(MainState& state);

} // namespace glyvora::app
