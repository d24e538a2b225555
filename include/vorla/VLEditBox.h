// VLEditBox: a single-line text field with typing, selection, clipboard, input-method results and
// undo; double-byte characters are kept whole by every edit.
#ifndef VORLA_VLEDITBOX_H
#define VORLA_VLEDITBOX_H

#include "vorla/VLGraphics.h"

class VORLA_API VLEditBox : public VLGraphics {
public:
    typedef void (*EditBoxCallback)(VLEditBox *);

    VLEditBox();
    ~VLEditBox();
    VLEditBox(const VLEditBox &) = delete;
    VLEditBox &operator=(const VLEditBox &) = delete;

    void Clear();
    void SetBounds(int x, int y, int width, int height);
    void SetSize(int width, int height);
    void SetLocate(int x, int y);
    void GetBounds(VLSTRect *bounds);
    void GetSize(VLSTSize *size);
    void GetLocate(VLSTPosition *position);
    void SetVisible(int visible);
    int IsVisible();
    void SetEnable(int enable);
    int IsEnable();
    void SetBackgroundColor(unsigned long colour);
    unsigned long GetBackgroundColor();
    void SetForegroundColor(unsigned long colour);
    unsigned long GetForegroundColor();
    void SetSelectBackgroundColor(unsigned long colour);
    unsigned long GetSelectBackgroundColor();
    void SetSelectForegroundColor(unsigned long colour);
    unsigned long GetSelectForegroundColor();
    void SetCursorColor(unsigned long colour);
    unsigned long GetCursorColor();
    void SetText(const char *text);
    void GetText(char *buffer, int max);
    void SetMaxLength(int length);
    int GetMaxLength();
    void SetEditMode(int mode);
    int GetEditMode();
    int CursorSelect(int start, int end);
    void CursorSelectAll();
    int CursorPosition(int position);
    int GetCursorPosition();
    int GetCursorSelect(int *start, int *end);
    int AttachFocusEvent(EditBoxCallback callback);
    void DetachFocusEvent();
    int AttachChangeEvent(EditBoxCallback callback);
    void DetachChangeEvent();
    VLWindow *GetParentWindow();
    void Repaint();
    void SetHintText(const char *text);
    void SetHintFontSize(int size);
    void SetHintForegroundColor(unsigned long colour);
    void SetHintBackgroundColor(unsigned long colour);

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct EditBoxAccess; // editing, input and drawing
    friend struct EditBoxRows;   // the window's routing rows
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLScrollArea *scrollArea;
    VLGroup *group;
    int windowX;
    int windowY;
    char *text;
    unsigned int backgroundColour;
    unsigned int foregroundColour;
    unsigned int selectForegroundColour;
    unsigned int selectBackgroundColour;
    unsigned int cursorColour;
    int visible;
    int enabled;
    int maxLength;
    int editMode;
    int focused;
    int x;
    int y;
    int width;
    int height;
    int caretPhase;
    int caret;
    int selectionStart;
    int selectionEnd;
    int firstVisible;
    int characterWidth;
    int anchor;
    char *undoTexts[8];
    int undoCarets[8];
    int undoDepth;
    HBITMAP offscreen;
    EditBoxCallback focusCallback;
    EditBoxCallback changeCallback;
    // The spin edit box that contains the box, told of every change through ownerChanged.
    VLSpinEditBox *owner;
    void (*ownerChanged)(VLSpinEditBox *);
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
};

#endif
