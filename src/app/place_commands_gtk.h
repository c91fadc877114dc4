// Where the reader was: noted at a normal end, taken up again at the next start.
#pragma once

namespace app {

// Takes up the place noted for the open database: its topic selected and shown, the
// history list refilled, zoom, line wrap and the search field's text set without
// searching. A missing, unreadable or garbled note, another database, or a topic no
// longer in it is passed over without a word.
void restorePlace();

// Notes the place for the open database in the user's state folder; a note that
// cannot be written is passed over, for the program is ending.
void notePlace();

}  // namespace app
