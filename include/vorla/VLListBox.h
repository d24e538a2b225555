// VLListBox: rows of text, each with an optional icon and a selected flag, single or multiple
// selection, and a scroll bar of its own drawing with arrow buttons, paging and a draggable thumb.
#ifndef VORLA_VLLISTBOX_H
#define VORLA_VLLISTBOX_H

#include "vorla/VLGraphics.h"

class VORLA_API VLListBox : public VLGraphics {
public:
    typedef void (*ListBoxCallback)(VLListBox *);

    VLListBox();
    ~VLListBox();
    VLListBox(const VLListBox &) = delete;
    VLListBox &operator=(const VLListBox &) = delete;

    void Clear();
    // A width or height of 0 is ignored by SetBounds and SetSize.
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    void SetEnable(int enabled);
    int IsEnable();
    // Bit 0x02: the scroll bar is shown; bit 0x20: multiple selection. The default is 0x12.
    void SetMode(int mode);
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    void SetSelectBackgroundColor(unsigned long colour);
    unsigned long GetSelectBackgroundColor();
    void SetSelectForegroundColor(unsigned long colour);
    unsigned long GetSelectForegroundColor();
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);

    // Texts of 255 bytes or more are refused whole (0). The icon is not owned and may be null.
    int AddText(const char *text);
    int AddText(const char *text, VLIcon *icon);
    int SetText(int index, const char *text);
    int SetIcon(int index, VLIcon *icon);
    int RemoveText(int index);
    int RemoveAllText();
    // 0 when the text does not fit in max bytes (max + 1 with the terminator).
    int GetListText(int index, char *buffer, int max);
    int GetListSize();
    // Stores state as the item's selected value; with single selection a state of 1 unselects
    // the others first. No repaint and no event.
    int SelectListIndex(int index, int state);
    int SelectListAll();
    int SelectListClear();
    // The first selected item, or -1.
    int GetListIndex();
    int GetListSelectCount();
    int IsSelected(int index);
    void SetScrollBarTopPos(int top);
    int GetScrollBarTopPos();
    // A null callback is refused (0) and the old one kept.
    int AttachSelectEvent(ListBoxCallback callback);
    void DetachSelectEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct ListBoxInput;
    struct Item;
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    Item *items;
    int capacity;
    int count;
    int mode;
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    unsigned int selectForegroundColour;
    unsigned int selectBackgroundColour;
    int visible;
    int enabled;
    int focused;
    int x;
    int y;
    int width;
    int height;
    HBITMAP offscreen;
    int topRow;
    int barState;
    int thumbDragging;
    int dragThumbTop;
    int dragGrabY;
    int lastToggled;
    int pressedInside;
    // Every selected item lies in [selectionLow, selectionHigh) and selectedCount of them are
    // selected, so clearing a selection or finding the first one never walks a long list whole.
    int selectedCount;
    int selectionLow;
    int selectionHigh;
    ListBoxCallback selectCallback;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
