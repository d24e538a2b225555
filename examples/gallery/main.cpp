// The gallery: one window showing every widget of the toolkit in its looks. Click and type: a
// status line tells what happened.
#include <vorla/VorlaLib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

VLWindow window;
VLIcon icon;
VLLabel title, statusLine;
VLLabel labels[5];
VLLabel labelCaption, pushCaption, toggleCaption;
VLPushButton pushButtons[5];
VLButton toggleButtons[5];
VLGroup options, sizes, outer, inner;
VLCheckBox checks[3];
VLRadioButton radios[3];
VLLabel innerLabel;
VLLabel imageCaption;
VLImage picture, canvas;
VLPushButton innerButton;
VLLabel editCaption;
VLEditBox edits[4];
VLSlider slider(1, 0);
VLProgressBar progress(1);
VLLabel spinCaption, spinCount;
VLSpin spin;
VLSpinEditBox whole, fraction;
int spinValue = 3;
VLLabel pagesCaption;
VLTab pages;
VLGroup buttonPage, valuePage, textPage;
VLPushButton pageButtons[2];
VLCheckBox pageChecks[2];
VLSlider pageSlider(1, 1);
VLProgressBar pageBar(0);
VLSpinEditBox pageNumber;
VLLabel pageLabel;
VLEditBox pageEdit;
VLScrollArea scroller;
VLLabel scrollLabels[8];
VLCheckBox scrollChecks[8];
VLLabel listCaption;
VLComboBox colours;
VLListBox fruits;
VLLabel swatchCaption;
VLColor swatches[4];

#ifndef _WIN32
// A 16 x 16 picture: a blue disc with a white highlight on magenta, which the icon keys out (on
// Windows the same picture, disc.bmp, is the program's resource: gallery.rc).
std::vector<unsigned char> DiscBitmap()
{
    const int size = 16, row = size * 3;
    std::vector<unsigned char> file(54 + row * size, 0);
    auto put16 = [&](int at, int value) {
        file[at] = static_cast<unsigned char>(value);
        file[at + 1] = static_cast<unsigned char>(value >> 8);
    };
    auto put32 = [&](int at, int value) {
        put16(at, value & 0xFFFF);
        put16(at + 2, (value >> 16) & 0xFFFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<int>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, size);
    put32(22, size);
    put16(26, 1);
    put16(28, 24);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            unsigned char *pixel = &file[54 + (size - 1 - y) * row + x * 3]; // bottom-up, B G R
            const int dx = 2 * x - 15, dy = 2 * y - 15;
            const bool inside = dx * dx + dy * dy <= 15 * 15;
            const bool shine = (2 * x - 10) * (2 * x - 10) + (2 * y - 10) * (2 * y - 10) <= 16;
            pixel[0] = inside ? (shine ? 255 : 200) : 255;
            pixel[1] = inside ? (shine ? 255 : 90) : 0;
            pixel[2] = inside ? (shine ? 255 : 30) : 255;
        }
    }
    return file;
}
#endif

void Status(const char *what)
{
    statusLine.SetText(what);
    statusLine.Repaint();
}

// A status line made as printf makes one.
template <typename... Values> void Status(const char *format, Values... values)
{
    char line[340];
    std::snprintf(line, sizeof line, format, values...);
    Status(line);
}

// The text a widget shows (its texts hold at most 255 bytes).
template <typename Widget> std::string TextOf(Widget *widget)
{
    char text[300] = "";
    widget->GetText(text, 255);
    return text;
}

void PushSelected(VLPushButton *button) { Status("Pushed \"%s\"", TextOf(button).c_str()); }

void ToggleSelected(VLButton *button)
{
    Status("\"%s\" is now %s", TextOf(button).c_str(), button->IsSelected() ? "on" : "off");
}

void CheckSelected(VLCheckBox *box)
{
    Status("\"%s\" is %s", TextOf(box).c_str(), box->IsSelected() ? "checked" : "not checked");
}

void SizeSelected(VLGroup *group)
{
    static const char *names[3] = {"Small", "Medium", "Large"};
    const int chosen = group->GetRadioButton();
    Status("Size: %s", chosen >= 0 ? names[chosen] : "none");
}

void EditChanged(VLEditBox *box) { Status("Text: \"%s\"", TextOf(box).c_str()); }

void WindowEvent(VLWindow *, VLSTWindowEvent event)
{
    if (event.event == 101)
        PostQuitMessage(0);
}

void Caption(VLLabel &label, const char *text, int x, int y)
{
    label.SetBounds(x, y, 580, 18);
    label.SetText(text);
    label.SetBackMode(0);
    label.SetFontSize(12);
    window.Add(&label);
}

} // namespace

// The folder the program was started from, where its picture lies.
std::string ProgramFolder(const char *program)
{
    std::string path = program ? program : "";
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void Images(const char *program)
{
    Caption(imageCaption, "Images: a picture drawn over, a drawing; a slider driving a bar", 10, 346);
    picture.SetBounds(10, 366, 120, 72);
    const std::string file = ProgramFolder(program) + "/picture.png";
    if (!picture.LoadImageA(file.c_str(), 0, 0, 120, 72, 0, 0))
        picture.ClearImage(0xFF808080);
    picture.SetForegroundColor(0xFFFFFFFF);
    picture.DrawRect(4, 4, 115, 67);
    picture.SetForegroundColor(0xFFC00000);
    picture.DrawFillCircle(24, 50, 8);
    window.Add(&picture);

    canvas.SetBounds(140, 366, 250, 72);
    canvas.ClearImage(0xFFFFFFFF);
    for (int i = 0; i < 12; ++i) {
        canvas.SetForegroundColor(0xFF000000 | static_cast<unsigned long>((i * 20) << 16) | static_cast<unsigned long>(255 - i * 20));
        canvas.DrawLine(6 + i * 8, 66, 90, 6);
    }
    canvas.SetForegroundColor(0xFF2E8B57);
    VLSTPosition star[5] = {{150, 6}, {170, 66}, {120, 28}, {180, 28}, {130, 66}};
    canvas.DrawFillPolygon(star, 5);
    canvas.SetForegroundColor(0xFFE08000);
    VLSTPosition curve[4] = {{190, 66}, {200, 0}, {240, 0}, {246, 60}};
    canvas.DrawBezier(curve, 4);
    canvas.SetForegroundColor(0xFF3060C0);
    canvas.DrawCircle(215, 40, 14);
    window.Add(&canvas);
}

// The slider drives the progress bar beside it.
void SliderMoved(VLSlider *moved)
{
    progress.SetPosition(moved->GetPosition());
    progress.Repaint();
}

void Ranges()
{
    slider.SetBounds(404, 362, 186, 50); // tall enough for the whole ruler
    slider.SetPosition(60);
    slider.SetHintText("Drag the thumb or click the track");
    slider.AttachChangeEvent(SliderMoved);
    window.Add(&slider);
    progress.SetBounds(410, 418, 174, 16);
    progress.SetPosition(60);
    window.Add(&progress);
}

// The right-hand column: a bare spin counting, and spin edit boxes for whole and fractional
// numbers.
void SpinMoved(VLSpin *)
{
    spinCount.SetText(("Count: " + std::to_string(spinValue)).c_str());
    spinCount.Repaint();
}
void SpinUp(VLSpin *moved)
{
    ++spinValue;
    SpinMoved(moved);
}
void SpinDown(VLSpin *moved)
{
    --spinValue;
    SpinMoved(moved);
}
void NumberStepped(VLSpinEditBox *box) { Status("Number: %g", box->GetValueF()); }

void Spins()
{
    Caption(spinCaption, "Spins and spin edit boxes", 606, 100);
    spin.SetBounds(606, 120, 18, 24);
    spin.AttachUpSelectEvent(SpinUp);
    spin.AttachDownSelectEvent(SpinDown);
    spin.SetHintText("Press the upper or the lower half");
    window.Add(&spin);
    spinCount.SetBounds(630, 122, 150, 20);
    spinCount.SetBackgroundColor(0xFFFFFFFF);
    window.Add(&spinCount);
    SpinMoved(&spin);
    whole.SetBounds(606, 152, 176, 22);
    whole.SetRange(0, 100);
    whole.SetDiffValue(5);
    whole.SetValue(35);
    whole.SetHintText("0 to 100 in steps of 5: buttons, Up and Down, or type");
    fraction.SetBounds(606, 182, 176, 22);
    fraction.SetRangeF(-1.0, 1.0);
    fraction.SetDiffValueF(0.25);
    fraction.SetFormat("%.2f");
    fraction.SetValueF(0.5);
    fraction.SetSpinBackgroundColor(0xFFB0D0F0);
    for (VLSpinEditBox *box : {&whole, &fraction}) {
        box->AttachUpSelectEvent(NumberStepped);
        box->AttachDownSelectEvent(NumberStepped);
        box->AttachChangeEvent(NumberStepped);
    }
}

// Under the spins: a combo box choosing a colour, and a list box of many rows with icons and
// multiple selection.
void ColourChosen(VLComboBox *box) { Status("Colour: %s", TextOf(box).c_str()); }
void FruitsSelected(VLListBox *list)
{
    char text[300];
    const int first = list->GetListIndex();
    if (first < 0 || !list->GetListText(first, text, 255))
        text[0] = '\0';
    Status("%d selected, the first \"%s\"", list->GetListSelectCount(), text);
}

void Lists()
{
    Caption(listCaption, "Combo box and list box", 606, 216);
    colours.SetBounds(606, 236, 176, 22);
    for (const char *name : {"Red", "Green", "Blue"})
        colours.AddText(name);
    colours.AddSeparator();
    colours.AddText("Custom...");
    colours.SelectListIndex(1);
    colours.SetHintText("Click, or Up and Down");
    colours.AttachChangeEvent(ColourChosen);
    window.Add(&colours);
    fruits.SetBounds(606, 268, 176, 222);
    fruits.SetMode(0x22); // a scroll bar, several at once
    fruits.SetFontSize(16); // rows tall enough for the icon
    const char *names[8] = {"Apple", "Banana", "Cherry", "Date", "Elderberry", "Fig", "Grape", "Lemon"};
    for (int i = 0; i < 40; ++i) {
        const std::string name = std::string(names[i % 8]) + " " + std::to_string(i / 8 + 1);
        fruits.AddText(name.c_str(), i % 4 == 0 ? &icon : nullptr);
    }
    fruits.SelectListIndex(1, 1);
    fruits.SelectListIndex(3, 1);
    fruits.AttachSelectEvent(FruitsSelected);
    window.Add(&fruits);
}

// Top right: colour swatches; a click opens the colour dialog.
void SwatchChanged(VLColor *swatch)
{
    Status("Colour: red %d, green %d, blue %d", swatch->GetRedValue(), swatch->GetGreenValue(),
           swatch->GetBlueValue());
}

void Swatches()
{
    swatchCaption.SetBounds(606, 40, 176, 18);
    swatchCaption.SetText("Colour swatches: click one");
    swatchCaption.SetBackMode(0);
    window.Add(&swatchCaption);
    for (int i = 0; i < 4; ++i) {
        swatches[i].SetBounds(606 + i * 46, 62, 38, 28);
        swatches[i].SetColorHSV(i * 75 + 15, 190, 230);
        swatches[i].SetHintText("Opens the colour dialog");
        swatches[i].AttachChangeEvent(SwatchChanged);
        window.Add(&swatches[i]);
    }
}

// The bottom row: a tab set whose three pages hold widgets of the rows above, and a scroll
// area with more widgets than fit in it.
void PageSelected(VLTab *tab)
{
    char name[64] = {};
    tab->GetTabName(tab->GetSelectTab(), name, 63);
    Status((std::string("Page: ") + name).c_str());
}
void PageSliderMoved(VLSlider *moved)
{
    pageBar.SetPosition(moved->GetPosition());
    pageBar.Repaint();
}

void Pages()
{
    Caption(pagesCaption, "Tabs with three pages, and a scroll area", 10, 530);
    pages.SetBounds(10, 550, 470, 140);
    for (VLGroup *page : {&buttonPage, &valuePage, &textPage})
        page->SetBounds(0, 0, 462, 112);
    pages.Add("Buttons", &buttonPage);
    pages.Add("Values", &valuePage);
    pages.Add("Text", &textPage);
    pages.AttachSelectEvent(PageSelected);
    const char *buttonNames[2] = {"First", "Second"};
    for (int i = 0; i < 2; ++i) {
        pageButtons[i].SetBounds(10 + i * 120, 10, 110, 28);
        pageButtons[i].SetText(buttonNames[i]);
        pageButtons[i].AttachSelectEvent(PushSelected);
        buttonPage.Add(&pageButtons[i]);
        pageChecks[i].SetBounds(10 + i * 120, 50, 110, 20);
        pageChecks[i].SetText(i == 0 ? "On a page" : "Another");
        buttonPage.Add(&pageChecks[i]);
    }
    pageSlider.SetBounds(10, 4, 220, 40);
    pageSlider.SetPosition(30);
    pageSlider.AttachChangeEvent(PageSliderMoved);
    valuePage.Add(&pageSlider);
    pageBar.SetBounds(10, 52, 220, 14);
    pageBar.SetPosition(30);
    valuePage.Add(&pageBar);
    pageNumber.SetBounds(250, 10, 100, 22);
    pageNumber.SetValue(7);
    valuePage.Add(&pageNumber);
    pageLabel.SetBounds(10, 10, 300, 20);
    pageLabel.SetText("Widgets on a page stand on the tab's colour");
    textPage.Add(&pageLabel);
    pageEdit.SetBounds(10, 40, 200, 22);
    pageEdit.SetText("Typed on the third page");
    textPage.Add(&pageEdit);
    window.Add(&pages);

    scroller.SetBounds(492, 550, 290, 140);
    scroller.SetScrollSize(340, 8 * 30 + 8);
    scroller.SetScrolling(1);
    for (int i = 0; i < 8; ++i) {
        scrollLabels[i].SetBounds(6, 6 + i * 30, 150, 22);
        scrollLabels[i].SetText(("Row " + std::to_string(i + 1) + " of 8").c_str());
        scroller.Add(&scrollLabels[i]);
        scrollChecks[i].SetBounds(170, 6 + i * 30, 160, 22);
        scrollChecks[i].SetText(i % 2 ? "Scrolled into view" : "Tab reaches me");
        scroller.Add(&scrollChecks[i]);
    }
    window.Add(&scroller);
}

int main(int argc, char **argv)
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
#ifndef _WIN32
    // Off Windows the program's bitmap resources can be compiled in like this.
    const std::vector<unsigned char> disc = DiscBitmap();
    VorlaRegisterBitmapResource(GetModuleHandleA(nullptr), 101, disc.data(), disc.size());
#endif
    icon.LoadImageA(nullptr, 101, 0xFFFF00FF);

    if (window.CreateNewWindow("VorlaLib gallery", 30, 30, 796, 732, 0) < 0)
        return 1;
    window.SetBackgroundColor(0xFFD4D0C8);
    window.AttachWindowEvent(WindowEvent);

    title.SetBounds(10, 8, 772, 24);
    title.SetText("VorlaLib widgets");
    title.SetBackgroundColor(0xFF3A5A8C);
    title.SetForegroundColor(0xFFFFFFFF);
    title.SetAlign(2);
    window.Add(&title);

    // Labels: the three alignments, the container's colour, an icon.
    Caption(labelCaption, "Labels: left, centre, right, window colour, icon", 10, 40);
    const char *labelTexts[5] = {"Left", "Centre", "Right", "Back mode 0", "With an icon"};
    for (int i = 0; i < 5; ++i) {
        labels[i].SetBounds(10 + i * 116, 60, 108, 24);
        labels[i].SetText(labelTexts[i]);
        labels[i].SetAlign(i < 3 ? i + 1 : 1);
        if (i == 3)
            labels[i].SetBackMode(0);
        if (i == 4)
            labels[i].SetIcon(&icon);
        window.Add(&labels[i]);
    }

    // Push buttons: normal, focused, disabled, with an icon, right-aligned in its own colour.
    Caption(pushCaption, "Push buttons: normal, focused, disabled, icon, coloured", 10, 100);
    const char *pushTexts[5] = {"OK", "Focused", "Disabled", "Icon", "Colour"};
    for (int i = 0; i < 5; ++i) {
        VLPushButton &b = pushButtons[i];
        b.SetBounds(10 + i * 116, 120, 108, 30);
        b.SetText(pushTexts[i]);
        b.AttachSelectEvent(PushSelected);
        b.SetHintText(pushTexts[i]);
        window.Add(&b);
    }
    pushButtons[2].SetEnable(0);
    pushButtons[3].SetIcon(&icon);
    pushButtons[4].SetBackgroundColor(0xFFB8D8F0);
    pushButtons[4].SetAlign(3);

    // Image buttons: off, on, disabled, disabled while on, with an icon.
    Caption(toggleCaption, "Image buttons: off, on, disabled, disabled on, icon", 10, 166);
    const char *toggleTexts[5] = {"Off", "On", "Disabled", "Disabled on", "Icon"};
    for (int i = 0; i < 5; ++i) {
        VLButton &b = toggleButtons[i];
        b.SetBounds(10 + i * 116, 186, 108, 30);
        b.SetText(toggleTexts[i]);
        b.AttachSelectEvent(ToggleSelected);
        window.Add(&b);
    }
    toggleButtons[1].SetSelected(1);
    toggleButtons[2].SetEnable(0);
    toggleButtons[3].SetEnable(0);
    toggleButtons[3].SetSelected(1);
    toggleButtons[4].SetIcon(&icon);
    toggleButtons[4].SetAlign(1);

    // Groups: check boxes in a titled frame, radio buttons that keep one selected, and a plain
    // frame inside a coloured group.
    options.SetBounds(10, 228, 180, 110);
    options.SetText("Options");
    const char *checkTexts[3] = {"Bold", "Italic", "Disabled"};
    for (int i = 0; i < 3; ++i) {
        checks[i].SetBounds(12, 26 + i * 24, 150, 20);
        checks[i].SetText(checkTexts[i]);
        checks[i].AttachSelectEvent(CheckSelected);
        options.Add(&checks[i]);
    }
    checks[0].SetSelected(1);
    checks[2].SetEnable(0);
    checks[2].SetSelected(1);
    window.Add(&options);

    sizes.SetBounds(206, 228, 180, 110);
    sizes.SetText("Size");
    const char *radioTexts[3] = {"Small", "Medium", "Large"};
    for (int i = 0; i < 3; ++i) {
        radios[i].SetBounds(12, 26 + i * 24, 150, 20);
        radios[i].SetText(radioTexts[i]);
        sizes.Add(&radios[i]);
    }
    window.Add(&sizes);
    sizes.SelectRadioButton(1);
    sizes.AttachRadioButtonSelectEvent(SizeSelected);

    outer.SetBounds(402, 228, 188, 110);
    outer.SetText("Nested groups");
    outer.SetBackMode(1);
    outer.SetBackgroundColor(0xFFE8E0C8);
    inner.SetBounds(10, 26, 168, 74);
    inner.SetMode(1);
    innerLabel.SetBounds(8, 8, 150, 20);
    innerLabel.SetText("Inherits the colour");
    innerLabel.SetBackMode(0);
    innerButton.SetBounds(8, 36, 100, 28);
    innerButton.SetText("Inside");
    innerButton.AttachSelectEvent(PushSelected);
    inner.Add(&innerLabel);
    inner.Add(&innerButton);
    outer.Add(&inner);
    window.Add(&outer);

    Images(argc > 0 ? argv[0] : nullptr);
    Ranges();
    Spins();
    Lists();
    Swatches();

    // Edit boxes: plain, numbers only, disabled (still selectable and copyable), Japanese text.
    Caption(editCaption, "Edit boxes: plain, numbers only, disabled, Japanese", 10, 446);
    const char *editTexts[4] = {"Type here", "12.5", "Read only",
                                "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67"};
    for (int i = 0; i < 4; ++i) {
        VLEditBox &e = edits[i];
        e.SetBounds(10 + i * 146, 466, 138, 22);
        e.SetText(editTexts[i]);
        e.AttachChangeEvent(EditChanged);
        e.SetHintText(i == 1 ? "Digits, '.', '-' and '+'" : i == 3 ? "Input-method results go in at the caret" : "");
    }
    edits[1].SetEditMode(1);
    edits[1].SetMaxLength(12);
    edits[2].SetEnable(0);

    Pages();
    statusLine.SetBounds(10, 700, 772, 22);
    statusLine.SetText("Click a button, or press Tab and space.");
    statusLine.SetBackgroundColor(0xFFFFFFE0);
    window.Add(&statusLine);
    // Last in the list, so that the focus set up below still starts on the push buttons.
    for (VLEditBox &e : edits)
        window.Add(&e);
    window.Add(&whole);
    window.Add(&fraction);

    window.ShowWindow(1);
    // The second push button starts with the keyboard focus: Tab twice from nothing.
    window.NextFocus();
    window.NextFocus();
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
