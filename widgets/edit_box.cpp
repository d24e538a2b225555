// VLEditBox: a single-line text field. Every byte is one column of the fixed-pitch font; double-
// byte characters are two columns and every edit, caret move, selection and scroll keeps them
// whole.
#include "edit_box_access.h"
#include "skeleton.h"

#include "../draw/surface_access.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

constexpr int MaxText = 255;
constexpr int UndoSteps = 8;

bool IsLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrail(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

bool IsDigitLike(unsigned char b)
{
    return (b >= '0' && b <= '9') || b == '.' || b == '-' || b == '+';
}

// Whether a text passes the edit mode's filter (1: numeric, 2: single-byte, other: anything).
bool PassesMode(int mode, const char *text)
{
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
        if ((mode == 1 || mode == 2) && *p >= 0x80)
            return false;
        if (mode == 1 && !IsDigitLike(*p))
            return false;
    }
    return true;
}

// The class of every byte of a text, worked out in one scan from its start. A lead byte without
// a valid trail stands alone, so that the pairs after it are still recognised.
struct Classes {
    signed char of[TextCapacity * 2 + 2];
    int length = 0;

    explicit Classes(const char *text)
    {
        const unsigned char *t = reinterpret_cast<const unsigned char *>(text);
        length = 0;
        while (t && t[length] && length < static_cast<int>(sizeof(of)) - 1)
            ++length;
        for (int i = 0; i < length;) {
            if (IsLead(t[i]) && i + 1 < length && IsTrail(t[i + 1])) {
                of[i] = 1;
                of[i + 1] = 2;
                i += 2;
            } else {
                of[i] = (t[i] >= 0x20 && t[i] <= 0x7F) ? 0 : -2;
                ++i;
            }
        }
    }
    int At(int i) const { return i < 0 || i >= length ? -1 : of[i]; }
    bool Trail(int i) const { return At(i) == 2; }
};

// Cuts a text to the maximum length without splitting a pair.
void Truncate(char *text, int maximum)
{
    const int length = static_cast<int>(std::strlen(text));
    if (length < maximum)
        return;
    const Classes classes(text);
    text[classes.Trail(maximum) ? maximum - 1 : maximum] = '\0';
}

} // namespace

int EditBoxAccess::ClassifyByte(const char *text, int index)
{
    if (!text || index < 0)
        return -1;
    return Classes(text).At(index);
}

void VLEditBox::Initialise()
{
    WidgetAccess::ResetPlacement(*this);
    WidgetAccess::AllocateBuffers(*this);
    backgroundColour = 0xFFFFFFFFu;
    foregroundColour = 0xFF000000u;
    selectForegroundColour = 0xFFFFFFFFu;
    selectBackgroundColour = 0xFF0000FFu;
    cursorColour = 0xFF000000u;
    visible = 1;
    enabled = 1;
    maxLength = MaxText;
    editMode = 0;
    focused = 0;
    x = y = width = height = 0;
    caretPhase = 0;
    caret = 0;
    selectionStart = selectionEnd = -1;
    firstVisible = 0;
    characterWidth = 6;
    anchor = -1;
    for (int i = 0; i < UndoSteps; ++i) {
        undoTexts[i] = new (std::nothrow) char[TextCapacity]();
        undoCarets[i] = 0;
    }
    undoDepth = 0;
    offscreen = nullptr;
    focusCallback = nullptr;
    changeCallback = nullptr;
    owner = nullptr;
    ownerChanged = nullptr;
    WidgetAccess::ResetHint(*this);
}

void VLEditBox::Release()
{
    if (offscreen)
        DeleteObject(offscreen);
    offscreen = nullptr;
    for (int i = 0; i < UndoSteps; ++i) {
        delete[] undoTexts[i];
        undoTexts[i] = nullptr;
    }
    WidgetAccess::FreeBuffers(*this);
}

VORLA_WIDGET_LIFETIME(VLEditBox)

VORLA_WIDGET_BOUNDS(VLEditBox, true)
VORLA_WIDGET_COLOURS(VLEditBox)
VORLA_WIDGET_HINT(VLEditBox)

void VLEditBox::SetEnable(int enable) { enabled = enable; }
int VLEditBox::IsEnable() { return enabled; }
void VLEditBox::SetSelectBackgroundColor(unsigned long colour) { selectBackgroundColour = static_cast<unsigned int>(colour); }
unsigned long VLEditBox::GetSelectBackgroundColor() { return selectBackgroundColour; }
void VLEditBox::SetSelectForegroundColor(unsigned long colour) { selectForegroundColour = static_cast<unsigned int>(colour); }
unsigned long VLEditBox::GetSelectForegroundColor() { return selectForegroundColour; }
void VLEditBox::SetCursorColor(unsigned long colour) { cursorColour = static_cast<unsigned int>(colour); }
unsigned long VLEditBox::GetCursorColor() { return cursorColour; }
void VLEditBox::GetText(char *buffer, int max) { CopyTextOut(text, buffer, max); }
void VLEditBox::SetMaxLength(int length) { maxLength = std::clamp(length, 0, MaxText); }
int VLEditBox::GetMaxLength() { return maxLength; }
void VLEditBox::SetEditMode(int mode) { editMode = mode; }
int VLEditBox::GetEditMode() { return editMode; }
int VLEditBox::GetCursorPosition() { return caret; }

// ---- geometry ----

int EditBoxAccess::Length(const VLEditBox &b)
{
    return b.text ? static_cast<int>(std::strlen(b.text)) : 0;
}

int EditBoxAccess::CharacterWidth(VLEditBox &b)
{
    b.characterWidth = std::max((b.GetFontSize() + 1) >> 1, 1);
    return b.characterWidth;
}

int EditBoxAccess::VisibleCount(VLEditBox &b)
{
    return static_cast<int>((static_cast<long long>(b.width) - 6) / CharacterWidth(b));
}

bool EditBoxAccess::Fits(VLEditBox &b, long long columns)
{
    return CharacterWidth(b) * columns < static_cast<long long>(b.width) - 6;
}

bool EditBoxAccess::HasSelection(const VLEditBox &b)
{
    return b.selectionStart >= 0 && b.selectionEnd >= 0 && b.selectionStart <= b.selectionEnd;
}

void EditBoxAccess::Settle(VLEditBox &b)
{
    const Classes classes(b.text);
    const int length = classes.length;
    b.caret = std::clamp(b.caret, 0, length);
    if (classes.Trail(b.caret))
        --b.caret;
    b.firstVisible = std::clamp(b.firstVisible, 0, length);
    if (classes.Trail(b.firstVisible))
        --b.firstVisible;
    if (b.anchor > length)
        b.anchor = length;
    if (classes.Trail(b.anchor))
        --b.anchor; // an anchor kept across an edit may have landed inside a pair
}

VLSTRect EditBoxAccess::WindowArea(const VLEditBox &b)
{
    return VLSTRect{b.windowX, b.windowY, b.width, b.height};
}

void EditBoxAccess::CompositionPoint(VLEditBox &b, int &px, int &py)
{
    const long long columns = static_cast<long long>(b.caret) - b.firstVisible;
    px = Clamped(static_cast<long long>(b.windowX) + 4 + columns * CharacterWidth(b));
    py = Clamped(static_cast<long long>(b.windowY) + 4);
}

void EditBoxAccess::ScrollToCaret(VLEditBox &b, bool afterInsertion)
{
    const int length = Length(b);
    const int visibleCount = VisibleCount(b);
    // A box too narrow for any column would scroll forever: the caret at the left edge is as far
    // as it goes.
    while (!Fits(b, static_cast<long long>(length) - b.firstVisible + (afterInsertion ? 0 : 1))) {
        if (b.caret - b.firstVisible + 1 < visibleCount || b.firstVisible >= b.caret)
            break;
        ++b.firstVisible;
        if (EditBoxAccess::ClassifyByte(b.text, b.firstVisible) == 2)
            ++b.firstVisible;
    }
    Settle(b);
}

// ---- undo ----

void EditBoxAccess::PushUndo(VLEditBox &b)
{
    for (char *entry : b.undoTexts)
        if (!entry || !b.text)
            return; // no history without its buffers
    if (b.undoDepth >= 1 && std::strcmp(b.undoTexts[0], b.text) == 0)
        return;
    char *oldest = b.undoTexts[UndoSteps - 1];
    for (int i = UndoSteps - 1; i > 0; --i) {
        b.undoTexts[i] = b.undoTexts[i - 1];
        b.undoCarets[i] = b.undoCarets[i - 1];
    }
    b.undoTexts[0] = oldest;
    std::strcpy(b.undoTexts[0], b.text);
    b.undoCarets[0] = b.caret;
    b.undoDepth = std::min(b.undoDepth + 1, UndoSteps);
}

void EditBoxAccess::Undo(VLEditBox &b)
{
    if (b.undoDepth <= 0 || !b.text || !b.undoTexts[0])
        return;
    std::strcpy(b.text, b.undoTexts[0]);
    b.caret = b.undoCarets[0];
    b.selectionStart = b.selectionEnd = -1;
    b.anchor = -1;
    Settle(b);
    if (b.firstVisible > b.caret)
        b.firstVisible = b.caret;
    ScrollToCaret(b, false);
    char *newest = b.undoTexts[0];
    for (int i = 0; i < UndoSteps - 1; ++i) {
        b.undoTexts[i] = b.undoTexts[i + 1];
        b.undoCarets[i] = b.undoCarets[i + 1];
    }
    b.undoTexts[UndoSteps - 1] = newest;
    --b.undoDepth;
}

// ---- editing ----

bool EditBoxAccess::Changed(VLEditBox &b)
{
    LifeGuard alive(&b);
    if (b.changeCallback)
        b.changeCallback(&b);
    if (alive.Ended())
        return false;
    if (b.owner && b.ownerChanged)
        b.ownerChanged(b.owner);
    return !alive.Ended();
}

int EditBoxAccess::DeleteSelection(VLEditBox &b, bool notify)
{
    const int length = Length(b);
    if (!HasSelection(b) || length == 0)
        return 0;
    const int start = std::min(b.selectionStart, length);
    const int after = static_cast<int>(std::min<long long>(static_cast<long long>(b.selectionEnd) + 1, length));
    std::memmove(b.text + start, b.text + after, static_cast<size_t>(length - after) + 1);
    b.caret = start;
    b.selectionStart = b.selectionEnd = -1;
    b.anchor = -1;
    if (b.caret < b.firstVisible)
        b.firstVisible = b.caret;
    Settle(b);
    ScrollToCaret(b, false);
    const bool changed = Length(b) != length;
    if (notify && changed)
        Changed(b);
    return changed ? 1 : 0;
}

void EditBoxAccess::InsertText(VLEditBox &b, const char *given, int insert)
{
    if (!given || !*given || !b.enabled || !b.text)
        return;
    PushUndo(b);
    if (std::strlen(given) > static_cast<size_t>(MaxText) || !PassesMode(b.editMode, given))
        return;

    // Control bytes become "?", and so does a lead byte with its broken trail; a lead byte that
    // ends the text stands alone (its trail would be the terminator).
    char cleaned[TextCapacity];
    int n = 0;
    const unsigned char *t = reinterpret_cast<const unsigned char *>(given);
    for (int i = 0; t[i];) {
        if (!IsLead(t[i])) {
            cleaned[n++] = t[i] >= 0x20 ? static_cast<char>(t[i]) : '?';
            ++i;
        } else if (IsTrail(t[i + 1])) {
            cleaned[n++] = static_cast<char>(t[i]);
            cleaned[n++] = static_cast<char>(t[i + 1]);
            i += 2;
        } else {
            cleaned[n++] = '?';
            i += t[i + 1] ? 2 : 1;
        }
    }
    cleaned[n] = '\0';

    DeleteSelection(b, false);
    const int length = Length(b);
    const int at = std::clamp(b.caret, 0, length);
    char joined[TextCapacity * 2 + 2];
    std::memcpy(joined, b.text, static_cast<size_t>(at));
    std::memcpy(joined + at, cleaned, static_cast<size_t>(n));
    int end = at + n;
    if (insert) {
        std::memcpy(joined + end, b.text + at, static_cast<size_t>(length - at));
        end += length - at;
    } else if (at + n < length) {
        // Overwriting half of a pair leaves a space for its trail.
        int from = at + n;
        if (ClassifyByte(b.text, from) == 2) {
            joined[end++] = ' ';
            ++from;
        }
        std::memcpy(joined + end, b.text + from, static_cast<size_t>(length - from));
        end += length - from;
    }
    joined[end] = '\0';
    Truncate(joined, b.maxLength);
    std::strcpy(b.text, joined);
    b.caretPhase = 1;
    b.caret = std::min(at + n, Length(b));
    Settle(b);
    ScrollToCaret(b, true);
    Changed(b);
}

void EditBoxAccess::TypeCharacter(VLEditBox &b, int c)
{
    // Control characters come with keys the box handles on their own (Backspace gives 0x7F
    // after its key-down); taking them as edits would put a step in the history that undoes
    // nothing.
    if (!b.enabled || !b.text || Length(b) >= MaxText || c < 0x20 || c == 0x7F)
        return;
    PushUndo(b);
    if (c >= 0x20)
        DeleteSelection(b, false);
    const int length = Length(b);
    if (!Fits(b, static_cast<long long>(length) + 1 - b.firstVisible) &&
        VisibleCount(b) <= b.caret - b.firstVisible + 1 && b.firstVisible < b.caret) {
        ++b.firstVisible;
        if (ClassifyByte(b.text, b.firstVisible) == 2)
            ++b.firstVisible;
        Settle(b);
    }
    if (length >= b.maxLength || c < 0x20 || c > 0x7E || (b.editMode == 1 && !IsDigitLike(static_cast<unsigned char>(c))))
        return;
    const int at = std::clamp(b.caret, 0, length);
    std::memmove(b.text + at + 1, b.text + at, static_cast<size_t>(length - at) + 1);
    b.text[at] = static_cast<char>(c);
    Truncate(b.text, b.maxLength);
    b.caretPhase = 1;
    b.caret = std::min(at + 1, Length(b));
    Settle(b);
    Changed(b);
}

// The Shift part of Left and Right: the selection runs from the anchor to the caret.
void EditBoxAccess::ExtendSelection(VLEditBox &b, int before, bool shift)
{
    if (!shift) {
        b.selectionStart = b.selectionEnd = -1;
        b.anchor = -1;
        return;
    }
    if (b.anchor < 0)
        b.anchor = before;
    if (b.caret == b.anchor) {
        b.selectionStart = b.selectionEnd = -1;
    } else if (b.caret < b.anchor) {
        b.selectionStart = b.caret;
        b.selectionEnd = b.anchor - 1;
    } else {
        b.selectionStart = b.anchor;
        b.selectionEnd = b.caret - 1;
    }
}

void EditBoxAccess::MoveLeft(VLEditBox &b, bool shift)
{
    const int before = b.caret;
    b.caret -= ClassifyByte(b.text, b.caret - 1) == 2 ? 2 : 1;
    if (b.caret < b.firstVisible) {
        b.firstVisible = b.caret;
        if (b.caret < 0)
            b.caret = b.firstVisible = 0;
    }
    Settle(b);
    ExtendSelection(b, before, shift);
    b.caretPhase = 1;
}

void EditBoxAccess::MoveRight(VLEditBox &b, bool shift)
{
    const int length = Length(b);
    if (b.caret >= length) {
        b.caretPhase = 1;
        return;
    }
    const int before = b.caret;
    const auto scroll = [&] {
        if (b.firstVisible <= b.caret && !Fits(b, static_cast<long long>(b.caret) - b.firstVisible + 1) &&
            VisibleCount(b) <= b.caret - b.firstVisible + 1 && b.firstVisible < b.caret) {
            ++b.firstVisible;
            if (ClassifyByte(b.text, b.firstVisible) == 2)
                ++b.firstVisible;
        }
    };
    scroll();
    b.caret = std::min(b.caret + (ClassifyByte(b.text, b.caret + 1) == 2 ? 2 : 1), length);
    scroll();
    Settle(b);
    ExtendSelection(b, before, shift);
    b.caretPhase = 1;
}

void EditBoxAccess::Erase(VLEditBox &b, bool forward)
{
    if (!b.enabled || !b.text) {
        b.caretPhase = 1;
        return;
    }
    PushUndo(b);
    LifeGuard alive(&b);
    const int deleted = DeleteSelection(b, true);
    if (alive.Ended())
        return;
    const int length = Length(b);
    if (deleted == 0 && length > 0) {
        const Classes classes(b.text);
        if (!forward && b.caret > 0) {
            const int from = std::max(b.caret - (classes.Trail(b.caret - 1) ? 2 : 1), 0);
            std::memmove(b.text + from, b.text + b.caret, static_cast<size_t>(length - b.caret) + 1);
            b.caret = from;
            if (b.caret < b.firstVisible)
                b.firstVisible = b.caret;
            Settle(b);
            if (!Changed(b))
                return;
        } else if (forward && b.caret < length) {
            const int count = classes.At(b.caret) == 1 ? 2 : 1;
            std::memmove(b.text + b.caret, b.text + b.caret + count, static_cast<size_t>(length - b.caret - count) + 1);
            Settle(b);
            if (!Changed(b))
                return;
        }
    }
    b.caretPhase = 1;
}

void EditBoxAccess::Copy(VLEditBox &b)
{
    const int length = Length(b);
    if (!HasSelection(b) || length == 0 || b.selectionStart >= length)
        return;
    const long long wanted = std::min<long long>(static_cast<long long>(b.selectionEnd) - b.selectionStart + 1, length);
    if (wanted > MaxText)
        return;
    const int n = static_cast<int>(std::min<long long>(wanted, length - b.selectionStart));
    if (!OpenClipboard(nullptr))
        return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(n) + 16);
    char *bytes = block ? static_cast<char *>(GlobalLock(block)) : nullptr;
    if (!bytes) {
        if (block)
            GlobalFree(block);
        CloseClipboard();
        return;
    }
    std::memcpy(bytes, b.text + b.selectionStart, static_cast<size_t>(n));
    bytes[n] = '\0';
    GlobalUnlock(block);
    EmptyClipboard();
    // The clipboard owns a block it took; one it refused is still ours to free.
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block);
    CloseClipboard();
}

void EditBoxAccess::Paste(VLEditBox &b)
{
    if (!OpenClipboard(nullptr))
        return;
    char taken[TextCapacity] = {};
    HANDLE block = GetClipboardData(CF_TEXT);
    const SIZE_T size = block ? GlobalSize(block) : 0;
    if (size > 0) {
        const char *bytes = static_cast<const char *>(GlobalLock(block));
        if (bytes) {
            // The block need not hold a terminator: never read past its end.
            const size_t most = std::min<size_t>(size, MaxText - 1);
            size_t n = 0;
            while (n < most && bytes[n])
                ++n;
            std::memcpy(taken, bytes, n);
            taken[n] = '\0';
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    if (*taken)
        InsertText(b, taken, 1);
}

void EditBoxAccess::ControlLetter(VLEditBox &b, int letter)
{
    const int length = Length(b);
    switch (letter) {
    case 'A':
        if (length > 0) {
            b.selectionStart = 0;
            b.selectionEnd = length;
        }
        break;
    case 'C':
        Copy(b);
        break;
    case 'V':
        if (b.enabled)
            Paste(b);
        break;
    case 'X':
        if (b.enabled) {
            Copy(b);
            PushUndo(b);
            DeleteSelection(b, false);
            Changed(b);
        }
        break;
    case 'Z':
        if (b.enabled) {
            Undo(b);
            Changed(b);
        }
        break;
    default:
        break;
    }
}

// ---- input ----

void EditBoxAccess::KeyInput(VLEditBox &b, const VLSTKeyEvent &event, int controlLetters)
{
    if (!b.text)
        return;
    if (controlLetters & 0x400000) {
        ControlLetter(b, controlLetters & 0xFF);
        return;
    }
    if (event.event != 201)
        return;
    const bool shift = (event.modifiers & 0x800000) != 0;
    if ((event.key & 0xF00000) == 0) {
        TypeCharacter(b, event.key);
        return;
    }
    switch (event.key) {
    case 0xF20000:
        MoveLeft(b, shift);
        break;
    case 0xF20001:
        MoveRight(b, shift);
        break;
    case 0xF00006:
        Erase(b, false);
        break;
    case 0xF00007:
        Erase(b, true);
        break;
    default:
        break;
    }
}

int EditBoxAccess::MouseInput(VLEditBox &b, const VLSTMouseEvent &event)
{
    if (!b.text)
        return 0;
    // The window lets the left button go before it reports the release, so the release comes
    // with the flag clear; it still ends the drag, or the next Shift selection would start from
    // an old click instead of the caret.
    if (event.event == 301) {
        const bool dragging = b.anchor >= 0;
        b.anchor = -1;
        return dragging ? 1 : 0;
    }
    if (!event.left)
        return 0;
    const int before[4] = {b.selectionStart, b.selectionEnd, b.caret, b.anchor};
    const int length = Length(b);
    const Classes classes(b.text);
    long long column = (static_cast<long long>(event.x) - b.windowX - 4) / CharacterWidth(b);
    if (column < 0)
        column = 0;
    int p = static_cast<int>(std::min<long long>(b.firstVisible + column, length));
    const bool inside = InsideExcluding(WindowArea(b), event.x, event.y);
    switch (event.event) {
    case 300:
        if (inside) {
            b.selectionStart = b.selectionEnd = -1;
            b.caret = b.anchor = classes.Trail(p) ? p - 1 : p;
        }
        break;
    case 302:
        if (b.anchor >= 0) {
            if (p == b.anchor) {
                b.selectionStart = b.selectionEnd = -1;
            } else if (p > b.anchor) {
                if (classes.Trail(p))
                    ++p;
                b.selectionStart = b.anchor;
                b.selectionEnd = p - 1;
            } else {
                if (classes.Trail(p))
                    --p;
                b.selectionStart = p;
                b.selectionEnd = b.anchor - 1;
            }
            b.caret = p;
        }
        break;
    case 303:
        SelectWord(b, event.x, event.y);
        break;
    default:
        break;
    }
    const int after[4] = {b.selectionStart, b.selectionEnd, b.caret, b.anchor};
    return std::equal(before, before + 4, after) ? 0 : 1;
}

void EditBoxAccess::SelectWord(VLEditBox &b, int px, int py)
{
    if (!InsideExcluding(WindowArea(b), px, py))
        return;
    const Classes classes(b.text);
    const int length = classes.length;
    const long long column = (static_cast<long long>(px) - b.windowX - 4) / CharacterWidth(b);
    if (column < 0 || column >= length - b.firstVisible)
        return;
    int i = b.firstVisible + static_cast<int>(column);
    if (classes.Trail(i))
        --i;
    if (HasSelection(b) || b.text[i] == ' ')
        return;
    const auto word = [&](int at) {
        const unsigned char c = static_cast<unsigned char>(b.text[at]);
        const int kind = classes.At(at);
        return kind == 1 || kind == 2 || (c < 0x80 && (std::isalnum(c) || c == '_'));
    };
    int start = i;
    while (start > 0 && word(start - 1))
        --start;
    int end = i;
    while (end < length && word(end))
        end += classes.At(end) == 1 ? 2 : 1;
    end = std::max(end - 1, 0);
    if (!word(i))
        start = end = i;
    if (start < end) {
        b.selectionStart = start;
        b.selectionEnd = end;
    } else {
        b.selectionStart = b.selectionEnd = i;
    }
}

void EditBoxAccess::SetFocusState(VLEditBox &b, int on)
{
    if (on) {
        if (!b.focused && b.focusCallback) {
            LifeGuard alive(&b);
            b.focusCallback(&b);
            if (alive.Ended())
                return;
        }
        b.focused = 1;
    } else {
        b.focused = 0;
        b.selectionStart = b.selectionEnd = -1;
        b.anchor = -1;
    }
}

void EditBoxAccess::BlinkCaret(VLEditBox &b)
{
    b.Repaint(); // clipped to its groups, like every other redraw of a box in one
    b.caretPhase = !b.caretPhase;
}

// ---- exported operations ----

void VLEditBox::SetText(const char *newText)
{
    if (!text || !newText || std::strlen(newText) > static_cast<size_t>(MaxText))
        return;
    if (*newText && !PassesMode(editMode, newText))
        return;
    std::strcpy(text, newText);
    Truncate(text, maxLength);
    caret = 0;
    selectionStart = selectionEnd = -1;
    firstVisible = 0;
    undoDepth = 0;
    Repaint();
    if (changeCallback)
        changeCallback(this);
}

int VLEditBox::CursorSelect(int start, int end)
{
    const int length = EditBoxAccess::Length(*this);
    if (!text || start < 0 || end < 0 || start > end || start >= length)
        return 0;
    const int startClass = EditBoxAccess::ClassifyByte(text, start);
    if (startClass == 2)
        --start;
    if (EditBoxAccess::ClassifyByte(text, end) == 1)
        ++end;
    selectionStart = start;
    selectionEnd = end;
    anchor = -1;
    caret = EditBoxAccess::Fits(*this, end) ? end : EditBoxAccess::VisibleCount(*this);
    EditBoxAccess::Settle(*this);
    Repaint();
    return 1;
}

void VLEditBox::CursorSelectAll()
{
    const int length = EditBoxAccess::Length(*this);
    if (length == 0)
        return;
    selectionStart = 0;
    selectionEnd = length;
    anchor = -1;
    caret = EditBoxAccess::Fits(*this, length) ? length : EditBoxAccess::VisibleCount(*this);
    EditBoxAccess::Settle(*this);
    Repaint();
}

int VLEditBox::CursorPosition(int position)
{
    const int length = EditBoxAccess::Length(*this);
    if (!text || length == 0 || position < 0 || position >= length)
        return 0;
    selectionStart = selectionEnd = -1;
    anchor = -1;
    caret = EditBoxAccess::Fits(*this, position) ? position : EditBoxAccess::VisibleCount(*this);
    EditBoxAccess::Settle(*this);
    Repaint();
    return 1;
}

int VLEditBox::GetCursorSelect(int *start, int *end)
{
    if (selectionStart < 0 || selectionEnd < 0)
        return 0;
    if (start)
        *start = selectionStart;
    if (end)
        *end = selectionEnd;
    return 1;
}

int VLEditBox::AttachFocusEvent(EditBoxCallback callback) { return AttachCallback(focusCallback, callback); }

void VLEditBox::DetachFocusEvent() { focusCallback = nullptr; }

int VLEditBox::AttachChangeEvent(EditBoxCallback callback) { return AttachCallback(changeCallback, callback); }

void VLEditBox::DetachChangeEvent() { changeCallback = nullptr; }

// ---- drawing ----

void VLEditBox::Draw()
{
    if (width == 0 || height == 0 || !visible || !parentWindow || !text)
        return;
    parentWindow->BeginPaint();
    HDC window = WindowInternals::Context(*parentWindow);
    HDC memory = window && offscreen ? CreateCompatibleDC(window) : nullptr;
    if (!memory) {
        parentWindow->EndPaint();
        return;
    }
    HGDIOBJ previous = SelectObject(memory, offscreen);
    SurfaceAccess::SetTarget(*this, memory);
    const int cw = EditBoxAccess::CharacterWidth(*this);
    EditBoxAccess::Settle(*this);

    unsigned int fill = backgroundColour, ink = foregroundColour, selectionFill = selectBackgroundColour,
                 selectionInk = selectForegroundColour, caretInk = cursorColour;
    if (!enabled) {
        const unsigned int container = ContainerBackground(parentWindow, group, WidgetAccess::AreaOf(this));
        fill = container;
        ink = selectionFill = ThreeQuarters(container);
        selectionInk = caretInk = Half(container);
    }
    const int W = width, H = height;
    VLGraphics::SetForegroundColor(fill);
    DrawFillRect(0, 0, W, H);

    // The text from the first visible byte, and the part of it the box shows.
    const char *shown = text + firstVisible;
    const int shownLength = static_cast<int>(std::strlen(shown));
    const int visibleCount = EditBoxAccess::VisibleCount(*this);
    int cut = shownLength;
    if (shownLength > visibleCount)
        cut = std::max(EditBoxAccess::ClassifyByte(shown, visibleCount) == 2 ? visibleCount - 1 : visibleCount, 0);
    char visiblePart[TextCapacity];
    std::memcpy(visiblePart, shown, static_cast<size_t>(cut));
    visiblePart[cut] = '\0';

    // A selection scrolled out to the left shows nothing (it would mark the first visible byte).
    const bool selection = EditBoxAccess::HasSelection(*this) && selectionEnd >= firstVisible;
    const int a = selection ? std::max(selectionStart - firstVisible, 0) : 0;
    const int b = selection ? std::max(selectionEnd - firstVisible, 0) : 0;
    int x1 = 4, x2 = 4;
    if (selection) {
        char piece[TextCapacity];
        const int first = std::min(a, shownLength);
        std::memcpy(piece, shown, static_cast<size_t>(first));
        piece[first] = '\0';
        x1 = 4 + GetTextWidth(piece);
        const int through = static_cast<int>(std::min<long long>(static_cast<long long>(b) + 1, shownLength));
        std::memcpy(piece, shown, static_cast<size_t>(through));
        piece[through] = '\0';
        x2 = 4 + GetTextWidth(piece);
        VLGraphics::SetForegroundColor(selectionFill);
        DrawFillRect(x1, 3, x2, H - 3);
    }

    VLGraphics::SetForegroundColor(0xFF808080u);
    DrawLine(0, 0, W, 0, 1);
    DrawLine(0, 0, 0, H, 1);
    VLGraphics::SetForegroundColor(0xFFFFFFFFu);
    DrawLine(W, 0, W, H, 1);
    DrawLine(0, H, W, H, 1);
    VLGraphics::SetForegroundColor(0xFF404040u);
    DrawRect(1, 1, W - 1, H - 1, 1);
    if (focused && enabled) {
        VLGraphics::SetForegroundColor(0xFF0000FFu);
        DrawRect(0, 0, W, H, 1);
    }

    VLGraphics::SetForegroundColor(ink);
    DrawBoxText(4, 0, W - 4, H, visiblePart, 1);

    if (selection && a < cut) {
        int pieceLength = static_cast<int>(std::min<long long>(static_cast<long long>(b) - a + 1, cut - a));
        if (EditBoxAccess::ClassifyByte(visiblePart, a + pieceLength) == 2)
            --pieceLength;
        char piece[TextCapacity];
        std::memcpy(piece, visiblePart + a, static_cast<size_t>(std::max(pieceLength, 0)));
        piece[std::max(pieceLength, 0)] = '\0';
        VLGraphics::SetForegroundColor(selectionInk);
        DrawBoxText(x1, 0, x2, H, piece, 1);
    }

    if (caretPhase == 1 && focused) {
        const int caretX = Clamped(static_cast<long long>(cw) * (caret - firstVisible) + 4);
        VLGraphics::SetForegroundColor(caretInk);
        DrawFillRect(caretX - 1, 3, caretX, H - 3);
    }

    BitBlt(window, windowX, windowY, W + 1, H + 1, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    SurfaceAccess::SetTarget(*this, nullptr);
    parentWindow->EndPaint();
}

// ---- the window's rows ----

struct EditBoxRows {
    static VLEditBox &Of(void *widget) { return *static_cast<VLEditBox *>(widget); }

    // A press inside the box (both edges count) focuses it; the caret itself follows through the
    // focused box's own mouse input.
    static int Mouse(VLEditBox &b, int code, int px, int py, bool inGroup)
    {
        if (!b.visible || !b.parentWindow || WindowInternals::DropDownOpen(*b.parentWindow) ||
            !InsideIncluding(EditBoxAccess::WindowArea(b), px, py))
            return -1;
        if (code != 300)
            return 1;
        // Named first, so that a focus callback that removes the box takes it back too.
        WindowInternals::SetFocusedWidget(*b.parentWindow, TypeEditBox, &b);
        LifeGuard alive(&b);
        EditBoxAccess::SetFocusState(b, 1);
        if (alive.Ended())
            return -1;
        b.caretPhase = 1;
        if (inGroup)
            b.Repaint();
        else
            b.Draw();
        return 1;
    }

    static bool PressHits(void *widget, int px, int py)
    {
        VLEditBox &b = Of(widget);
        return b.visible && InsideExcluding(EditBoxAccess::WindowArea(b), px, py);
    }
    static bool HasFocus(void *widget) { return Of(widget).focused != 0; }
    static bool Eligible(void *) { return true; }
    // Focus by Tab selects the whole text.
    static void GainFocus(void *widget)
    {
        VLEditBox &b = Of(widget);
        LifeGuard alive(&b);
        EditBoxAccess::SetFocusState(b, 1);
        if (alive.Ended())
            return;
        b.caretPhase = 1;
        b.selectionStart = b.selectionEnd = -1;
        b.anchor = -1;
        b.CursorSelectAll();
        b.Repaint();
    }
    static void LoseFocus(void *widget)
    {
        VLEditBox &b = Of(widget);
        if (!b.focused)
            return;
        EditBoxAccess::SetFocusState(b, 0);
        b.Repaint();
    }
    static VLEditBox *TextTaker(void *widget)
    {
        VLEditBox &b = Of(widget);
        return b.focused ? &b : nullptr;
    }
};

extern const WidgetKind EditBoxKind = [] {
    WidgetKind kind = SkeletonKind<VLEditBox>();
    kind.mouse = WindowMouseOf<VLEditBox, EditBoxRows>;
    kind.mouseInGroup = GroupMouseOf<VLEditBox, EditBoxRows>;
    kind.pressHits = EditBoxRows::PressHits;
    kind.hasFocus = EditBoxRows::HasFocus;
    kind.eligible = EditBoxRows::Eligible;
    kind.gainFocus = EditBoxRows::GainFocus;
    kind.loseFocus = EditBoxRows::LoseFocus;
    kind.focusedEditBox = EditBoxRows::TextTaker;
    return kind;
}();
