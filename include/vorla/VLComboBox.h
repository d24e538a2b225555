// VLComboBox: a drop-down selector. The closed box shows the selected entry beside a button; the
// open list of entries and separators is painted over the window below the box.
#ifndef VORLA_VLCOMBOBOX_H
#define VORLA_VLCOMBOBOX_H

#include "vorla/VLGraphics.h"

class VORLA_API VLComboBox : public VLGraphics {
public:
    typedef void (*ComboBoxCallback)(VLComboBox *);

    VLComboBox();
    ~VLComboBox();
    VLComboBox(const VLComboBox &) = delete;
    VLComboBox &operator=(const VLComboBox &) = delete;

    void Clear();
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
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);

    // Texts of 255 bytes or more are refused whole (0). The first entry added becomes the
    // selected one. No repaint.
    int AddText(const char *text);
    // An etched line in the list that cannot be highlighted; its text is a marker.
    int AddSeparator();
    int SetText(int index, const char *text);
    // Selects and highlights the entry and repaints; no change event.
    int SelectListIndex(int index);
    int GetListIndex();
    int GetListSize();
    // The selected entry's text; 0 when there is none or it does not fit in max bytes.
    int GetText(char *buffer, int max);
    int GetListText(int index, char *buffer, int max);
    // Where the open list lies, relative to the container like the bounds.
    int GetListBounds(VLSTRect *bounds);
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    void SetListBackgroundColor(unsigned long colour);
    unsigned long GetListBackgroundColor();
    void SetListForegroundColor(unsigned long colour);
    unsigned long GetListForegroundColor();
    void SetListSelectBackgroundColor(unsigned long colour);
    unsigned long GetListSelectBackgroundColor();
    void SetListSelectForegroundColor(unsigned long colour);
    unsigned long GetListSelectForegroundColor();
    // A null callback is refused (0) and the old one kept. The change event reports a selection
    // the user changed.
    int AttachFocusEvent(ComboBoxCallback callback);
    int AttachChangeEvent(ComboBoxCallback callback);
    void DetachFocusEvent();
    void DetachChangeEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct ComboBoxInput;
    typedef char Entry[256];
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLGroup *group;
    VLScrollArea *scrollArea;
    int windowX;
    int windowY;
    Entry *entries;
    int capacity;
    int count;
    unsigned int foregroundColour;
    unsigned int backgroundColour;
    unsigned int listForegroundColour;
    unsigned int listBackgroundColour;
    unsigned int listSelectForegroundColour;
    unsigned int listSelectBackgroundColour;
    int visible;
    int selected;
    int open;
    int highlight;
    int pressed;
    int focused;
    int enabled;
    int x;
    int y;
    int width;
    int height;
    HBITMAP offscreen;
    HBITMAP listBitmap; // made when the list is first drawn at its present size
    int listBitmapWidth;
    int listBitmapHeight;
    ComboBoxCallback focusCallback;
    ComboBoxCallback changeCallback;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
