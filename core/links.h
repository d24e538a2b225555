// The links widgets keep to their window and their group. A removed widget keeps its link (it
// may still draw into its window), so a window or group that is destroyed first would leave it
// pointing at freed memory; instead every link to it is cut when it goes.
#pragma once

// A widget names the field that holds its link for as long as the widget lives.
void LinkField(void *field);
void UnlinkField(void *field);
// Sets every linked field that points at target to null.
void CutLinksTo(const void *target);
