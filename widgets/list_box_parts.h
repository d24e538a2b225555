// What the window's tick loop asks of a list box held down with the left button.
#pragma once

class VLListBox;

// One timer repeat of a held list box at the pointer (window coordinates): a held scroll button
// steps again, a selection dragged past the top or bottom edge scrolls on.
void ListBoxHeldTick(VLListBox &list, int x, int y);
