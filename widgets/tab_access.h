// What groups need of the tab whose page they are, and what the tab needs of its pages.
#pragma once

#include "vorla/VLGroup.h"
#include "vorla/VLTab.h"
#include "vorla/VLWindow.h"

struct TabAccess {
    // Whether the tab is visible and the page is its selected one (the groups the tab lies in
    // are the caller's to ask).
    static bool ShowsPage(VLTab &tab, const VLGroup *page);
    // The group the tab lies in, if any.
    static VLGroup *OwningGroup(const VLTab &tab) { return tab.group; }
    // The scroll area the tab lies in directly, if any.
    static VLScrollArea *OwningArea(const VLTab &tab) { return tab.scrollArea; }
    // The colour the selected page's widgets stand on.
    static unsigned int PageBackground(VLTab &tab, VLWindow *window);
};

// The page's link to its tab (kept by the group).
void SetPageTab(VLGroup &page, VLTab *tab);
VLTab *PageTab(const VLGroup &page);
