// The window's handling of an open drop-down list, kept beside the combo box that owns the list:
// the routing pass, the paint pass and the closing steps call in here.
#pragma once

class VLWindow;

// The start of a routing pass: a move over the open list highlights the entry under the pointer;
// true when it did, and no widget is to see the move then.
bool DropDownHover(VLWindow &window, int code, int x, int y);
// The end of a routing pass: a release over the list closes it, and a pass that asked for the list
// to open or close has it done here, committing the highlighted entry on closing. The owner's
// change callback may end the window.
void DropDownFinish(VLWindow &window, int code, int x, int y);
// The paint pass draws the open list over the widgets.
void DropDownPaint(VLWindow &window);
// Closes the open list, if any, and has the window repaint where it lay.
void DropDownClose(VLWindow &window);
