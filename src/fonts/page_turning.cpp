#include "fonts/page_turning.h"

#include "app/windows/ids.h"
#include "fonts/preview_pages.h"

namespace glyvora::app {

namespace {

// As the jump does: the page before the one wanted, then the next page's handler.
void showPage(MainState& state, int page) {
    if (state.scan.scanRunning) return;
    if (page < 1 || page > state.fonts.pageCount || page == state.fonts.currentPage) return;
    state.fonts.currentPage = page - 1;
    nextPage(state);
}

// One page a notch: towards the user the next, away the previous.
void wheelTurned(MainState& state, int notches) {
    for (; notches < 0; ++notches)
        nextPage(state);
    for (; notches > 0; --notches)
        previousPage(state);
}

void navigationKeyPressed(MainState& state, int key) {
    switch (key) {
    case navigationKey::pageDown:
        nextPage(state);
        break;
    case navigationKey::pageUp:
        previousPage(state);
        break;
    case navigationKey::home:
        firstPage(state);
        break;
    case navigationKey::end:
        lastPage(state);
        break;
    default:
        break;
    }
}

} // namespace

void firstPage(MainState& state) {
    showPage(state, 1);
}

void lastPage(MainState& state) {
    showPage(state, state.fonts.pageCount);
}

Bindings pageTurningBindings(MainState& state) {
    MainState* s = &state;
    Bindings all;
    for (int k = 1; k <= kPreviewLabels; ++k)
        all.push_back(
            on(mainwin::previewLabel(k), event::wheel, [s](const Event& e) { wheelTurned(*s, e.arg(0)); }));
    all.push_back(on(mainwin::windowUnit, event::navigationKey,
                     [s](const Event& e) { navigationKeyPressed(*s, e.arg(0)); }));
    return all;
}

} // namespace glyvora::app
