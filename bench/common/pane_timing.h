#pragma once
// How a report window's pane shows its page, as the user meets it: the time
// from the call until the first screenful is painted and until the whole page
// is laid out, the longest the window's event loop was kept from running
// meanwhile and while the page is scrolled to its end and the window resized,
// and the memory of the engine's renderer and of the program.
#include <QString>

class CRepView;

struct PaneTiming {
    double firstScreenful = -1; // ms from the call, -1 when the engine did not say
    double whole = -1;          // ms until the page is loaded and laid out
    double longestBlock = 0;    // ms the event loop could not run, the worst case
    double loadBlock = 0;       // the same while the page loads (the call included)
    double scrollBlock = 0;     // while it is scrolled to its end
    double resizeBlock = 0;     // while the window is resized
    double scroll = -1;         // ms to the end of the page
    double resize = -1;         // ms until the page is laid out anew
    double rendererMb = 0;      // resident memory of the engine's renderer
    double programMb = 0;       // resident memory of the program
    QString text;               // the page's text, to check it came whole
};

// Shows the document's page of `view` (ShowReport) and times it.
PaneTiming TimePane(CRepView* view);
// One line of the figures.
QString PaneTimingLine(const PaneTiming& t);
