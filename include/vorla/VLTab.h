// VLTab: a row of up to 16 named tabs over a body; each tab owns a page, which is a group. Only
// the selected page is drawn and takes input.
#ifndef VORLA_VLTAB_H
#define VORLA_VLTAB_H

#include "vorla/VLGraphics.h"

class VLChildList;

class VORLA_API VLTab : public VLGraphics {
public:
    typedef void (*TabCallback)(VLTab *);

    VLTab();
    ~VLTab();
    VLTab(const VLTab &) = delete;
    VLTab &operator=(const VLTab &) = delete;

    // Clears every page (and every widget on them) and forgets the pages.
    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    VLWindow *GetParentWindow();
    void Repaint();

    // Appends a page under a tab of that name (at most 63 bytes). Refused (0) for a seventeenth
    // page, a null name or page, or a longer name.
    int Add(const char *name, VLGroup *page);
    // Selects a tab, gives the tab row the focus and redraws; a change of tab is reported to the
    // select callback. Refused (0) for an index out of range or before the tab is in a window.
    int SelectTab(int index);
    int GetSelectTab();
    int GetTabCount();
    // Copies a tab's name and its terminator (max + 1 bytes); 0 for a bad index or a name longer
    // than max.
    int GetTabName(int index, char *buffer, int max);

    // The selected tab and the body (0xF0000000: the window's background at the first drawing),
    // and the selected tab's name.
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    // The other tabs (0xF0000000: two thirds of the selected background) and their names
    // (0xF0000000: half of the unselected background).
    void SetUnselectBackgroundColor(unsigned long colour);
    unsigned long GetUnselectBackgroundColor();
    void SetUnselectForegroundColor(unsigned long colour);
    unsigned long GetUnselectForegroundColor();

    int AttachSelectEvent(TabCallback callback);
    void DetachSelectEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct TabAccess;    // what groups ask of the tab of their page
    friend struct TabInput;     // drawing and the window's routing rows
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    char *names[16];
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    unsigned int unselectedBackgroundColour;
    unsigned int unselectedForegroundColour;
    int visible;
    int x;
    int y;
    int width;
    int height;
    VLChildList *pages;
    int count;
    int selected;
    int focused;
    int focusShown;
    TabCallback selectCallback;
};

#endif
