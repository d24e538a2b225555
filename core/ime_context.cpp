// VLImeContext: composition font, composition window and result string of a window.
#include "ime_context.h"

#include <cstring>

VLImeContext::VLImeContext(HWND windowHandle) : window(windowHandle), context(nullptr), previous(nullptr)
{
    if (!window)
        return;
    context = ImmCreateContext();
    if (context)
        previous = ImmAssociateContext(window, context);
}

VLImeContext::~VLImeContext()
{
    if (!context)
        return;
    if (window && IsWindow(window))
        ImmAssociateContext(window, previous);
    ImmDestroyContext(context);
}

int VLImeContext::SetCompositionFont(const char *face, int size)
{
    if (!window || !context || !face)
        return 0;
    HIMC active = ImmGetContext(window);
    if (!active)
        return 0;
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = -size;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    const BOOL done = ImmSetCompositionFontA(active, &description);
    ImmReleaseContext(window, active);
    return done ? 1 : 0;
}

int VLImeContext::PlaceCompositionWindow(int x, int y)
{
    if (!window || !context)
        return 0;
    HIMC active = ImmGetContext(window);
    if (!active)
        return 0;
    COMPOSITIONFORM form;
    std::memset(&form, 0, sizeof form);
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos.x = x;
    form.ptCurrentPos.y = y;
    const BOOL done = ImmSetCompositionWindow(active, &form);
    ImmReleaseContext(window, active);
    return done ? 1 : 0;
}

int VLImeContext::IsOpen()
{
    if (!window || !context)
        return 0;
    HIMC active = ImmGetContext(window);
    if (!active)
        return 0;
    const BOOL open = ImmGetOpenStatus(active);
    ImmReleaseContext(window, active);
    return open ? 1 : 0;
}

int VLImeContext::TakeResultString(char *buffer, int size)
{
    if (!window || !context || !buffer || size < 0)
        return 0;
    HIMC active = ImmGetContext(window);
    if (!active)
        return 0;
    const LONG length = ImmGetCompositionStringA(active, GCS_RESULTSTR, buffer, static_cast<DWORD>(size));
    ImmReleaseContext(window, active);
    // The result's length is in bytes; a negative value is an error and gives an empty text.
    const int written = length < 0 ? 0 : (length > size ? size : static_cast<int>(length));
    buffer[written] = '\0';
    return 1;
}
