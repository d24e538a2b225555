// The table of widget kinds by type code: each class supplies its row in its own source.
#include "widget_kinds.h"

#include "../draw/image_kind.h"

extern const WidgetKind LabelKind;
extern const WidgetKind PushButtonKind;
extern const WidgetKind ButtonKind;
extern const WidgetKind CheckBoxKind;
extern const WidgetKind RadioButtonKind;
extern const WidgetKind GroupKind;
extern const WidgetKind EditBoxKind;
extern const WidgetKind ProgressBarKind;
extern const WidgetKind SliderKind;
extern const WidgetKind TabKind;
extern const WidgetKind ScrollAreaKind;
extern const WidgetKind ColorKind;
extern const WidgetKind ListBoxKind;
extern const WidgetKind ComboBoxKind;
extern const WidgetKind SpinKind;
extern const WidgetKind SpinEditBoxKind;

const WidgetKind *KindOf(int typeCode)
{
    switch (typeCode) {
    case TypeLabel:
        return &LabelKind;
    case TypePushButton:
        return &PushButtonKind;
    case TypeButton:
        return &ButtonKind;
    case TypeCheckBox:
        return &CheckBoxKind;
    case TypeRadioButton:
        return &RadioButtonKind;
    case TypeGroup:
        return &GroupKind;
    case TypeEditBox:
        return &EditBoxKind;
    case TypeProgressBar:
        return &ProgressBarKind;
    case TypeSlider:
        return &SliderKind;
    case TypeTab:
        return &TabKind;
    case TypeScrollArea:
        return &ScrollAreaKind;
    case TypeListBox:
        return &ListBoxKind;
    case TypeComboBox:
        return &ComboBoxKind;
    case TypeSpin:
        return &SpinKind;
    case TypeSpinEditBox:
        return &SpinEditBoxKind;
    case TypeImage:
        return &ImageKind;
    case TypeColor:
        return &ColorKind;
    default:
        return nullptr;
    }
}
