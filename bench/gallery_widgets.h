// The rows of widgets the benchmarks lay out as the gallery does, so that each benchmark's window
// draws the same kinds of widgets in the same places.
#pragma once

#include <vorla/VorlaLib.h>

#include <vector>

// Labels five to a row from (10, top), rows `rowStep` apart, aligned left, centre and right in turn.
inline void AddGalleryLabels(VLWindow &window, std::vector<VLLabel> &labels, int top, int rowStep)
{
    for (size_t i = 0; i < labels.size(); ++i) {
        labels[i].SetBounds(10 + static_cast<int>(i % 5) * 116, top + static_cast<int>(i / 5) * rowStep, 108, 24);
        labels[i].SetText("A label of text");
        labels[i].SetAlign(static_cast<int>(i % 3) + 1);
        window.Add(&labels[i]);
    }
}

// A row of five push buttons and below it a row of five toggles, every other toggle on.
inline void AddGalleryButtons(VLWindow &window, std::vector<VLPushButton> &pushes, std::vector<VLButton> &toggles)
{
    for (int i = 0; i < 5; ++i) {
        pushes[i].SetBounds(10 + i * 116, 120, 108, 30);
        pushes[i].SetText("Push");
        window.Add(&pushes[i]);
        toggles[i].SetBounds(10 + i * 116, 186, 108, 30);
        toggles[i].SetText("Toggle");
        toggles[i].SetSelected(i % 2);
        window.Add(&toggles[i]);
    }
}

// Two groups side by side: three check boxes in one, three radio buttons in the other.
inline void AddGalleryGroups(VLWindow &window, VLGroup &options, std::vector<VLCheckBox> &checks, VLGroup &sizes,
                             std::vector<VLRadioButton> &radios)
{
    options.SetBounds(10, 228, 180, 110);
    options.SetText("Options");
    sizes.SetBounds(206, 228, 180, 110);
    sizes.SetText("Size");
    for (int i = 0; i < 3; ++i) {
        checks[i].SetBounds(12, 26 + i * 24, 150, 20);
        checks[i].SetText("Check");
        options.Add(&checks[i]);
        radios[i].SetBounds(12, 26 + i * 24, 150, 20);
        radios[i].SetText("Radio");
        sizes.Add(&radios[i]);
    }
    window.Add(&options);
    window.Add(&sizes);
}
