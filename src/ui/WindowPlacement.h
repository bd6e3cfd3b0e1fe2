#pragma once
#include "core/AppCore.h"

#include <cstdint>

class Host;
class QWidget;

// Position and size of a window in the settings, under "GUI/Windows/<objectName>/"
// "Top", "Left", "Width" and "Height", in twips (1440 per inch of the screen's
// logical resolution).

// Applies the stored values greater than 0; a width or height below the minimum
// becomes the minimum (a minimum below 1 sets none). A window that would end up
// off every screen, or larger than it, is moved back onto the nearest one and fitted.
void RestoreWindowPlacement(AppCore& core, QWidget& window, int minWidthTwips, int minHeightTwips);
// Stores the window's placement and saves the settings file; `panel` (may be null)
// shows the progress text. Returns the result of the save.
int32_t SaveWindowPlacement(AppCore& core, QWidget& window, Host* panel);
// Moves the window with its frame wholly onto the screen that shows most of it; one
// larger than that screen, also by its minimum size, is shrunk to fit.
void KeepOnScreen(QWidget& window);
// Places the window in the middle of its screen.
void CenterWindow(QWidget& window);
// The platform's width of a vertical scroll bar and of a dialog frame, in twips.
int ScrollBarWidth();
int DialogFrameWidth();

// Twips of the primary screen's logical resolution and pixels, both ways.
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);
