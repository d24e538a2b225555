// VLSpinEditBox: a numeric edit box with a spin at its right, in integer or double mode; the spin
// and the Up and Down keys step the number within a range and write it back formatted.
#include "spin_edit_box_access.h"

#include "edit_box_access.h"
#include "skeleton.h"
#include "spin_access.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int FormatCapacity = 64; // formats of 64 characters or more are refused

int IntegerOf(long long value)
{
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

// A double truncated toward zero into the int range (NaN reads as 0).
int IntegerOf(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(value);
}

// The leading number of a text, as atoi reads it; numbers beyond the int range read as its ends.
int ReadInteger(const char *text)
{
    return IntegerOf(std::strtoll(text, nullptr, 10));
}

// An application's format, checked and rewritten so that its one conversion (if any) reads
// exactly the argument passed: a long long for d i o u x X, a double for f F e E g G a A.
// Anything else that reads an argument (*, %s, %n, a second conversion) makes it unusable.
struct NumberFormat {
    bool usable = false;
    bool floating = false; // the conversion reads a double
    std::string rewritten;

    explicit NumberFormat(const char *format)
    {
        bool converted = false;
        for (const char *p = format; *p; ++p) {
            rewritten += *p;
            if (*p != '%')
                continue;
            if (p[1] == '%') {
                rewritten += *++p;
                continue;
            }
            if (converted)
                return; // a second argument would be read
            ++p;
            while (*p && std::string("-+ #0'").find(*p) != std::string::npos)
                rewritten += *p++;
            if (!Number(p) || (*p == '.' && (rewritten += *p++, !Number(p))))
                return;
            while (*p && std::string("hlLqjzt").find(*p) != std::string::npos)
                ++p; // the length is the one the value is passed with
            if (!*p)
                return;
            if (std::string("diouxX").find(*p) != std::string::npos) {
                rewritten += "ll";
            } else if (std::string("fFeEgGaA").find(*p) == std::string::npos) {
                return;
            } else {
                floating = true;
            }
            rewritten += *p;
            converted = true;
        }
        usable = true;
    }

private:
    // A width or precision: at most three digits (nothing the field could show needs more).
    bool Number(const char *&p)
    {
        int digits = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++digits)
            rewritten += *p;
        return digits <= 3;
    }
};

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
// Writes a number with a checked format into a field-sized buffer; the format's conversion
// decides whether the integer or the double is shown.
void Format(const NumberFormat &format, long long integer, double real, char *out)
{
    if (format.floating)
        std::snprintf(out, TextCapacity, format.rewritten.c_str(), real);
    else
        std::snprintf(out, TextCapacity, format.rewritten.c_str(), integer);
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

long long IntegerOfReal(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= -9.2e18)
        return LLONG_MIN;
    if (value >= 9.2e18)
        return LLONG_MAX;
    return static_cast<long long>(value);
}

} // namespace

// ---- lifetime ----

void VLSpinEditBox::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    integerStep = 1;
    doubleStep = 1.0;
    format = new (std::nothrow) char[FormatCapacity];
    if (format)
        std::strcpy(format, "%d");
    integerMinimum = 0;
    integerMaximum = 100;
    doubleMinimum = 0.0;
    doubleMaximum = 100.0;
    integerMode = 1;
    visible = 1;
    enabled = 1;
    focused = 0;
    x = y = width = height = 0;
    focusCallback = upCallback = downCallback = changeCallback = nullptr;
    fontSize = 12;
    hintText = new (std::nothrow) char[HintCapacity]();
    WidgetAccess::ResetHint(*this);
    field = new (std::nothrow) VLEditBox;
    spin = new (std::nothrow) VLSpin;
    if (field) {
        field->SetEditMode(1);
        EditBoxAccess::SetOwner(*field, this, SpinEditBoxAccess::FieldChanged);
    }
    if (spin) {
        SpinAccess::SetOwnerUp(*spin, this, SpinEditBoxAccess::StepUp);
        SpinAccess::SetOwnerDown(*spin, this, SpinEditBoxAccess::StepDown);
    }
}

void VLSpinEditBox::Release()
{
    delete spin;
    spin = nullptr;
    delete field;
    field = nullptr;
    delete[] format;
    format = nullptr;
    delete[] hintText;
    hintText = nullptr;
}

VORLA_WIDGET_LIFETIME(VLSpinEditBox)
VORLA_WIDGET_HINT(VLSpinEditBox)

// ---- bounds and parts ----

void SpinEditBoxAccess::PlaceParts(VLSpinEditBox &b)
{
    const int spinX = Clamped(static_cast<long long>(b.x) + b.width - 18);
    if (b.field)
        WidgetAccess::SetPartBounds(*b.field, b.x, b.y, b.width - 19, b.height);
    if (b.spin)
        WidgetAccess::SetPartBounds(*b.spin, spinX, b.y, 18, b.height);
    if (!b.parentWindow)
        return;
    if (b.field)
        WidgetAccess::SetPartPosition(*b.field, b.parentWindow, b.windowX, b.windowY);
    if (b.spin)
        WidgetAccess::SetPartPosition(*b.spin, b.parentWindow, Edge(b.windowX, b.width - 18), b.windowY);
}

void VLSpinEditBox::SetBounds(int newX, int newY, int newWidth, int newHeight)
{
    if (newWidth < 20 || newHeight < 10)
        return;
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    SpinEditBoxAccess::PlaceParts(*this);
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}

// The same lower limits as SetBounds: anything smaller would give the field no width at all.
void VLSpinEditBox::SetSize(int newWidth, int newHeight)
{
    if (newWidth < 20 || newHeight < 10)
        return;
    width = newWidth;
    height = newHeight;
    SpinEditBoxAccess::PlaceParts(*this);
}

void VLSpinEditBox::SetLocate(int newX, int newY)
{
    x = newX;
    y = newY;
    SpinEditBoxAccess::PlaceParts(*this);
    if (parentWindow)
        WindowInternals::PlaceChildren(*parentWindow);
}

void VLSpinEditBox::GetBounds(VLSTRect *bounds) { WidgetAccess::GetBounds(*this, bounds); }
void VLSpinEditBox::GetSize(VLSTSize *size) { WidgetAccess::GetSize(*this, size); }
void VLSpinEditBox::GetLocate(VLSTPosition *position) { WidgetAccess::GetLocate(*this, position); }
VLWindow *VLSpinEditBox::GetParentWindow() { return parentWindow; }
void VLSpinEditBox::Repaint() { WidgetAccess::Repaint(*this); }

void VLSpinEditBox::SetVisible(int shown)
{
    visible = shown;
    if (field)
        field->SetVisible(shown);
    if (spin)
        spin->SetVisible(shown);
}
int VLSpinEditBox::IsVisible() { return visible; }

void VLSpinEditBox::SetEnable(int on)
{
    enabled = on;
    if (field)
        field->SetEnable(on);
    if (spin)
        spin->SetEnable(on);
}
int VLSpinEditBox::IsEnable() { return enabled; }

// ---- the number ----

void SpinEditBoxAccess::FieldText(VLSpinEditBox &b, char *text)
{
    text[0] = '\0';
    if (b.field)
        b.field->GetText(text, TextCapacity - 1);
}

// The value is given both ways; the format's conversion picks the one it shows.
void SpinEditBoxAccess::Write(VLSpinEditBox &b, long long integer, double real)
{
    if (!b.field)
        return;
    char out[TextCapacity] = {};
    Format(NumberFormat(b.format ? b.format : b.integerMode ? "%d" : "%f"), integer, real, out);
    b.field->SetText(out);
}

void SpinEditBoxAccess::WriteInteger(VLSpinEditBox &b, long long value)
{
    Write(b, value, static_cast<double>(value));
}

void SpinEditBoxAccess::WriteDouble(VLSpinEditBox &b, double value)
{
    Write(b, IntegerOfReal(value), value);
}

// A switch of mode resets the format and writes the field's number back in the new mode.
void SpinEditBoxAccess::SwitchMode(VLSpinEditBox &b, bool integer)
{
    if ((b.integerMode != 0) == integer)
        return;
    b.integerMode = integer ? 1 : 0;
    if (b.format)
        std::strcpy(b.format, integer ? "%d" : "%f");
    char text[TextCapacity];
    FieldText(b, text);
    if (integer)
        WriteInteger(b, ReadInteger(text));
    else
        WriteDouble(b, std::atof(text));
}

void VLSpinEditBox::SetValue(int value)
{
    SpinEditBoxAccess::SwitchMode(*this, true);
    SpinEditBoxAccess::WriteInteger(*this, value);
}

void VLSpinEditBox::SetValueF(double value)
{
    SpinEditBoxAccess::SwitchMode(*this, false);
    SpinEditBoxAccess::WriteDouble(*this, value);
}

int VLSpinEditBox::GetValue()
{
    char text[TextCapacity];
    SpinEditBoxAccess::FieldText(*this, text);
    return ReadInteger(text);
}

double VLSpinEditBox::GetValueF()
{
    char text[TextCapacity];
    SpinEditBoxAccess::FieldText(*this, text);
    return std::atof(text);
}

int VLSpinEditBox::SetFormat(const char *newFormat)
{
    if (!newFormat || !format || std::strlen(newFormat) >= static_cast<size_t>(FormatCapacity) ||
        !NumberFormat(newFormat).usable)
        return 0;
    std::strcpy(format, newFormat);
    if (integerMode)
        SetValue(GetValue());
    else
        SetValueF(GetValueF());
    return 1;
}

int VLSpinEditBox::GetFormat(char *buffer, int max)
{
    if (!buffer || max <= 0)
        return 0;
    CopyTextOut(format, buffer, max);
    return 1;
}

int VLSpinEditBox::SetRange(int low, int high)
{
    if (low > high)
        return 0;
    SpinEditBoxAccess::SwitchMode(*this, true);
    integerMinimum = low;
    integerMaximum = high;
    doubleMinimum = low;
    doubleMaximum = high;
    return 1;
}

int VLSpinEditBox::SetRangeF(double low, double high)
{
    if (!(low <= high))
        return 0;
    SpinEditBoxAccess::SwitchMode(*this, false);
    doubleMinimum = low;
    doubleMaximum = high;
    integerMinimum = IntegerOf(low);
    integerMaximum = IntegerOf(high);
    return 1;
}

int VLSpinEditBox::GetRange(int *low, int *high)
{
    if (low)
        *low = integerMinimum;
    if (high)
        *high = integerMaximum;
    return 1;
}

int VLSpinEditBox::GetRangeF(double *low, double *high)
{
    if (low)
        *low = doubleMinimum;
    if (high)
        *high = doubleMaximum;
    return 1;
}

void VLSpinEditBox::SetDiffValue(int step)
{
    SpinEditBoxAccess::SwitchMode(*this, true);
    integerStep = step;
    doubleStep = step;
}

void VLSpinEditBox::SetDiffValueF(double step)
{
    SpinEditBoxAccess::SwitchMode(*this, false);
    doubleStep = step;
    integerStep = IntegerOf(step);
}

double VLSpinEditBox::GetDiffValueF() { return doubleStep; }

void SpinEditBoxAccess::Step(VLSpinEditBox &b, int direction)
{
    if (!b.field)
        return;
    char text[TextCapacity];
    FieldText(b, text);
    if (b.integerMode) {
        long long value = static_cast<long long>(ReadInteger(text)) + static_cast<long long>(direction) * b.integerStep;
        if (value > b.integerMaximum)
            value = b.integerMaximum;
        if (value < b.integerMinimum)
            value = b.integerMinimum;
        WriteInteger(b, value);
    } else {
        double value = std::atof(text) + direction * b.doubleStep;
        if (value > b.doubleMaximum)
            value = b.doubleMaximum;
        if (value < b.doubleMinimum)
            value = b.doubleMinimum;
        // A step that is not a number (NaN) would make the field's number meaningless.
        if (!std::isnan(value))
            WriteDouble(b, value);
    }
    b.field->CursorSelectAll();
    b.field->Repaint(); // the new number shows selected at once
}

void SpinEditBoxAccess::StepUp(VLSpinEditBox *box)
{
    if (box)
        Step(*box, 1);
}

void SpinEditBoxAccess::StepDown(VLSpinEditBox *box)
{
    if (box)
        Step(*box, -1);
}

void SpinEditBoxAccess::FieldChanged(VLSpinEditBox *box)
{
    if (box && box->changeCallback)
        box->changeCallback(box);
}

// ---- forwarded to the parts ----

#define VORLA_FORWARD_COLOUR(Part, Name, Method)                                                  \
    void VLSpinEditBox::Set##Name(unsigned long colour)                                             \
    {                                                                                               \
        if (Part)                                                                                   \
            Part->Set##Method(colour);                                                              \
    }                                                                                               \
    unsigned long VLSpinEditBox::Get##Name() { return Part ? Part->Get##Method() : 0; }

VORLA_FORWARD_COLOUR(field, BackgroundColor, BackgroundColor)
VORLA_FORWARD_COLOUR(field, ForegroundColor, ForegroundColor)
VORLA_FORWARD_COLOUR(field, SelectBackgroundColor, SelectBackgroundColor)
VORLA_FORWARD_COLOUR(field, SelectForegroundColor, SelectForegroundColor)
VORLA_FORWARD_COLOUR(field, CursorColor, CursorColor)
VORLA_FORWARD_COLOUR(spin, SpinBackgroundColor, BackgroundColor)
VORLA_FORWARD_COLOUR(spin, SpinForegroundColor, ForegroundColor)
#undef VORLA_FORWARD_COLOUR

int VLSpinEditBox::CursorSelect(int start, int end) { return field ? field->CursorSelect(start, end) : 0; }
void VLSpinEditBox::CursorSelectAll()
{
    if (field)
        field->CursorSelectAll();
}
int VLSpinEditBox::CursorPosition(int position) { return field ? field->CursorPosition(position) : 0; }
int VLSpinEditBox::GetCursorPosition() { return field ? field->GetCursorPosition() : 0; }
int VLSpinEditBox::GetCursorSelect(int *start, int *end) { return field ? field->GetCursorSelect(start, end) : 0; }

int VLSpinEditBox::AttachFocusEvent(SpinEditBoxCallback callback) { return AttachCallback(focusCallback, callback); }
int VLSpinEditBox::AttachChangeEvent(SpinEditBoxCallback callback) { return AttachCallback(changeCallback, callback); }
int VLSpinEditBox::AttachUpSelectEvent(SpinEditBoxCallback callback) { return AttachCallback(upCallback, callback); }
int VLSpinEditBox::AttachDownSelectEvent(SpinEditBoxCallback callback) { return AttachCallback(downCallback, callback); }
void VLSpinEditBox::DetachFocusEvent() { focusCallback = nullptr; }
void VLSpinEditBox::DetachUpSelectEvent() { upCallback = nullptr; }
void VLSpinEditBox::DetachDownSelectEvent() { downCallback = nullptr; }
void VLSpinEditBox::DetachChangeEvent()
{
    changeCallback = nullptr;
    if (field)
        field->DetachChangeEvent();
}

// ---- drawing and input ----

void SpinEditBoxAccess::PassFontSize(VLSpinEditBox &b)
{
    const int size = b.GetFontSize();
    if (size != b.fontSize && b.field) {
        b.fontSize = size;
        b.field->SetFontSize(size);
    }
}

void VLSpinEditBox::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow)
        return;
    parentWindow->BeginPaint();
    SpinEditBoxAccess::PassFontSize(*this);
    if (WindowInternals::Context(*parentWindow) && field && spin) {
        if (focused && enabled) {
            EditBoxAccess::SetFocusedFlag(*field, 1);
            SpinAccess::SetFocused(*spin, 1);
        }
        if (!focused)
            EditBoxAccess::SetFocusedFlag(*field, 0);
        EditBoxAccess::SetEnabledFlag(*field, enabled);
        SpinAccess::SetEnabled(*spin, enabled);
        EditBoxAccess::Draw(*field);
        SpinAccess::Draw(*spin);
    }
    parentWindow->EndPaint();
}

bool SpinEditBoxAccess::SetFocusState(VLSpinEditBox &b, bool on)
{
    if (!on) {
        b.focused = 0;
        if (b.field)
            EditBoxAccess::SetFocusState(*b.field, 0);
        if (b.spin)
            SpinAccess::SetFocused(*b.spin, 0);
        return true;
    }
    if (!b.focused && b.focusCallback) {
        LifeGuard alive(&b);
        b.focusCallback(&b);
        if (alive.Ended() || !b.parentWindow)
            return false;
    }
    b.focused = 1;
    return true;
}

bool SpinEditBoxAccess::TakeFocus(VLSpinEditBox &b)
{
    // Named first, so that a focus callback that removes the box takes it back too.
    WindowInternals::SetFocusedWidget(*b.parentWindow, TypeSpinEditBox, &b);
    if (!SetFocusState(b, true) || !b.field || !b.spin)
        return false;
    SpinAccess::SetFocused(*b.spin, 1);
    EditBoxAccess::SetFocusedFlag(*b.field, 1);
    return true;
}

void SpinEditBoxAccess::RedrawSpin(VLSpinEditBox &b, bool inGroup)
{
    if (inGroup)
        b.spin->Repaint();
    else
        SpinAccess::Draw(*b.spin);
}

int SpinEditBoxAccess::MouseInput(VLSpinEditBox &b, int code, int px, int py, bool inGroup)
{
    // A hidden box cannot be seen, so it takes no input, in a group or not.
    if (!b.visible || !b.parentWindow || WindowInternals::DropDownOpen(*b.parentWindow) || !b.field || !b.spin)
        return 0;
    VLSpin &spin = *b.spin;
    if (b.enabled && InsideExcluding(SpinAccess::WindowArea(spin), px, py)) {
        const bool upper = SpinAccess::UpperHalf(spin, py);
        int result = 0;
        if (code == 300) {
            PassFontSize(b);
            if (!TakeFocus(b))
                return 0;
            SpinAccess::SetState(spin, upper ? 128 : 8);
            if (inGroup)
                b.Repaint();
            else
                b.Draw();
            result = 1;
        } else if (code == 301) {
            const int was = SpinAccess::State(spin);
            SpinAccess::SetState(spin, 0);
            RedrawSpin(b, inGroup);
            if (was == 128 || was == 8) {
                LifeGuard alive(&b);
                Step(b, was == 128 ? 1 : -1);
                VLSpinEditBox::SpinEditBoxCallback callback = was == 128 ? b.upCallback : b.downCallback;
                if (!alive.Ended() && callback)
                    callback(&b);
                if (alive.Ended() || !b.parentWindow || !b.spin)
                    return 0;
            }
        }
        // A pressed half stays pressed wherever the pointer goes inside the spin.
        const int hot = upper ? 64 : 4, state = SpinAccess::State(*b.spin);
        if (state != 128 && state != 8 && state != hot) {
            SpinAccess::SetState(*b.spin, hot);
            RedrawSpin(b, inGroup);
        }
        return result;
    }
    if (code != 300) {
        if (SpinAccess::State(spin) != 0) {
            SpinAccess::SetState(spin, 0);
            RedrawSpin(b, inGroup);
        }
        return 0;
    }
    if (!InsideExcluding(EditBoxAccess::WindowArea(*b.field), px, py))
        return 0;
    if (!TakeFocus(b))
        return 0;
    EditBoxAccess::SetCaretPhase(*b.field, 1);
    if (inGroup)
        b.Repaint();
    else
        b.Draw();
    return 1;
}

void SpinEditBoxAccess::Repeat(VLSpinEditBox &b, int px, int py)
{
    if (!b.spin)
        return;
    const VLSpin &spin = *b.spin;
    const VLSTRect area = SpinAccess::WindowArea(spin);
    if (!InsideExcluding(area, px, py))
        return;
    const long long middle = (static_cast<long long>(area.y) + area.y + area.height) >> 1;
    const int state = SpinAccess::State(spin);
    const bool upper = py < middle;
    if (upper ? !(state & 0x80) : !(state & 0x08))
        return;
    if (auto step = SpinAccess::OwnerStep(spin, upper))
        step(SpinAccess::Owner(spin));
}

VLSTRect SpinEditBoxAccess::TextArea(const VLSpinEditBox &b)
{
    return VLSTRect{b.windowX, b.windowY, b.width > 20 ? b.width - 20 : 0, b.height};
}

// ---- the window's rows ----

struct SpinEditBoxRows {
    using A = SpinEditBoxAccess;

    static void Place(void *widget, VLWindow *window, int originX, int originY)
    {
        WidgetAccess::Place<VLSpinEditBox>(widget, window, originX, originY);
        A::PlaceParts(A::Of(widget));
    }
    static void SetGroup(void *widget, VLGroup *group)
    {
        VLSpinEditBox &b = A::Of(widget);
        WidgetAccess::SetGroup<VLSpinEditBox>(widget, group);
        if (b.field)
            WidgetAccess::SetGroup<VLEditBox>(b.field, group);
        if (b.spin)
            WidgetAccess::SetGroup<VLSpin>(b.spin, group);
    }
    static void SetScrollArea(void *widget, VLScrollArea *area)
    {
        VLSpinEditBox &b = A::Of(widget);
        WidgetAccess::SetScrollArea<VLSpinEditBox>(widget, area);
        if (b.field)
            WidgetAccess::SetScrollArea<VLEditBox>(b.field, area);
        if (b.spin)
            WidgetAccess::SetScrollArea<VLSpin>(b.spin, area);
    }
    static void WindowMouse(void *widget, int code, int px, int py)
    {
        A::MouseInput(A::Of(widget), code, px, py, false);
    }
    static int GroupMouse(void *widget, int code, int px, int py)
    {
        return A::MouseInput(A::Of(widget), code, px, py, true) ? 1 : -1;
    }
    static bool PressHits(void *widget, int px, int py)
    {
        VLSpinEditBox &b = A::Of(widget);
        return b.visible && InsideExcluding(VLSTRect{b.windowX, b.windowY, b.width, b.height}, px, py);
    }
    static bool HasFocus(void *widget) { return A::Of(widget).focused != 0; }
    static bool Eligible(void *widget) { return A::Of(widget).enabled && A::Of(widget).visible; }
    // Focus by Tab selects the whole number.
    static void GainFocus(void *widget)
    {
        VLSpinEditBox &b = A::Of(widget);
        if (!A::SetFocusState(b, true))
            return;
        b.CursorSelectAll();
        b.Repaint();
    }
    static void LoseFocus(void *widget)
    {
        VLSpinEditBox &b = A::Of(widget);
        if (!b.focused)
            return;
        A::SetFocusState(b, false);
        b.Repaint();
    }
    // Up and Down step the focused box and report the step.
    static bool Arrow(void *widget, int key)
    {
        VLSpinEditBox &b = A::Of(widget);
        if (!b.focused || !b.enabled || !b.visible || !b.spin)
            return false;
        const bool up = key == 0xF20002;
        if (!up && key != 0xF20003)
            return true;
        auto step = SpinAccess::OwnerStep(*b.spin, up);
        if (!step)
            return true;
        LifeGuard alive(&b);
        step(SpinAccess::Owner(*b.spin));
        VLSpinEditBox::SpinEditBoxCallback callback = up ? b.upCallback : b.downCallback;
        if (!alive.Ended() && callback)
            callback(&b);
        return true;
    }
    static VLEditBox *TextTaker(void *widget)
    {
        VLSpinEditBox &b = A::Of(widget);
        return b.field && EditBoxAccess::Focused(*b.field) ? b.field : nullptr;
    }
};

extern const WidgetKind SpinEditBoxKind = [] {
    WidgetKind kind = SkeletonKind<VLSpinEditBox>();
    kind.place = SpinEditBoxRows::Place;
    kind.setGroup = SpinEditBoxRows::SetGroup;
    kind.setScrollArea = SpinEditBoxRows::SetScrollArea;
    kind.mouse = SpinEditBoxRows::WindowMouse;
    kind.mouseInGroup = SpinEditBoxRows::GroupMouse;
    kind.pressHits = SpinEditBoxRows::PressHits;
    kind.hasFocus = SpinEditBoxRows::HasFocus;
    kind.eligible = SpinEditBoxRows::Eligible;
    kind.gainFocus = SpinEditBoxRows::GainFocus;
    kind.loseFocus = SpinEditBoxRows::LoseFocus;
    kind.arrow = SpinEditBoxRows::Arrow;
    kind.focusedEditBox = SpinEditBoxRows::TextTaker;
    return kind;
}();
