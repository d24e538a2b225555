// VLSpinEditBox: a numeric field with spin buttons at its right. The buttons and the Up and Down
// keys add or subtract a step from the number in the field, kept within a range, and write the
// result back with a printf-style format; integers and doubles alike.
#ifndef VORLA_VLSPINEDITBOX_H
#define VORLA_VLSPINEDITBOX_H

#include "vorla/VLGraphics.h"

class VORLA_API VLSpinEditBox : public VLGraphics {
public:
    typedef void (*SpinEditBoxCallback)(VLSpinEditBox *);

    VLSpinEditBox();
    ~VLSpinEditBox();
    VLSpinEditBox(const VLSpinEditBox &) = delete;
    VLSpinEditBox &operator=(const VLSpinEditBox &) = delete;

    void Clear();
    // Sizes below 20 x 10 are ignored. The field takes all but the right-most 19 pixels; the
    // spin buttons the right-most 18.
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

    // The value. Setting an integer switches the box to integer mode, a double to double mode
    // (a switch resets the format to "%d" or "%f"). Written as given, without the range.
    void SetValue(int value);
    void SetValueF(double value);
    int GetValue();
    double GetValueF();
    // A printf-style format with at most one numeric conversion (d i o u x X, or f F e E g G a A;
    // the value is converted to the kind the conversion reads). Formats of 64 characters or
    // more, or with anything else that reads an argument, are refused (0).
    int SetFormat(const char *format);
    // Copies at most max characters of the format and a terminator (max + 1 bytes).
    int GetFormat(char *buffer, int max);
    // An inverted range is refused (0). The integer and double settings move together.
    int SetRange(int minimum, int maximum);
    int SetRangeF(double minimum, double maximum);
    int GetRange(int *minimum, int *maximum);
    int GetRangeF(double *minimum, double *maximum);
    void SetDiffValue(int step);
    void SetDiffValueF(double step);
    double GetDiffValueF();

    // The field's colours.
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
    // The spin buttons' colours.
    void SetSpinBackgroundColor(unsigned long colour);
    unsigned long GetSpinBackgroundColor();
    void SetSpinForegroundColor(unsigned long colour);
    unsigned long GetSpinForegroundColor();

    // The field's caret and selection.
    int CursorSelect(int start, int end);
    void CursorSelectAll();
    int CursorPosition(int position);
    int GetCursorPosition();
    int GetCursorSelect(int *start, int *end);

    // Focus: the box takes the focus. Change: the user edited the number in the field (stepping
    // does not count). Up and down select: a step by a spin button or the Up and Down keys.
    int AttachFocusEvent(SpinEditBoxCallback callback);
    int AttachChangeEvent(SpinEditBoxCallback callback);
    int AttachUpSelectEvent(SpinEditBoxCallback callback);
    int AttachDownSelectEvent(SpinEditBoxCallback callback);
    void DetachFocusEvent();
    void DetachChangeEvent();
    void DetachUpSelectEvent();
    void DetachDownSelectEvent();

private:
    friend struct WidgetAccess; // the skeleton shared by every widget class
    friend struct SpinEditBoxAccess;
    friend struct SpinEditBoxRows; // the window's routing rows
    void Initialise();
    void Release();
    void Draw();

    VLWindow *parentWindow;
    VLScrollArea *scrollArea;
    VLGroup *group;
    int windowX;
    int windowY;
    int integerStep;
    double doubleStep;
    char *format;
    int integerMinimum;
    int integerMaximum;
    double doubleMinimum;
    double doubleMaximum;
    int integerMode;
    int visible;
    int enabled;
    int focused;
    int x;
    int y;
    int width;
    int height;
    SpinEditBoxCallback focusCallback;
    SpinEditBoxCallback upCallback;
    SpinEditBoxCallback downCallback;
    int fontSize;
    char *hintText;
    unsigned int hintForegroundColour;
    unsigned int hintBackgroundColour;
    int hintFontSize;
    VLEditBox *field;
    VLSpin *spin;
    SpinEditBoxCallback changeCallback;
};

#endif
